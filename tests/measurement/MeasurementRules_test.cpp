// Readings and limits of the analyzer settings, the sweep grid and the range fields.
#include "core/NumberParsing.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/thermometer/Thermometer.h"
#include "measurement/AnalyzerSettingsRules.h"
#include "measurement/FrequencyRanges.h"
#include "tests/support/GermanTexts.h"

#include <gtest/gtest.h>

using namespace ymt;

TEST(StrictConversions, AcceptOnlyWholeNumbersAndReportTheText) {
    EXPECT_EQ(StrictInt(" 42 ").value, 42);
    EXPECT_EQ(StrictInt("-7").value, -7);
    EXPECT_FALSE(StrictInt("4.5").value);
    EXPECT_FALSE(StrictInt("").value);
    EXPECT_FALSE(StrictInt("99999999999").value);
    EXPECT_EQ(StrictInt("abc").error, "'abc' is not a valid integer value");
}

TEST(StrictConversions, FloatsNeedAPointNotUnits) {
    EXPECT_DOUBLE_EQ(*StrictFloat("0.5").value, 0.5);
    EXPECT_DOUBLE_EQ(*StrictFloat("-1.5e3").value, -1500.0);
    EXPECT_DOUBLE_EQ(*StrictFloat(".25").value, 0.25);
    EXPECT_FALSE(StrictFloat("0,5").value);
    EXPECT_FALSE(StrictFloat("12 kHz").value);
    EXPECT_FALSE(StrictFloat("1e999").value);
    EXPECT_EQ(StrictFloat("x").error, "'x' is not a valid floating point value");
}

TEST(AveragingField, WarnsAboveFifteenAndClampsAfterwards) {
    const AveragingReading thousand = ReadAveraging("1000");
    EXPECT_TRUE(thousand.warnHighValue);
    EXPECT_EQ(thousand.value, 256);
    const AveragingReading sixteen = ReadAveraging("16");
    EXPECT_TRUE(sixteen.warnHighValue);
    EXPECT_EQ(sixteen.value, 16);
    const AveragingReading fifteen = ReadAveraging("15");
    EXPECT_FALSE(fifteen.warnHighValue);
    EXPECT_EQ(fifteen.value, 15);
    EXPECT_EQ(ReadAveraging("0").value, 1);
    const AveragingReading text = ReadAveraging("many");
    EXPECT_FALSE(text.value);
    EXPECT_FALSE(text.warnHighValue);
}

TEST(LevelFields, ClampToTheAnalyzersLimits) {
    EXPECT_DOUBLE_EQ(ClampOscLevel(0.001), 0.005);
    EXPECT_DOUBLE_EQ(ClampOscLevel(2), 1.0);
    EXPECT_DOUBLE_EQ(ClampOscLevel(0.3), 0.3);
    EXPECT_DOUBLE_EQ(ClampBiasLevel(-50), -40.0);
    EXPECT_DOUBLE_EQ(ClampBiasLevel(41), 40.0);
}

TEST(TimeoutField, IsInSecondsAndZeroMeansNoLimit) {
    EXPECT_EQ(ReadTimeout("30").completionTimeoutMs, 30000);
    EXPECT_EQ(ReadTimeout("-5").seconds, 0);
    EXPECT_EQ(ReadTimeout("-5").completionTimeoutMs, 0);
    EXPECT_FALSE(ReadTimeout("30 s").seconds);
    EXPECT_EQ(ReadTimeout("30 s").error, "'30 s' is not a valid integer value");
    EXPECT_GT(ReadTimeout("999999999").completionTimeoutMs, 0);
}

TEST(SweepGrid, MeasuresBothEnds) {
    EXPECT_DOUBLE_EQ(GridFrequency(100, 300, 0, 401), 100);
    EXPECT_DOUBLE_EQ(GridFrequency(100, 300, 400, 401), 300);
    EXPECT_DOUBLE_EQ(GridFrequency(100, 300, 200, 401), 200);
    EXPECT_DOUBLE_EQ(GridFrequency(5, 9, 0, 1), 5);
}

TEST(SweepGrid, AppendsTracesToSpectrumCurvesInPairs) {
    CurveStore store;
    const double a[3] = {10, 20, 30};
    const double b[3] = {-1, -2, -3};
    AppendSweep(store, 1, 2, a, b, 3);
    ASSERT_EQ(store.pointCount(3), 3);
    ASSERT_EQ(store.pointCount(4), 3);
    EXPECT_DOUBLE_EQ(store.x(3, 1), 1.5);
    EXPECT_DOUBLE_EQ(store.x(4, 1), 1.5);
    EXPECT_DOUBLE_EQ(store.y(3, 2), 30);
    EXPECT_DOUBLE_EQ(store.y(4, 2), -3);
}

