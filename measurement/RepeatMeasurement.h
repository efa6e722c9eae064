// The repeat measurement without widgets: the limits of its fields, the names of its files,
// the series file's header and rows, the plot title, and the schedule of a running series on
// the one (monotonic) clock, with its guard against cycles that would overlap.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace ymt {

constexpr double kMinIntervalMinutes = 0.5;
// A timer interval must fit in 32-bit milliseconds.
constexpr double kMaxIntervalMinutes = 35000;
constexpr double kMinDurationMinutes = 1;
constexpr double kMaxDurationMinutes = 5256000; // ten years

// The fields' values as a series takes them: anything unreadable or too small becomes the
// lower limit, too large the upper limit.
double ClampIntervalMinutes(double minutes);
double ClampDurationMinutes(double minutes);
// Cycles a series is expected to run: duration ÷ interval, rounded up (at least 1). A series
// whose cycles take longer than its interval ends earlier (RepeatSchedule::endCycle).
int SeriesCycleCount(double durationMinutes, double intervalMinutes);
// The readings each cycle's capacitance measurement averages: "Number of points" as a whole
// number from 1, at most the 401 of a sweep; other text gives 10.
int SeriesCapacitancePoints(const QString& text);

// The file-name part of the series file up to ".txt" ("" when it does not contain ".txt").
QString SeriesBaseName(const QString& seriesFile);
// Working directory + base name + "/".
QString SeriesFolder(const QString& workDir, const QString& baseName);
// The series file the sample name proposes: "<sample>_series.txt", never the "<sample>.txt"
// that "Save Spectrum..." proposes for the spectrum.
QString SeriesFileDefaultName(const QString& sampleName);
// Whether the lines are those of a series file: a header block whose column line is the
// series' own, then rows of twelve fields or further header blocks, every line complete.
bool IsSeriesFileLayout(const QStringList& lines);
// A relative series file name is taken relative to the working directory.
QString ResolveSeriesFile(const QString& workDir, const QString& fileName);
// ZeroPad(count, 4) + "_" + ZeroPad(FixedText(temperature, 1, 1), 5) + "°C.txt"; a cycle
// without a temperature (no thermometer, or no reading) is ZeroPad(count, 4) + ".txt".
QString CycleSpectrumFileName(int count, std::optional<double> temperature);
// "x" + file-name part of the series file up to its first "." + "_" + count and temperature +
// "°C.dia", or without "_" + temperature + "°C" for a cycle without one.
QString CycleDiagramFileName(const QString& seriesFile, int count,
                             std::optional<double> temperature);
// The name patterns of those files, for finding the files of an earlier series.
QStringList CycleFilePatterns();

struct SeriesHeaderInputs {
    QString title;    // label [0]
    QString dateText; // short date
    QString timeText; // long time
    QString measuredBy;
    QString material;
    QString notesLabel; // label [3]
    QString notes;
    QString geometryLabel; // label [24]
    QString geometryName;
    QString distanceLabel; // label [7]
    QString distance;
    QString areaLabel; // label [8]
    QString area;
    QString frequencyLabel; // label [14]
    QString capFrequency;   // text of the capacitance "Frequency [kHz]"
    QString tandUnit;       // "[1e-3]" or "[1e-4]"
    QString modeCaption;    // caption of the mode coupling-factor label
};
QStringList SeriesHeaderLines(const SeriesHeaderInputs& inputs);

// One row of the series file. Values that were not obtained are empty and written as "---".
struct SeriesRow {
    std::optional<double> temperature; // the series value: °C, or the cycle number
    double minutes = 0;
    std::optional<double> rate;       // dT/dt, °C per minute
    std::optional<double> fMin, fMax; // kHz
    std::optional<double> capNF;
    std::optional<double> tand; // in the unit of the list
    std::optional<double> epsRel;
    std::optional<double> kEff, kMode, q3dB, b3dB;
};
QString SeriesRowLine(const SeriesRow& row);

// The temperature rate of a cycle; empty when a reading is missing or no time has passed.
std::optional<double> TemperatureRate(std::optional<double> value, std::optional<double> previous,
                                      double minutesSincePrevious);

// Mean of the readings taken before and after a cycle; one reading alone stands for both.
std::optional<double> MeanReading(std::optional<double> before, std::optional<double> after);

// The refining sweep around the resonance: the band between the extremes widened by a tenth
// of their distance on each side, clamped to the analyzer's span and put in order. Empty when
// no band remains.
struct SweepBand {
    double low = 0;
    double high = 0;
};
std::optional<SweepBand> RefinedBand(double minMarker, double maxMarker, double analyzerMin,
                                     double analyzerMax);

// "H:MM:SS" of a time span, never below 0.
QString TimeLeftText(qint64 milliseconds);

// "Measurement 3/4 23.5°C  : 0:01:30" (the temperature part only with a thermometer).
QString CycleTitle(int cyclesBefore, int totalCycles, std::optional<double> temperature,
                   bool withThermometer, qint64 msLeft);

// The schedule of a running series on the one clock. Cycles are due at start + k × interval;
// a timer event that comes while a cycle (or another blocking operation) runs is skipped and
// counted, never nested.
class RepeatSchedule {
public:
    void start(qint64 nowMs, double intervalMinutes, double durationMinutes);
    void stop() { running = false; }
    bool isRunning() const { return running; }

    int intervalMs() const { return interval; }
    qint64 startMs() const { return startedMs; }
    qint64 durationMs() const { return duration; }
    int totalCycles() const { return total; }
    int cyclesBegun() const { return begun; }
    int skippedEvents() const { return skipped; }
    // When the next cycle is due (start + (cycles begun + 1) × interval).
    qint64 nextDueMs() const;
    qint64 msLeft(qint64 nowMs) const;

    // A timer event: true when a cycle may begin now (counts it); false, counted as skipped,
    // when a cycle is still running or busy says another operation blocks the window.
    bool beginCycle(bool busy);
    // The cycle ended at nowMs; true when it was the last one of the series: the first one
    // that ends after the duration has passed.
    bool endCycle(qint64 nowMs);
    bool cycleRunning() const { return inCycle; }

private:
    bool running = false;
    bool inCycle = false;
    int interval = 30000;
    qint64 startedMs = 0;
    qint64 duration = 0;
    int total = 0;
    int begun = 0;
    int skipped = 0;
};

} // namespace ymt
