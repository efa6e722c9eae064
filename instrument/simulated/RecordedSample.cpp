#include "instrument/simulated/RecordedSample.h"

#include "core/SpectrumPointFile.h"
#include "instrument/sicl/SiclConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ymt::sim {
namespace {

// A sweep's end frequency, computed from start and step, may miss the recorded end by rounding.
constexpr double kEndTolerance = 1e-9;

} // namespace

bool RecordedSample::covers(double frequencyKHz) const {
    if (points.empty())
        return false;
    return frequencyKHz >= lowestKHz() * (1 - kEndTolerance) &&
           frequencyKHz <= highestKHz() * (1 + kEndTolerance);
}

std::optional<QString> RecordedSamplePath(const QString& value) {
    static const QRegularExpression file(QStringLiteral("^\\s*file\\s+(.*\\S)\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = file.match(value);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

RecordedSample RecordedSampleOf(std::vector<SpectrumPoint> points) {
    RecordedSample sample;
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& a, const auto& b) { return a.frequency < b.frequency; });
    for (const SpectrumPoint& point : points) {
        if (!(point.frequency > 0))
            continue;
        if (!sample.points.empty() && sample.points.back().frequency == point.frequency)
            continue;
        sample.points.push_back(point);
    }
    return sample;
}

std::shared_ptr<const RecordedSample> LoadRecordedSample(const QString& path) {
    QString resolved = path;
    if (QFileInfo(path).isRelative()) {
        const QString config = sicl::configFilePath();
        if (!config.isEmpty())
            resolved = QFileInfo(config).absoluteDir().filePath(path);
    }
    SpectrumPointFile read = ReadSpectrumPointFile(resolved);
    auto sample = std::make_shared<RecordedSample>(RecordedSampleOf(std::move(read.points)));
    sample->path = resolved;
    if (!read.ok)
        sample->error = read.error;
    else if (sample->points.empty())
        sample->error = resolved + QStringLiteral(": the recording holds no points.");
    return sample;
}

std::optional<std::complex<double>> RecordedImpedance(const RecordedSample& sample,
                                                      double frequencyKHz) {
    if (!sample.covers(frequencyKHz))
        return std::nullopt;
    const std::vector<SpectrumPoint>& p = sample.points;
    const auto above =
        std::lower_bound(p.begin(), p.end(), frequencyKHz,
                         [](const SpectrumPoint& point, double f) { return point.frequency < f; });
    SpectrumPoint value;
    if (above == p.end()) {
        value = p.back(); // within the tolerance above the last point
    } else if (above->frequency == frequencyKHz || above == p.begin()) {
        value = *above;
    } else {
        const SpectrumPoint& a = *(above - 1);
        const SpectrumPoint& b = *above;
        const double t = std::log(frequencyKHz / a.frequency) / std::log(b.frequency / a.frequency);
        value.frequency = frequencyKHz;
        value.magnitude = a.magnitude > 0 && b.magnitude > 0
                              ? a.magnitude * std::pow(b.magnitude / a.magnitude, t)
                              : a.magnitude + (b.magnitude - a.magnitude) * t;
        value.phase = a.phase + (b.phase - a.phase) * t;
    }
    return std::polar(value.magnitude, value.phase * std::numbers::pi / 180);
}

} // namespace ymt::sim
