// Result values and their texts, and the values the quality control judges.
#include "evaluation/ResultsSnapshot.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ymt;

TEST(ResultValue, TextIsTheLabelsOrTheKeptFileText) {
    EXPECT_EQ(ResultText(ResultValue()), QStringLiteral("---"));
    EXPECT_EQ(ResultText(ResultValue(std::numeric_limits<double>::infinity(), 3)),
              QStringLiteral("---"));
    EXPECT_FALSE(ResultValue(std::nan(""), 1).IsDetermined());
    EXPECT_EQ(ResultText(ResultValue(0, 3)), QStringLiteral("0.000"));
    EXPECT_EQ(ResultText(ResultValue(199.8456, 3)), QStringLiteral("199.846"));
    EXPECT_EQ(ResultText(ResultValue(-7.25, 1)), QStringLiteral("-7.3"));
    // A file's text stands as written, other digits and an empty field included.
    const ResultValue edited = ResultValue::FromText(QStringLiteral("1.5"), 1.5);
    EXPECT_EQ(ResultText(edited), QStringLiteral("1.5"));
    EXPECT_EQ(edited.Value(), 1.5);
    EXPECT_EQ(ResultText(ResultValue::FromText(QString(), 0)), QString());
    EXPECT_TRUE(ResultValue::FromText(QString(), 0).IsDetermined());
    EXPECT_FALSE(ResultValue::FromText(QStringLiteral("---"), 0).IsDetermined());
}

TEST(ResultsSnapshot, JudgedValuesAreTheRecordWhereTheLabelShowsAResult) {
    ResultsSnapshot snapshot;
    snapshot.Values.CapNF = 1.5;
    snapshot.Values.TanD = 15;
    snapshot.Values.KEff = 40;
    snapshot.Values.KMode = 30;
    snapshot.Values.FMin = 199.5; // the point a manual pick snapped to
    snapshot.Shown.Cap = ResultValue(1.5, 3);
    snapshot.Shown.KMode = ResultValue(30, 2);
    snapshot.Shown.FMin = ResultValue(199.8, 3); // the clicked frequency
    const std::array<double, kQcQuantityCount> judged = JudgedValues(snapshot);
    EXPECT_EQ(judged, (std::array<double, kQcQuantityCount>{1.5, 0, 0, 30, 199.5}));
}

TEST(RecordNotes, ASimulatedSpectrumCarriesTheRemarkOnce) {
    const QString remark = kSimulatedSpectrumNote;
    EXPECT_EQ(RecordNotes(QStringLiteral("poled"), false), QStringLiteral("poled"));
    EXPECT_EQ(RecordNotes(QString(), false), QString());
    EXPECT_EQ(RecordNotes(QString(), true), remark);
    EXPECT_EQ(RecordNotes(QStringLiteral("poled"), true), QStringLiteral("poled ") + remark);
    // Notes read back from a simulated spectrum's file already hold it.
    const QString kept = QStringLiteral("poled ") + remark + QStringLiteral(" again");
    EXPECT_EQ(RecordNotes(kept, true), kept);
}
