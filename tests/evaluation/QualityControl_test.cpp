// The verdicts of the quality-control check.
#include "evaluation/QualityControl.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ymt;

namespace {

QcVerdict capVerdict(double reference, double tolerance, double value) {
    std::array<QcLimit, kQcQuantityCount> limits{};
    limits[QcCap] = {reference, tolerance};
    std::array<double, kQcQuantityCount> values{};
    values[QcCap] = value;
    return JudgeSample(true, limits, values).Verdicts[QcCap];
}

} // namespace

TEST(QualityControl, TheBandIsOpen) {
    EXPECT_EQ(capVerdict(100, 10, 90.0), QcVerdict::Defect);
    EXPECT_EQ(capVerdict(100, 10, 110.0), QcVerdict::Defect);
    EXPECT_EQ(capVerdict(100, 10, 90.001), QcVerdict::OK);
    EXPECT_EQ(capVerdict(100, 0, 100), QcVerdict::Defect);
    EXPECT_EQ(capVerdict(100, 10, std::numeric_limits<double>::quiet_NaN()), QcVerdict::Defect);
}

TEST(QualityControl, OnlyQuantitiesWithAReferenceDecide) {
    std::array<QcLimit, kQcQuantityCount> limits{};
    limits[QcFMin] = {200, 1};
    std::array<double, kQcQuantityCount> values{5, 5, 5, 5, 200.5};
    QcOutcome outcome = JudgeSample(true, limits, values);
    EXPECT_FALSE(outcome.Failed);
    EXPECT_EQ(outcome.Verdicts[QcCap], QcVerdict::NotChecked);
    EXPECT_EQ(outcome.Verdicts[QcFMin], QcVerdict::OK);
    values[QcFMin] = 0; // not determined
    outcome = JudgeSample(true, limits, values);
    EXPECT_TRUE(outcome.Failed);
    EXPECT_EQ(outcome.Verdicts[QcFMin], QcVerdict::Defect);
    // "none" selected: nothing is judged.
    outcome = JudgeSample(false, limits, values);
    EXPECT_FALSE(outcome.Failed);
    EXPECT_EQ(outcome.Verdicts[QcFMin], QcVerdict::NotChecked);
}

TEST(QualityControl, VerdictTextsAndColours) {
    EXPECT_EQ(VerdictText(QcVerdict::Defect, QStringLiteral("DEFEKT")), QStringLiteral("DEFEKT"));
    EXPECT_EQ(VerdictText(QcVerdict::OK, QStringLiteral("DEFECT")), QStringLiteral("OK"));
    EXPECT_EQ(VerdictText(QcVerdict::NotChecked, QStringLiteral("DEFECT")), QStringLiteral("---"));
    EXPECT_EQ(VerdictColor(QcVerdict::OK), 0x00FF00u);
    EXPECT_EQ(VerdictColor(QcVerdict::Defect), 0x0000FFu);
    EXPECT_EQ(VerdictColor(QcVerdict::NotChecked), 0u);
}

// Each pair in the file's line order, with the decimals the fields show.
TEST(QualityControl, TenPercentRecordFollowsTheFileOrder) {
    std::array<double, kQcQuantityCount> values{};
    values[QcCap] = 12.5;
    values[QcKEff] = 30;
    values[QcKMode] = 45;
    values[QcFMin] = 123.456;
    EXPECT_EQ(TenPercentQcRecord(values),
              (QStringList{"12.500", "1.250000", "0.0", "0.0", "30.0", "3.0", "", "123.456",
                           "12.345600", "45.0", "4.5"}));
}

TEST(QualityControl, LimitFieldsKeepTheirDecimalsAndWidth) {
    EXPECT_EQ(QcLimitText(0, 1.23456), QStringLiteral("    1.235"));       // C reference
    EXPECT_EQ(QcLimitText(3, 12.34), QStringLiteral("     12.3"));         // tand tolerance
    EXPECT_EQ(QcLimitText(5, 123456789.0), QStringLiteral("123456789.0")); // wider than nine
    EXPECT_EQ(QcLimitText(6, 30), QStringLiteral("30.0"));                 // mode k reference
    EXPECT_EQ(QcLimitText(9, 0.5), QStringLiteral("0.500"));               // f(min) tolerance
}
