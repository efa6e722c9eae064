// Feeds arbitrary bytes to the spectrum file reader: it must end, keep every taken point
// finite, and a file it accepts must read the same after being written back by the writer.
#include "fuzz/FuzzSupport.h"
#include "records/SpectrumFile.h"

#include <QBuffer>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using ymt::fuzz::check;

ymt::SpectrumFileRead readBytes(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ymt::ReadSpectrumFile(buffer, 100000);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ymt::SpectrumFileRead read = readBytes(bytes);
    if (read.status != ymt::SpectrumReadStatus::Ok)
        return 0;
    const auto& points = read.content.rows.points;
    for (const ymt::SpectrumPoint& point : points)
        check(std::isfinite(point.frequency) && std::isfinite(point.magnitude) &&
              std::isfinite(point.phase));

    // Written back, the points come back as the writer rounded them.
    ymt::CurveStore store;
    for (const ymt::SpectrumPoint& point : points) {
        store.AddPoint(3, point.frequency, point.magnitude);
        store.AddPoint(4, point.frequency, point.phase);
    }
    ymt::ResultsSnapshot snapshot;
    snapshot.SampleNameText = read.content.sampleName;
    const ymt::SpectrumFileRead again =
        readBytes(ymt::SpectrumFileBytes(snapshot, {}, store, std::nullopt));
    check(again.status == ymt::SpectrumReadStatus::Ok);
    check(again.content.rows.points.size() == points.size());
    check(again.content.rows.incompleteRows == 0);
    for (size_t i = 0; i < points.size(); ++i)
        check(again.content.rows.points[i].frequency ==
              ymt::SpectrumNumberText(points[i].frequency).trimmed().toDouble());
    return 0;
}
