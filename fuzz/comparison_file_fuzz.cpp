// Feeds arbitrary bytes, as a file on disk, to the reading of a comparison-set file (header
// search and the shared spectrum-row reader): it must end, and every point it takes must be
// finite, so that nothing that is not a number reaches the plot.
#include "records/ComparisonSet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

QString scratchTemplate() {
    const QString shm = QStringLiteral("/dev/shm");
    return QDir(shm).exists() ? shm + QStringLiteral("/comparison_file_fuzz-XXXXXX") : QString();
}

const QString& scratchFile() {
    static const QTemporaryDir dir(scratchTemplate());
    static const QString path = dir.filePath(QStringLiteral("spectrum.txt"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QFile file(scratchFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    const ymt::ComparisonFile read = ymt::ReadComparisonFile(scratchFile());
    if (read.status != ymt::ComparisonFile::Status::Read)
        check(read.points.empty());
    for (const ymt::SpectrumPoint& point : read.points)
        check(std::isfinite(point.frequency) && std::isfinite(point.magnitude) &&
              std::isfinite(point.phase));
    return 0;
}
