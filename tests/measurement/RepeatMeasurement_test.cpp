// Rules of the repeat measurement: the refined band, temperature rates and means, the cycle
// count and the schedule that never lets two cycles overlap, file names and rows.
#include "measurement/RepeatMeasurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ymt {
namespace {

TEST(RefinedBand, WidensByATenthClampsToTheAnalyzerAndPutsInOrder) {
    const auto band = RefinedBand(200, 218, 0.04, 110000);
    ASSERT_TRUE(band);
    EXPECT_DOUBLE_EQ(band->low, 198.2);
    EXPECT_DOUBLE_EQ(band->high, 219.8);
    // A maximum below the minimum gives the same band, in order.
    const auto swapped = RefinedBand(218, 200, 0.04, 110000);
    ASSERT_TRUE(swapped);
    EXPECT_DOUBLE_EQ(swapped->low, 198.2);
    EXPECT_DOUBLE_EQ(swapped->high, 219.8);
    // Near the ends of the span the band stops there.
    const auto low = RefinedBand(0.05, 10, 0.04, 110000);
    ASSERT_TRUE(low);
    EXPECT_DOUBLE_EQ(low->low, 0.04);
    const auto high = RefinedBand(100000, 109999, 0.04, 110000);
    ASSERT_TRUE(high);
    EXPECT_DOUBLE_EQ(high->high, 110000);
    EXPECT_FALSE(RefinedBand(200, 200, 0.04, 110000));
    EXPECT_FALSE(RefinedBand(NAN, 200, 0.04, 110000));
}

TEST(TemperatureRate, NeedsTwoReadingsAndElapsedTime) {
    EXPECT_DOUBLE_EQ(*TemperatureRate(21.0, 20.0, 0.5), 2.0);
    EXPECT_FALSE(TemperatureRate(21.0, 20.0, 0.0));
    EXPECT_FALSE(TemperatureRate(21.0, 20.0, -1.0));
    EXPECT_FALSE(TemperatureRate(std::nullopt, 20.0, 0.5));
    EXPECT_FALSE(TemperatureRate(21.0, std::nullopt, 0.5));
    EXPECT_DOUBLE_EQ(*MeanReading(20.0, 21.0), 20.5);
    EXPECT_DOUBLE_EQ(*MeanReading(std::nullopt, 21.0), 21.0);
    EXPECT_FALSE(MeanReading(std::nullopt, std::nullopt));
}

TEST(SeriesFields, ClampedToTheirLimits) {
    EXPECT_EQ(ClampIntervalMinutes(0.2), 0.5);
    EXPECT_EQ(ClampIntervalMinutes(-4), 0.5);
    EXPECT_EQ(ClampIntervalMinutes(NAN), 0.5);
    EXPECT_EQ(ClampIntervalMinutes(1e9), kMaxIntervalMinutes);
    EXPECT_LT(kMaxIntervalMinutes * 60000, double(std::numeric_limits<int>::max()));
    EXPECT_EQ(ClampDurationMinutes(0), 1);
    EXPECT_EQ(ClampDurationMinutes(INFINITY), kMaxDurationMinutes);
    EXPECT_EQ(SeriesCycleCount(2, 0.5), 4);
    EXPECT_EQ(SeriesCycleCount(1.2, 0.5), 3);
    EXPECT_EQ(SeriesCycleCount(1, 0.3), 2) << "the interval is at least 0.5";
    EXPECT_EQ(SeriesCycleCount(1, 5), 1);
    EXPECT_EQ(SeriesCycleCount(300, 0.5), 600);
}

TEST(RepeatSchedule, EndsAfterTheFirstCycleThatEndsAfterTheDurationAndSkipsEventsWhileBusy) {
    RepeatSchedule schedule;
    schedule.start(1000, 0.5, 2);
    EXPECT_EQ(schedule.intervalMs(), 30000);
    EXPECT_EQ(schedule.totalCycles(), 4);
    EXPECT_EQ(schedule.nextDueMs(), 31000);
    ASSERT_TRUE(schedule.beginCycle(false));
    // An event during the cycle, or while another operation blocks, never nests a cycle.
    EXPECT_FALSE(schedule.beginCycle(false));
    EXPECT_FALSE(schedule.endCycle(1000 + 35000));
    EXPECT_FALSE(schedule.beginCycle(true));
    EXPECT_EQ(schedule.skippedEvents(), 2);
    EXPECT_EQ(schedule.cyclesBegun(), 1);
    // Cycle 3 ends exactly at the end of the duration, cycle 4 after it.
    for (int cycle = 2; cycle <= 4; ++cycle) {
        ASSERT_TRUE(schedule.beginCycle(false));
        EXPECT_EQ(schedule.endCycle(1000 + 30000 * cycle + (cycle == 3 ? 30000 : 5000)),
                  cycle == 4);
    }
    EXPECT_FALSE(schedule.isRunning());
    EXPECT_FALSE(schedule.beginCycle(false));
    EXPECT_EQ(schedule.msLeft(1000 + 200000), 0) << "never below 0";
    EXPECT_EQ(schedule.msLeft(1000 + 60000), 60000);

    // Cycles of 1.6 minutes every half minute: the first already ends after the two minutes,
    // however many cycles were expected.
    schedule.start(0, 0.5, 2);
    ASSERT_TRUE(schedule.beginCycle(false));
    EXPECT_TRUE(schedule.endCycle(30000 + 96000));
    EXPECT_EQ(schedule.cyclesBegun(), 1);
    EXPECT_EQ(schedule.totalCycles(), 4);
}

TEST(SeriesTexts, NamesTitleAndRows) {
    EXPECT_EQ(CycleSpectrumFileName(5, 23.46), QStringLiteral("0005_023.5°C.txt"));
    EXPECT_EQ(CycleSpectrumFileName(5, -5.26), QStringLiteral("0005_-005.3°C.txt"));
    EXPECT_EQ(CycleSpectrumFileName(5, std::nullopt), QStringLiteral("0005.txt"));
    EXPECT_EQ(SeriesFileDefaultName(QStringLiteral("Probe1")), QStringLiteral("Probe1_series.txt"));
    EXPECT_EQ(SeriesBaseName(QStringLiteral("C:\\data\\Probe1.txt")), QStringLiteral("Probe1"));
    EXPECT_EQ(SeriesBaseName(QStringLiteral("/data/Probe1.dat")), QString());
    EXPECT_EQ(SeriesFolder(QStringLiteral("/w"), QStringLiteral("Probe1")),
              QStringLiteral("/w/Probe1/"));
    EXPECT_EQ(ResolveSeriesFile(QStringLiteral("/w/"), QStringLiteral("s.txt")),
              QStringLiteral("/w/s.txt"));
    EXPECT_EQ(CycleDiagramFileName(QStringLiteral("/d/Probe1.txt"), 2, 1),
              QStringLiteral("xProbe1_0002_001.0°C.dia"));
    EXPECT_EQ(CycleDiagramFileName(QStringLiteral("/d/Probe1.txt"), 2, std::nullopt),
              QStringLiteral("xProbe1_0002.dia"));
    EXPECT_EQ(CycleTitle(0, 4, 20.04, true, 119400),
              QStringLiteral("Measurement 0/4 20.0°C  : 0:01:59"));
    EXPECT_EQ(CycleTitle(3, 4, std::nullopt, true, -5),
              QStringLiteral("Measurement 3/4 ---°C  : 0:00:00"));
    EXPECT_EQ(CycleTitle(1, 600, 2.0, false, 3600000 * 26),
              QStringLiteral("Measurement 1/600 : 26:00:00"));

    SeriesRow row;
    row.temperature = 20.55;
    row.minutes = 0.554;
    row.fMin = 199.9824;
    row.capNF = 1.9;
    row.epsRel = 2146.6;
    EXPECT_EQ(
        SeriesRowLine(row),
        QStringLiteral("20.6\t0.55\t---\t199.982\t---\t1.900\t---\t2147\t---\t---\t---\t---"));
}

TEST(SeriesFileLayout, OnlyWholeSeriesFilesTakeAnotherSeries) {
    SeriesHeaderInputs inputs;
    inputs.title = QStringLiteral("Low Field Impedance Analysis");
    inputs.capFrequency = QStringLiteral("1.000");
    inputs.tandUnit = QStringLiteral("[1e-4]");
    inputs.modeCaption = QStringLiteral("kt         [%]");
    const QStringList header = SeriesHeaderLines(inputs);
    SeriesRow row;
    row.temperature = 1;
    const QString line = SeriesRowLine(row);
    EXPECT_TRUE(IsSeriesFileLayout(header));
    EXPECT_TRUE(IsSeriesFileLayout(header + QStringList{line, line} + header + QStringList{line}));
    // A spectrum text file, a cut-off row and a header block without its column line are not.
    QStringList spectrum(21, QStringLiteral("Sample Name             : Probe1"));
    spectrum << QStringLiteral("200.00000\t5.4000000\t-0.5000000");
    EXPECT_FALSE(IsSeriesFileLayout(spectrum));
    EXPECT_FALSE(IsSeriesFileLayout(header + QStringList{line, line.left(20)}));
    EXPECT_FALSE(IsSeriesFileLayout(header + header.mid(0, 9)));
    EXPECT_FALSE(IsSeriesFileLayout({}));
}

TEST(SeriesFields, CapacitancePointsAreAWholeNumberUpToASweep) {
    EXPECT_EQ(SeriesCapacitancePoints(QStringLiteral(" 7")), 7);
    EXPECT_EQ(SeriesCapacitancePoints(QStringLiteral("401")), 401);
    EXPECT_EQ(SeriesCapacitancePoints(QStringLiteral("500")), 401);
    for (const char* text : {"0", "-1", "3.5", "", "many"})
        EXPECT_EQ(SeriesCapacitancePoints(QString::fromLatin1(text)), 10) << text;
}

} // namespace
} // namespace ymt
