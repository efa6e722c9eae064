// What an opened spectrum file gives the result labels, the results and the curves.
#include "records/OpenedSpectrum.h"

#include <gtest/gtest.h>

using namespace ymt;

TEST(OpenedSpectrum, TandFollowsTheShownUnitAndAHalfResonanceIsNone) {
    SpectrumFileContent file;
    file.tand = 123; // 1e-4
    file.hasTand = true;
    file.fmin = QStringLiteral("200.000");
    file.fmax = QStringLiteral("---");
    file.keff = QStringLiteral("31.5");
    EXPECT_EQ(ResultText(ResultsOfSpectrumFile(file, true).Shown.TanD), QStringLiteral("12.3"));
    const OpenedSpectrumResults opened = ResultsOfSpectrumFile(file, false);
    EXPECT_EQ(ResultText(opened.Shown.TanD), QStringLiteral("123.0"));
    EXPECT_EQ(opened.Values.TanD, 123);
    // The label keeps what the file says; the result has no resonance without both ends.
    EXPECT_EQ(ResultText(opened.Shown.FMin), QStringLiteral("200.000"));
    EXPECT_EQ(opened.Values.FMin, 0);
    EXPECT_EQ(opened.Values.KEff, 31.5);
    EXPECT_FALSE(opened.HasQuality);
    EXPECT_FALSE(opened.Shown.FMax.IsDetermined());

    file.hasTand = false;
    EXPECT_FALSE(ResultsOfSpectrumFile(file, true).Shown.TanD.IsDetermined());
}

TEST(OpenedSpectrum, PointsAreSortedStablyIntoTheFourCurves) {
    SpectrumFileContent file;
    file.rows.points = {{20, 1, -10}, {10, 2, -20}, {20, 3, -30}};
    CurveStore store;
    LoadSpectrumPoints(file, store);
    for (int curve : {1, 3})
        EXPECT_EQ(store.curve(curve).Points.size(), 3u);
    const std::vector<CurvePoint>& z = store.curve(3).Points;
    EXPECT_EQ(z[0].x, 10);
    EXPECT_EQ(z[1].y, 1);
    EXPECT_EQ(z[2].y, 3);
    EXPECT_EQ(store.curve(4).Points[2].y, -30);
}
