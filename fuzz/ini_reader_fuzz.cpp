// Language files come from translators and old installations: any bytes must parse without
// a crash or a hang, and every value read must respect the length limit.
#include "localisation/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ymt::IniFile file = ymt::IniFile::FromBytes(bytes);
    for (const char* section : {"Form1", "AboutBox", "OtherStrings", ""}) {
        for (const char* key : {"Form1", "Button6", "6004", "ComboBox1Items", ""}) {
            const auto value = file.value(QString::fromLatin1(section), QString::fromLatin1(key));
            if (value && value->size() > ymt::kIniMaxValueLength)
                std::abort();
        }
    }
    // What the writer makes of a one-line value must read back as the same value.
    QString text;
    for (const char c : bytes.left(ymt::kIniMaxValueLength)) {
        if (c == '\t' || (c >= 0x20 && c <= 0x7E))
            text += QLatin1Char(c);
    }
    ymt::IniDocument document;
    document.setValue(QStringLiteral("s"), QStringLiteral("k"), text);
    const ymt::IniFile back =
        ymt::IniFile::FromBytes(document.lines().join(QStringLiteral("\r\n")).toLatin1());
    if (back.value(QStringLiteral("s"), QStringLiteral("k")) != text)
        std::abort();
    return 0;
}
