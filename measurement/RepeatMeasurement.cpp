#include "measurement/RepeatMeasurement.h"

#include "core/Misc.h"
#include "evaluation/Capacitance.h"
#include "localisation/TextTables.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace ymt {
namespace {

constexpr char kNotObtained[] = "---";

QString field(const std::optional<double>& value, int decimals) {
    if (!value || !std::isfinite(*value))
        return QString::fromLatin1(kNotObtained);
    return FixedText(*value, 1, decimals);
}

// "0005_023.5°C", or "0005" for a cycle without a temperature.
QString cycleTag(int count, std::optional<double> temperature) {
    const QString number = ZeroPad(IntText(count), 4);
    if (!temperature || !std::isfinite(*temperature))
        return number;
    return number + QLatin1Char('_') + ZeroPad(FixedText(*temperature, 1, 1), 5) +
           QStringLiteral("°C");
}

} // namespace

double ClampIntervalMinutes(double minutes) {
    if (std::isnan(minutes) || minutes <= kMinIntervalMinutes)
        return kMinIntervalMinutes;
    return std::min(minutes, kMaxIntervalMinutes);
}

double ClampDurationMinutes(double minutes) {
    if (std::isnan(minutes) || minutes <= kMinDurationMinutes)
        return kMinDurationMinutes;
    return std::min(minutes, kMaxDurationMinutes);
}

int SeriesCycleCount(double durationMinutes, double intervalMinutes) {
    const double interval = ClampIntervalMinutes(intervalMinutes);
    const double duration = ClampDurationMinutes(durationMinutes);
    // A hair of tolerance so that 2 ÷ 0.5 is 4 cycles and not 5 after rounding errors.
    return std::max(1, int(std::ceil(duration / interval - 1e-9)));
}

int SeriesCapacitancePoints(const QString& text) {
    // A series cannot take more points than one trace holds.
    return std::min(CapacitancePointCount(text), 401);
}

