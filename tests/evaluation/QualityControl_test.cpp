// The verdicts of the quality-control check.
#include "evaluation/QualityControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
    EXPECT_EQ(VerdictColor(QcVerdict::NotChecked), 0u);
}

// The contrast ratio of two colours 0x00BBGGRR as the accessibility guidelines define it:
// (L1 + 0.05) / (L2 + 0.05) of their relative luminances.
double contrastRatio(unsigned a, unsigned b) {
    auto luminance = [](unsigned color) {
        auto channel = [](unsigned value) {
            const double c = value / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(color & 0xFF) + 0.7152 * channel((color >> 8) & 0xFF) +
               0.0722 * channel((color >> 16) & 0xFF);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(QualityControl, VerdictColoursStayReadableOnAGreyPanel) {
    EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21, 1e-9);
    EXPECT_NEAR(contrastRatio(0x00FF00, 0xEFEFEF), 1.2, 0.05); // lime: unreadable
    // The grey of the toolkit's panel today and the darker grey of older desktops.
    for (const unsigned panel : {0xEFEFEFu, 0xF0F0F0u, 0xC0C0C0u})
        for (const QcVerdict verdict : {QcVerdict::OK, QcVerdict::Defect})
            EXPECT_GE(contrastRatio(VerdictColor(verdict), panel), 3.0)
                << std::hex << panel << " " << VerdictColor(verdict);
    // Still green and red.
    const unsigned ok = VerdictColor(QcVerdict::OK);
    EXPECT_GT((ok >> 8) & 0xFF, 2 * std::max(ok & 0xFF, (ok >> 16) & 0xFF));
    const unsigned defect = VerdictColor(QcVerdict::Defect);
    EXPECT_GT(defect & 0xFF, 2 * std::max((defect >> 8) & 0xFF, (defect >> 16) & 0xFF));
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
