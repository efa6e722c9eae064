// Feeds arbitrary bytes, read as the lines of "QC.txt", to the type-file reader: every record
// it finds must be found again by name, and the file written from the records must read back
// as the same records. Adding and deleting a type must keep the others.
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"
#include "records/QcTypeFile.h"

#include <cstddef>
#include <cstdint>

namespace {

using ymt::fuzz::check;

bool sameRecords(const ymt::QcFileContent& a, const ymt::QcFileContent& b) {
    if (a.Records.size() != b.Records.size())
        return false;
    for (qsizetype i = 0; i < a.Records.size(); ++i) {
        if (a.Records[i].Name != b.Records[i].Name)
            return false;
        // Written records are complete: missing value lines come back empty.
        for (int k = 0; k < ymt::kQcValueLines; ++k)
            if (a.Records[i].Values.value(k) != b.Records[i].Values.value(k))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = ymt::SplitLines(ymt::DecodeCp1252(bytes));
    ymt::QcFileContent content = ymt::ParseQcLines(lines);
    for (const ymt::QcTypeRecord& record : content.Records) {
        check(record.Values.size() <= ymt::kQcValueLines);
        check(ymt::FindQcType(content, record.Name).has_value());
    }

    const QString header = QStringLiteral("Zelvanor Ymt 2.4.5 Quality Control File");
    const QStringList written = ymt::QcFileLines(content, header);
    // A name line "****" reads as an empty record end; such a file does not come back the same.
    bool plainNames = true;
    for (const ymt::QcTypeRecord& record : content.Records)
        plainNames = plainNames && ymt::IsValidQcTypeName(record.Name);
    if (plainNames)
        check(sameRecords(ymt::ParseQcLines(written), content));

    const qsizetype before = content.Records.size();
    const QString name = QStringLiteral("fuzz type");
    const bool replaced = ymt::AddOrReplaceQcType(content, {name, {}});
    check(ymt::FindQcType(content, name).has_value());
    check(ymt::DeleteQcType(content, name));
    check(!ymt::FindQcType(content, name).has_value());
    if (!replaced)
        check(content.Records.size() == before);
    return 0;
}