TEST(RangeFields, TypedLimitNeverEqualsTheOtherAndIsClamped) {
    // Typing the stop value into Start gives a start just above the stop.
    EXPECT_DOUBLE_EQ(*TypedRangeLimit(500, 0.04, 500, 0.04, 110000), 500 + 1e-10);
    // Typing the current value changes nothing.
    EXPECT_FALSE(TypedRangeLimit(0.04, 0.04, 500, 0.04, 110000));
    EXPECT_DOUBLE_EQ(*TypedRangeLimit(200000, 500, 0.04, 0.04, 110000), 110000);
    EXPECT_DOUBLE_EQ(*TypedRangeLimit(0.001, 500, 1000, 0.04, 110000), 0.04);
}

TEST(Backups, FollowTheOptionAndNeedASpectrum) {
    EXPECT_FALSE(ShouldBackUp(BackupOption::EveryChange, SpectrumChange::Major, 0));
    EXPECT_FALSE(ShouldBackUp(BackupOption::NoBackup, SpectrumChange::Major, 10));
    EXPECT_TRUE(ShouldBackUp(BackupOption::MajorChangeOnly, SpectrumChange::Major, 10));
    EXPECT_FALSE(ShouldBackUp(BackupOption::MajorChangeOnly, SpectrumChange::MorePoints, 10));
    EXPECT_TRUE(ShouldBackUp(BackupOption::EveryChange, SpectrumChange::MorePoints, 10));
}

TEST(SweepGrid, FewerAppendedValuesKeepTheAnalyzersFrequencies) {
    CurveStore store;
    const double a[3] = {1, 2, 3};
    const double b[3] = {4, 5, 6};
    AppendSweep(store, 100, 300, a, b, 3, 401);
    ASSERT_EQ(store.pointCount(3), 3);
    EXPECT_DOUBLE_EQ(store.x(3, 2), 101);
}

TEST(SweepRanges, OnlyCheckedRangesInOrderReadTolerantly) {
    const bool checked[3] = {false, true, true};
    const QString starts[3] = {"1", " 5000.000", "200 kHz"};
    const QString stops[3] = {"2", "110000", "abc"};
    const QList<SweepRange> ranges = CheckedSweepRanges(checked, starts, stops);
    ASSERT_EQ(ranges.size(), 2);
    EXPECT_EQ(ranges[0].number, 2);
    EXPECT_DOUBLE_EQ(ranges[0].start, 5000);
    EXPECT_DOUBLE_EQ(ranges[0].stop, 110000);
    EXPECT_EQ(ranges[1].number, 3);
    EXPECT_DOUBLE_EQ(ranges[1].start, 200);
    EXPECT_DOUBLE_EQ(ranges[1].stop, 0);
}

TEST(PointsPerRangeField, IsAWholeNumberWithinOneTrace) {
    EXPECT_EQ(ReadPointsPerRange("401").value, 401);
    EXPECT_EQ(ReadPointsPerRange("1000").value, 401);
    EXPECT_EQ(ReadPointsPerRange("0").value, 1);
    const PointsReading text = ReadPointsPerRange("4x");
    EXPECT_FALSE(text.value);
    EXPECT_EQ(text.error, "'4x' is not a valid integer value");
}

TEST(AppliedSettings, LogTheStoredCountAndBothLevels) {
    EXPECT_EQ(
        AppliedSettingsLines(5, 1, -1.5),
        QStringList({"Average = 5 set.", "Voltagelevel = 1.000 set.", "Biaslevel = -1.500 set."}));
}

TEST(AppliedSettings, LogLinesOfConnectComeInTheOperatorsLanguage) {
    {
        const test::GermanTexts german;
        ASSERT_TRUE(german.loaded());
        EXPECT_EQ(AppliedSettingsLines(5, 1, -1.5),
                  QStringList({"Mittelung = 5 eingestellt.", "Messspannung = 1.000 eingestellt.",
                               "Biasspannung = -1.500 eingestellt."}));
        // What the configuration reader did not take, with its line.
        const sicl::SiclConfig config = sicl::parseSiclConfig(
            QStringLiteral("[interfaces]\ngpib0 = sim\nstray\n[dev]\n[dev]\n"));
        EXPECT_EQ(config.problems,
                  QStringList({"Zeile 3: stray",
                               "Zeile 5: Abschnitt [dev] doppelt angegeben; der zweite wird nicht "
                               "beachtet"}));
        EXPECT_EQ(ThermometerNotFoundText(QStringLiteral("COM6"), QStringLiteral("busy")),
                  QString::fromUtf8("Fehler: Temperaturfühler an COM6 nicht gefunden (busy)!"));
    }
    EXPECT_EQ(AppliedSettingsLines(5, 1, -1.5).value(0), QStringLiteral("Average = 5 set."));
    EXPECT_EQ(ThermometerNotFoundText(QStringLiteral("COM6"), {}),
              QStringLiteral("Error: Thermal sensor not found on COM6!"));
}