QString SeriesBaseName(const QString& seriesFile) {
    const QString name =
        QFileInfo(QString(seriesFile).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    const qsizetype txt = name.indexOf(QLatin1String(".txt"));
    return txt < 0 ? QString() : name.left(txt);
}

QString SeriesFolder(const QString& workDir, const QString& baseName) {
    QString folder = workDir;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + baseName + QLatin1Char('/');
}

QString ResolveSeriesFile(const QString& workDir, const QString& fileName) {
    const QString path = QString(fileName).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir(workDir).filePath(path);
}

QString CycleSpectrumFileName(int count, std::optional<double> temperature) {
    return cycleTag(count, temperature) + QStringLiteral(".txt");
}

QString CycleDiagramFileName(const QString& seriesFile, int count,
                             std::optional<double> temperature) {
    const QString name =
        QFileInfo(QString(seriesFile).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return QLatin1Char('x') + (dot < 0 ? name : name.left(dot)) + QLatin1Char('_') +
           cycleTag(count, temperature) + QStringLiteral(".dia");
}

QStringList CycleFilePatterns() {
    return {QStringLiteral("????_*°C.txt"), QStringLiteral("????.txt"), QStringLiteral("x*°C.dia"),
            QStringLiteral("x*_????.dia")};
}

QString SeriesFileDefaultName(const QString& sampleName) {
    return sampleName + QStringLiteral("_series.txt");
}

bool IsSeriesFileLayout(const QStringList& lines) {
    // Every header block ends in the column line, nine lines below its title line.
    constexpr int kColumnLine = 9;
    const QString columns =
        QStringLiteral("Temp.[°C]\tt[min]\tdT/dt\tf(min)[kHz]\tf(max)[kHz]\tC(");
    if (lines.size() <= kColumnLine || !lines[kColumnLine].startsWith(columns))
        return false;
    for (qsizetype i = kColumnLine + 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.count(QLatin1Char('\t')) == 11 && !line.startsWith(columns))
            continue;
        // Anything else starts another header block.
        if (i + kColumnLine >= lines.size() || !lines[i + kColumnLine].startsWith(columns))
            return false;
        for (qsizetype k = i; k < i + kColumnLine; ++k)
            if (lines[k].contains(QLatin1Char('\t')))
                return false;
        i += kColumnLine;
    }
    return true;
}

QStringList SeriesHeaderLines(const SeriesHeaderInputs& in) {
    const auto labelled = [](const QString& label, const QString& value) {
        return PadToMultiple(label, 24) + QStringLiteral(": ") + value;
    };
    const QString tab = QStringLiteral("\t");
    return {
        in.title + QStringLiteral("  ") + in.dateText + QStringLiteral(" / ") + in.timeText +
            QStringLiteral(" / ") + in.measuredBy,
        QString(),
        labelled(QStringLiteral("Material"), in.material),
        labelled(in.notesLabel, in.notes),
        labelled(in.geometryLabel, in.geometryName),
        labelled(in.distanceLabel, in.distance),
        labelled(in.areaLabel, in.area),
        labelled(in.frequencyLabel, in.capFrequency),
        QString(),
        QStringLiteral("Temp.[°C]\tt[min]\tdT/dt\tf(min)[kHz]\tf(max)[kHz]\tC(") + in.capFrequency +
            QStringLiteral("kHz)[nF]") + tab + QStringLiteral("tand ") + in.tandUnit + tab +
            QStringLiteral("eps(rel)") + tab + QStringLiteral("k(eff)[%]") + tab +
            in.modeCaption.left(4) + QStringLiteral("[%]") + tab + QStringLiteral("Q(3dB)") + tab +
            QStringLiteral("B(3dB)"),
    };
}

QString SeriesRowLine(const SeriesRow& row) {
    const QStringList fields = {
        field(row.temperature, 1), FixedText(row.minutes, 1, 2), field(row.rate, 3),
        field(row.fMin, 3),        field(row.fMax, 3),           field(row.capNF, 3),
        field(row.tand, 1),        field(row.epsRel, 0),         field(row.kEff, 1),
        field(row.kMode, 1),       field(row.q3dB, 1),           field(row.b3dB, 3),
    };
    return fields.join(QLatin1Char('\t'));
}

std::optional<double> TemperatureRate(std::optional<double> value, std::optional<double> previous,
                                      double minutesSincePrevious) {
    if (!value || !previous || !(minutesSincePrevious > 0))
        return std::nullopt;
    return (*value - *previous) / minutesSincePrevious;
}

std::optional<double> MeanReading(std::optional<double> before, std::optional<double> after) {
    if (before && after)
        return (*before + *after) / 2;
    return before ? before : after;
}

std::optional<SweepBand> RefinedBand(double minMarker, double maxMarker, double analyzerMin,
                                     double analyzerMax) {
    const double d = (maxMarker - minMarker) / 10;
    double low = std::min(minMarker - d, maxMarker + d);
    double high = std::max(minMarker - d, maxMarker + d);
    low = std::clamp(low, analyzerMin, analyzerMax);
    high = std::clamp(high, analyzerMin, analyzerMax);
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low))
        return std::nullopt;
    return SweepBand{low, high};
}

QString TimeLeftText(qint64 milliseconds) {
    const qint64 seconds = std::max<qint64>(0, milliseconds) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString CycleTitle(int cyclesBefore, int totalCycles, std::optional<double> temperature,
                   bool withThermometer, qint64 msLeft) {
    QString title =
        Message(Msg::Measurement) + IntText(cyclesBefore) + QLatin1Char('/') + IntText(totalCycles);
    if (withThermometer)
        title += QLatin1Char(' ') + field(temperature, 1) + QStringLiteral("°C  : ");
    else
        title += QStringLiteral(" : ");
    return title + TimeLeftText(msLeft);
}

void RepeatSchedule::start(qint64 nowMs, double intervalMinutes, double durationMinutes) {
    const double intervalMin = ClampIntervalMinutes(intervalMinutes);
    const double durationMin = ClampDurationMinutes(durationMinutes);
    interval = int(std::lround(intervalMin * 60000));
    duration = qint64(std::llround(durationMin * 60000));
    total = SeriesCycleCount(durationMin, intervalMin);
    startedMs = nowMs;
    begun = 0;
    skipped = 0;
    inCycle = false;
    running = true;
}

qint64 RepeatSchedule::nextDueMs() const {
    return startedMs + qint64(begun + 1) * interval;
}

qint64 RepeatSchedule::msLeft(qint64 nowMs) const {
    return std::max<qint64>(0, startedMs + duration - nowMs);
}

bool RepeatSchedule::beginCycle(bool busy) {
    if (!running)
        return false;
    if (inCycle || busy) {
        ++skipped;
        return false;
    }
    inCycle = true;
    ++begun;
    return true;
}

bool RepeatSchedule::endCycle(qint64 nowMs) {
    inCycle = false;
    if (running && nowMs - startedMs > duration)
        running = false;
    return !running;
}

} // namespace ymt
