// Feeds arbitrary bytes to the start-up of the quality-control file: the first part is
// "QC.txt" (either layout), the part after a NUL byte, when there is one, a left-behind
// "QC_backup.txt". Whatever they hold, the start-up ends with a "QC.txt" whose types are the
// names it reports, in the current layout unless a "QC_backup.txt" was taken over, with no
// "QC_backup.txt" left and the replaced file kept in the backup folder.
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"
#include "records/QcFile.h"
#include "records/QcTypeFile.h"

#include <QDir>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>

namespace {

using ymt::fuzz::check;

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(bytes) == bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString folder = QFileInfo(ymt::fuzz::ScratchFile("x")).absolutePath();
    const QString programDir = folder + QStringLiteral("/program/");
    const QString backupDir = programDir + QStringLiteral("backup/");
    QDir(programDir).removeRecursively();
    check(QDir().mkpath(backupDir));

    const qsizetype split = bytes.indexOf('\0');
    writeBytes(programDir + QStringLiteral("QC.txt"), split < 0 ? bytes : bytes.left(split));
    if (split >= 0)
        writeBytes(programDir + QStringLiteral("QC_backup.txt"), bytes.mid(split + 1));

    const ymt::QcStartupResult result = ymt::PrepareQcFile(
        programDir, backupDir, QStringLiteral("2.4.5 "), QStringLiteral("20261209-120000"));
    check(result.ok);
    check(!QFileInfo::exists(programDir + QStringLiteral("QC_backup.txt")));
    QStringList lines;
    check(ymt::ReadTextFile(programDir + QStringLiteral("QC.txt"), lines));
    // A left-behind "QC_backup.txt" is the program's own and is taken over as it stands.
    if (split < 0)
        check(!lines.isEmpty() && lines.first().contains(QStringLiteral("Zelvanor")));
    else
        check(!QDir(backupDir).entryList({QStringLiteral("QC_*.txt")}, QDir::Files).isEmpty());
    QStringList names;
    for (const ymt::QcTypeRecord& record : ymt::ParseQcLines(lines).Records)
        names << record.Name;
    check(names == result.typeNames);
    return 0;
}
