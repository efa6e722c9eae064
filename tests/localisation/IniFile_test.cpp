// The INI reader and writer of the language files: the reading rules, the code page, the
// blanks that belong to a text, and hostile files that must neither crash nor hang.
#include "localisation/IniFile.h"

#include "core/TextFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>

namespace ymt {
namespace {

IniFile parse(const char* text) {
    return IniFile::FromBytes(QByteArray(text));
}

TEST(IniReader, SectionsAndKeysIgnoreCaseAndTheFirstEntryWins) {
    const IniFile file = parse("[Form1]\r\nButton6=Read New Spectrum\r\nBUTTON6=second\r\n"
                               "[OTHERSTRINGS]\n6004=Loading range\n[form1]\nbutton6=third\n"
                               "Button7=More\n");
    EXPECT_EQ(file.value(QStringLiteral("FORM1"), QStringLiteral("button6")),
              QStringLiteral("Read New Spectrum"));
    EXPECT_EQ(file.value(QStringLiteral("OtherStrings"), QStringLiteral("6004")),
              QStringLiteral("Loading range"));
    // A section opened a second time adds its new keys.
    EXPECT_EQ(file.value(QStringLiteral("Form1"), QStringLiteral("Button7")),
              QStringLiteral("More"));
    EXPECT_FALSE(file.value(QStringLiteral("Form1"), QStringLiteral("Button8")).has_value());
    EXPECT_FALSE(file.value(QStringLiteral("AboutBox"), QStringLiteral("Button6")).has_value());
}

TEST(IniReader, ValuesAreTrimmedUnquotedAndLimited) {
    const QByteArray longValue(5000, 'x');
    const IniFile file = IniFile::FromBytes(
        "[s]\r\nplain=  a word  \r\nquoted=\"Loading range \"\r\ninner=\"a\" and \"b\"\r\n"
        "empty=\r\nlong=" +
        longValue + "\r\nequals=a=b\r\n  spaced key  = v\r\n");
    const QString s = QStringLiteral("s");
    EXPECT_EQ(file.value(s, QStringLiteral("plain")), QStringLiteral("a word"));
    EXPECT_EQ(file.value(s, QStringLiteral("quoted")), QStringLiteral("Loading range "));
    EXPECT_EQ(file.value(s, QStringLiteral("inner")), QStringLiteral("a\" and \"b"));
    EXPECT_EQ(file.value(s, QStringLiteral("empty")), QString());
    EXPECT_EQ(file.value(s, QStringLiteral("long"))->size(), kIniMaxValueLength);
    EXPECT_EQ(file.value(s, QStringLiteral("equals")), QStringLiteral("a=b"));
    EXPECT_EQ(file.value(s, QStringLiteral("spaced key")), QStringLiteral("v"));
    // A missing key keeps the current text exactly, blanks included.
    EXPECT_EQ(file.read(s, QStringLiteral("missing"), QStringLiteral("Loading range ")),
              QStringLiteral("Loading range "));
}

TEST(IniReader, CodePage1252AndUtf8WithBom) {
    // 0x80 is the euro sign in code page 1252, not a C1 control as in Latin-1.
    const IniFile cp1252 = IniFile::FromBytes("[s]\r\nk=\x80 \xE4\x9F\r\n");
    EXPECT_EQ(cp1252.value(QStringLiteral("s"), QStringLiteral("k")), QString::fromUtf8("€ äŸ"));
    const IniFile utf8 = IniFile::FromBytes("\xEF\xBB\xBF[s]\nk=\xE2\x82\xAC \xC3\xA4\n");
    EXPECT_EQ(utf8.value(QStringLiteral("s"), QStringLiteral("k")), QString::fromUtf8("€ ä"));
}

TEST(IniWriter, ValuesReadBackExactly) {
    IniDocument document;
    const QStringList values = {QStringLiteral("Loading range "),
                                QStringLiteral(" already exists. Replace?"),
                                QStringLiteral("\"quoted\""),
                                QStringLiteral("plain"),
                                QString(),
                                QString::fromUtf8("Elektrodenfläche [mm²] 5 €")};
    for (qsizetype i = 0; i < values.size(); ++i)
        document.setValue(QStringLiteral("OtherStrings"), QString::number(6000 + i), values[i]);
    document.setValue(QStringLiteral("otherstrings"), QStringLiteral("6003"),
                      QStringLiteral("replaced"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.lng"));
    ASSERT_TRUE(document.save(path));

    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.startsWith("[OtherStrings]\r\n6000=\"Loading range \"\r\n"));
    EXPECT_TRUE(bytes.contains("6005=Elektrodenfl\xE4"
                               "che [mm\xB2] 5 \x80\r\n"));

    IniFile file;
    ASSERT_TRUE(IniFile::Load(path, file));
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString expected = i == 3 ? QStringLiteral("replaced") : values[i];
        EXPECT_EQ(file.value(QStringLiteral("OtherStrings"), QString::number(6000 + i)), expected);
    }
}

TEST(IniWriter, ErasedSectionIsWrittenAfresh) {
    IniDocument document;
    document.setValue(QStringLiteral("OtherStrings"), QStringLiteral("6000"), QStringLiteral("a"));
    document.setValue(QStringLiteral("Form1"), QStringLiteral("Form1"), QStringLiteral("b"));
    document.eraseSection(QStringLiteral("otherstrings"));
    document.setValue(QStringLiteral("OtherStrings"), QStringLiteral("6001"), QStringLiteral("c"));
    EXPECT_EQ(document.lines(),
              (QStringList{QStringLiteral("[Form1]"), QStringLiteral("Form1=b"),
                           QStringLiteral("[OtherStrings]"), QStringLiteral("6001=c")}));
}

TEST(IniReader, HostileFilesNeitherCrashNorHangAndTheRestStillApplies) {
    QByteArray bytes("[Form1]\r\n");
    for (int i = 0; i < 100000; ++i)
        bytes += "Key" + QByteArray::number(i) + "=value " + QByteArray::number(i) + "\r\n";
    bytes += "line without equals sign\r\n   =only blanks before the sign\r\n";
    bytes += QByteArray("garbage\0\x01\xFF\xFE[\x9D]=\0\0\r\n", 19);
    bytes += "big=" + QByteArray(10 * 1024 * 1024, 'v') + "\r\n";
    bytes += "[\r\n[]\r\n=\r\n";
    bytes += "[FORM1]\r\nButton6=still read\r\n";
    const auto start = std::chrono::steady_clock::now();
    const IniFile file = IniFile::FromBytes(bytes);
    const QString s = QStringLiteral("form1");
    EXPECT_EQ(file.value(s, QStringLiteral("Key99999")), QStringLiteral("value 99999"));
    ASSERT_TRUE(file.value(s, QStringLiteral("big")).has_value());
    EXPECT_EQ(file.value(s, QStringLiteral("big"))->size(), kIniMaxValueLength);
    EXPECT_EQ(file.value(s, QStringLiteral("Button6")), QStringLiteral("still read"));
    EXPECT_FALSE(file.value(s, QString()).has_value());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(IniReader, MissingFileIsReportedNotRead) {
    IniFile file;
    QString error;
    EXPECT_FALSE(IniFile::Load(QStringLiteral("/nonexistent/English.lng"), file, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace ymt
