// The measurement plot in the window: drag zoom and zoom back with the range fields, the cursor
// overlay, line widths, colours, points, log boxes, and the markers and prompt on the screen only.
#include "tests/app/EvaluationTestSupport.h"
#include "tests/app/MainWindowTestSupport.h"

#include "core/Misc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using ymt::test::DragPlot;
using ymt::test::DrawPlotOnScreen;
using ymt::test::FrequencyUnder;
using ymt::test::WindowOnTempHome;

namespace {

QString text(const WindowOnTempHome& fixture, const char* name) {
    return fixture.control<QLineEdit>(name)->text();
}

void leave(WindowOnTempHome& fixture, const char* name, const QString& typed) {
    auto* field = fixture.control<QLineEdit>(name);
    field->setText(typed);
    fixture.window->runExitHandler(field);
}

struct DrawnPlot : WindowOnTempHome {
    DrawnPlot() {
        window->FormActivate();
        DrawPlotOnScreen(plot());
    }
    ymt::TFastGraph& plot() { return *window->fastgraph1; }
    int left() { return plot().PlotLeft; }
    int right() { return plot().PlotRight; }
};

// A colour dialog whose operator picks one colour.
struct PickingDialogs : ymt::test::RecordingDialogs {
    std::optional<ymt::Color> chooseColor(ymt::Color initial) override {
        offered.push_back(initial);
        return picked;
    }
    std::optional<ymt::Color> picked;
    std::vector<ymt::Color> offered;
};

ymt::Color swatchColor(const QFrame* swatch) {
    const QColor c = swatch->palette().color(QPalette::Window);
    return ymt::Color(c.red()) | (ymt::Color(c.green()) << 8) | (ymt::Color(c.blue()) << 16);
}

} // namespace

TEST(GraphWindowZoom, DragInEitherDirectionZoomsTheSameBandIntoPlotAnalyzerWindowAndStartStop) {
    DrawnPlot fixture;
    const int a = fixture.left() + 100;
    const int b = fixture.left() + 300;
    const double low = FrequencyUnder(fixture.plot(), a);
    const double high = FrequencyUnder(fixture.plot(), b);

    DragPlot(*fixture.window, a, b);
    EXPECT_EQ(fixture.window->ZoomHistory.depth(), 1);
    EXPECT_DOUBLE_EQ(fixture.plot().XAxis.Min(), low);
    EXPECT_DOUBLE_EQ(fixture.plot().XAxis.Max(), high);
    EXPECT_DOUBLE_EQ(fixture.window->RangeStart, low);
    EXPECT_DOUBLE_EQ(fixture.window->RangeStop, high);
    EXPECT_EQ(text(fixture, "Edit1"), ymt::FixedText(low, 1, 3));
    EXPECT_EQ(text(fixture, "Edit2"), ymt::FixedText(high, 1, 3));
    // A drag writes only the range of tab "Measurement".
    EXPECT_EQ(text(fixture, "Edit33"), QStringLiteral("0.040"));
    EXPECT_FALSE(fixture.plot().band().has_value());

    DrawnPlot reversed;
    DragPlot(*reversed.window, b, a);
    EXPECT_DOUBLE_EQ(reversed.plot().XAxis.Min(), low);
    EXPECT_DOUBLE_EQ(reversed.plot().XAxis.Max(), high);
}

TEST(GraphWindowZoom, PressLeftOfThePlotStartsTheBandExactlyAtTheWindowMinimum) {
    DrawnPlot fixture;
    DragPlot(*fixture.window, 0, fixture.left() + 200);
    EXPECT_EQ(fixture.plot().XAxis.Min(), 0.04);
    EXPECT_EQ(text(fixture, "Edit1"), QStringLiteral("0.040"));
}

TEST(GraphWindowZoom, ReleaseOutsideThePlotEndsTheBandAtTheWindowLimitsAndPicksNoOutsideFrequency) {
    DrawnPlot fixture;
    TForm1& window = *fixture.window;
    // Released left of the plot: the band starts exactly at the window minimum, not below it.
    DragPlot(window, fixture.left() + 300, 5);
    EXPECT_EQ(window.RangeStart, 0.04);
    EXPECT_EQ(text(fixture, "Edit1"), QStringLiteral("0.040"));
    DrawPlotOnScreen(fixture.plot());
    // Released right of it: the band ends exactly at the window maximum.
    const double low = window.RangeStart;
    const double high = window.RangeStop;
    DragPlot(window, fixture.left() + 100, fixture.right() + 50);
    EXPECT_EQ(window.RangeStop, high);
    EXPECT_GT(window.RangeStart, low);

    // A manual pick clicked beside the plot takes the window's edge.
    DrawPlotOnScreen(fixture.plot());
    window.AwaitMinClick = true;
    ymt::test::ClickPlot(window, 2);
    EXPECT_EQ(window.MinMarker, fixture.plot().XAxis.Min());
    EXPECT_GE(window.MinMarker, 0.04);
}

TEST(GraphWindowZoom, BandOfFivePixelsChangesNothingAndSixPixelsZoom) {
    DrawnPlot fixture;
    const int a = fixture.left() + 50;
    DragPlot(*fixture.window, a, a + 5);
    EXPECT_EQ(fixture.window->ZoomHistory.depth(), 0);
    EXPECT_EQ(fixture.plot().XAxis.Min(), 0.04);
    EXPECT_EQ(fixture.plot().XAxis.Max(), 110000.0);
    EXPECT_EQ(text(fixture, "Edit2"), QStringLiteral("110000.000"));
    EXPECT_FALSE(fixture.plot().band().has_value()) << "the small band is removed";

    DragPlot(*fixture.window, a + 6, a);
    EXPECT_EQ(fixture.window->ZoomHistory.depth(), 1);
    EXPECT_LT(fixture.plot().XAxis.Max(), 110000.0);
}

TEST(GraphWindowZoom, FiftyOneZoomsStopAtDepthFiftyAndFiftyZoomBacksReturnToTheFullRange) {
    DrawnPlot fixture;
    TForm1& window = *fixture.window;
    double lastLow = 0;
    double lastHigh = 0;
    double depth49High = 0;
    for (int i = 0; i < 51; ++i) {
        // Bands slightly inside the window, so that every zoom narrows it.
        const int a = fixture.left() + 2 + i % 3;
        const int b = fixture.right() - 2;
        lastLow = FrequencyUnder(fixture.plot(), a);
        lastHigh = FrequencyUnder(fixture.plot(), b);
        if (i == 48)
            depth49High = lastHigh;
        DragPlot(window, a, b);
    }
    EXPECT_EQ(window.ZoomHistory.depth(), 50);
    EXPECT_DOUBLE_EQ(window.ZoomHistory.entry(50).Low, lastLow);
    EXPECT_DOUBLE_EQ(window.ZoomHistory.entry(50).High, lastHigh);
    // The 51st zoom overwrote entry 50: one step back is the band of the 49th zoom.
    window.FastGraph1MouseDown(Qt::RightButton, 200, 100);
    EXPECT_EQ(window.ZoomHistory.depth(), 49);
    EXPECT_DOUBLE_EQ(window.ZoomHistory.entry(49).High, depth49High);
    EXPECT_DOUBLE_EQ(fixture.plot().XAxis.Max(), depth49High);
    // Zoom back writes both range groups.
    EXPECT_EQ(text(fixture, "Edit2"), ymt::FixedText(depth49High, 1, 3));
    EXPECT_EQ(text(fixture, "Edit34"), ymt::FixedText(depth49High, 1, 3));
    EXPECT_EQ(text(fixture, "Edit33"), text(fixture, "Edit1"));

    for (int i = 0; i < 49; ++i)
        window.FastGraph1MouseDown(i % 2 ? Qt::MiddleButton : Qt::RightButton, 200, 100);
    EXPECT_EQ(window.ZoomHistory.depth(), 0);
    EXPECT_EQ(fixture.plot().XAxis.Min(), 0.04);
    EXPECT_EQ(fixture.plot().XAxis.Max(), 110000.0);
    for (const char* name : {"Edit1", "Edit33"})
        EXPECT_EQ(text(fixture, name), QStringLiteral("0.040")) << name;
    for (const char* name : {"Edit2", "Edit34"})
        EXPECT_EQ(text(fixture, name), QStringLiteral("110000.000")) << name;

    // At depth 0 a zoom back does nothing, not even to the fields.
    fixture.control<QLineEdit>("Edit33")->setText(QStringLiteral("5.000"));
    window.FastGraph1MouseDown(Qt::RightButton, 200, 100);
    EXPECT_EQ(text(fixture, "Edit33"), QStringLiteral("5.000"));
}

TEST(GraphWindowZoom, ZoomBackWorksBeforeThePlotWasEverDrawn) {
    WindowOnTempHome fixture;
    TForm1& window = *fixture.window;
    window.FormActivate();
    ASSERT_LE(window.fastgraph1->PlotRight, window.fastgraph1->PlotLeft) << "not drawn yet";
    window.ZoomHistory.setEntry(1, 300, 100);
    window.ZoomHistory.setEntry(2, 250, 150);
    window.zoom(150, 250);
    window.FastGraph1MouseDown(Qt::RightButton, 10, 10);
    EXPECT_EQ(window.ZoomHistory.depth(), 1);
    EXPECT_EQ(window.fastgraph1->XAxis.Min(), 100.0);
    EXPECT_EQ(window.fastgraph1->XAxis.Max(), 300.0);
    EXPECT_EQ(text(fixture, "Edit1"), QStringLiteral("100.000"));
    EXPECT_EQ(text(fixture, "Edit34"), QStringLiteral("300.000"));
}

TEST(GraphWindowZoom, CursorLineFollowsTheMouseInTheOverlayWithoutRedrawingThePlot) {
    DrawnPlot fixture;
    TForm1& window = *fixture.window;
    const int draws = fixture.plot().screenDrawCount();
    window.FastGraph1MouseMove(Qt::NoButton, fixture.left() + 40, 50);
    EXPECT_EQ(fixture.plot().cursorLine(), fixture.left() + 40);
    window.FastGraph1MouseMove(Qt::NoButton, -30, 50);
    EXPECT_EQ(fixture.plot().cursorLine(), fixture.left() + 1) << "clamped into the plot";
    window.FastGraph1MouseDown(Qt::LeftButton, fixture.left() + 40, 50);
    window.FastGraph1MouseMove(Qt::LeftButton, fixture.left() + 90, 50);
    ASSERT_TRUE(fixture.plot().band().has_value());
    EXPECT_EQ(*fixture.plot().band(), std::make_pair(fixture.left() + 40, fixture.left() + 90));
    EXPECT_EQ(fixture.plot().screenDrawCount(), draws);
    // A new picture has neither cursor line nor band.
    fixture.plot().grab();
    EXPECT_FALSE(fixture.plot().cursorLine().has_value());
    EXPECT_FALSE(fixture.plot().band().has_value());
}

TEST(GraphWindowOptions, LineWidthsAreReadAsWholeNumbersAndZeroHidesCurveAndAxis) {
    WindowOnTempHome fixture;
    TForm1& window = *fixture.window;
    ymt::CurveStore& store = window.fastgraph1->store();

    leave(fixture, "Edit13", QStringLiteral("0"));
    EXPECT_EQ(text(fixture, "Edit13"), QStringLiteral("0"));
    EXPECT_FALSE(store.curve(1).Visible);
    EXPECT_FALSE(window.fastgraph1->YAxis.Visible());
    EXPECT_TRUE(window.fastgraph1->Y2Axis.Visible());

    const struct {
        const char* typed;
        const char* shown;
        int width;
    } cases[] = {{"300", "1", 1}, {"-5", "1", 1}, {"3x", "3", 3}, {" 256", "256", 256}};
    for (const auto& c : cases) {
        leave(fixture, "Edit13", QString::fromLatin1(c.typed));
        EXPECT_EQ(text(fixture, "Edit13"), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(store.curve(1).Width, c.width) << c.typed;
        EXPECT_TRUE(store.curve(1).Visible) << c.typed;
        EXPECT_TRUE(window.fastgraph1->YAxis.Visible()) << c.typed;
        EXPECT_EQ(window.qgraph->store().curve(20).Width, c.width) << c.typed;
    }

    leave(fixture, "Edit16", QStringLiteral("0"));
    EXPECT_FALSE(store.curve(2).Visible);
    EXPECT_FALSE(window.fastgraph1->Y2Axis.Visible());
    EXPECT_EQ(window.qgraph->store().curve(1).Width, 0) << "the field left last decides";
    leave(fixture, "Edit16", QStringLiteral("4"));
    EXPECT_TRUE(window.fastgraph1->Y2Axis.Visible());
    EXPECT_EQ(store.curve(2).Width, 4);
}

TEST(GraphWindowOptions, ChangeColorOffersTheSwatchAndAConfirmedColourGoesToSwatchAndCurve) {
    WindowOnTempHome fixture;
    PickingDialogs dialogs;
    fixture.window->setDialogs(&dialogs);
    ymt::CurveStore& store = fixture.window->fastgraph1->store();

    fixture.window->Button15Click(); // cancelled
    ASSERT_EQ(dialogs.offered.size(), 1u);
    EXPECT_EQ(dialogs.offered[0], 0x0000FFu) << "red";
    EXPECT_EQ(swatchColor(fixture.control<QFrame>("Shape1")), 0x0000FFu);

    dialogs.picked = 0x00FF00;
    fixture.window->Button16Click();
    EXPECT_EQ(dialogs.offered[1], 0xFF0000u) << "blue";
    EXPECT_EQ(swatchColor(fixture.control<QFrame>("Shape2")), 0x00FF00u);
    EXPECT_EQ(store.curve(2).Color, 0x00FF00u);
    EXPECT_EQ(store.curve(1).Color, 0x0000FFu);
    fixture.window->setDialogs(nullptr);
}

TEST(GraphWindowOptions, ShowPointsAndTheLogBoxesSetThePlot) {
    WindowOnTempHome fixture;
    TForm1& window = *fixture.window;
    fixture.control<QCheckBox>("CheckBox5")->click();
    EXPECT_TRUE(window.fastgraph1->ShowPoints);
    fixture.control<QCheckBox>("CheckBox1")->click();
    EXPECT_FALSE(window.fastgraph1->YAxis.Log());
    fixture.control<QCheckBox>("CheckBox2")->click();
    EXPECT_TRUE(window.fastgraph1->Y2Axis.Log());
    fixture.control<QCheckBox>("CheckBox1")->click();
    EXPECT_TRUE(window.fastgraph1->YAxis.Log());
    // The frequency axis is linear until "Frequency logarithmic" is checked.
    EXPECT_FALSE(fixture.control<QCheckBox>("CheckBox27")->isChecked());
    EXPECT_FALSE(window.fastgraph1->XAxis.Log());
    fixture.control<QCheckBox>("CheckBox27")->click();
    EXPECT_TRUE(window.fastgraph1->XAxis.Log());
}

// On the log frequency axis a drag zooms into the decades under the mouse.
TEST(GraphWindowZoom, ADragOnTheLogFrequencyAxisZoomsIntoTheDecadesUnderTheMouse) {
    DrawnPlot fixture;
    fixture.control<QCheckBox>("CheckBox27")->click();
    DrawPlotOnScreen(fixture.plot());
    const double decades = std::log10(110000 / 0.04);
    const int width = fixture.right() - fixture.left();
    const int a = fixture.left() + 1 + width / 4;
    const int b = fixture.left() + 1 + width / 2;
    DragPlot(*fixture.window, a, b);
    EXPECT_NEAR(std::log10(fixture.plot().XAxis.Min() / 0.04), decades * (width / 4) / width, 1e-9);
    EXPECT_NEAR(std::log10(fixture.plot().XAxis.Max() / 0.04), decades * (width / 2) / width, 1e-9);
}

// Black pixels (not the red or blue curves) in column x between rows top and bottom.
int darkPixelsInColumn(const QImage& image, int x, int top, int bottom) {
    int dark = 0;
    for (int y = top; y <= bottom; ++y) {
        const QColor c = image.pixelColor(x, y);
        dark += std::max({c.red(), c.green(), c.blue()}) < 80;
    }
    return dark;
}

TEST(GraphWindowMarkers, MarkersAndPromptShowOnTheScreenButNotInImages) {
    DrawnPlot fixture;
    TForm1& window = *fixture.window;
    ymt::test::FillModelSpectrum(fixture.plot(), ymt::test::LinearGrid(150, 260, 300));
    window.zoom(150, 260);
    fixture.control<QComboBox>("ComboBox1")->setCurrentIndex(0);
    window.ComboBox1Change();
    window.MinMarker = 199.0;
    window.MaxMarker = 230.0;
    window.ShowMarkers = true;
    window.PlotPrompt = QStringLiteral("Please click on |Z| maximum f(max)... ");

    const QImage screen = fixture.plot().grab().toImage();
    // The screen draws the plot one pixel in; the line sits on the pixel the curves use.
    const int minX = 1 + fixture.left() +
                     qRound((199.0 - 150) * (fixture.right() - fixture.left()) / (260.0 - 150));
    const int top = fixture.plot().PlotTop + 2;
    const int bottom = fixture.plot().PlotBottom - 40;
    EXPECT_GT(darkPixelsInColumn(screen, minX, top, bottom), (bottom - top) / 3)
        << "dash-dot MIN line";
    // The prompt is red text on white in the middle of the component.
    int red = 0;
    for (int x = 0; x < screen.width(); ++x)
        for (int y = screen.height() / 2; y < screen.height() / 2 + 16; ++y) {
            const QColor c = screen.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 30);

    QImage image(fixture.plot().size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        fixture.plot().DrawGraph(painter, image.rect());
    }
    // The image draws one pixel further left than the screen: same column, minus one.
    EXPECT_LT(darkPixelsInColumn(image, minX - 1, top, bottom), 5) << "no marker in the image";
    EXPECT_LT(darkPixelsInColumn(image, minX, top, bottom), 5);

    const QString pictures = QString::fromUtf8(qgetenv("YMT_PICTURE_DIR"));
    if (!pictures.isEmpty()) {
        screen.save(QDir(pictures).filePath(QStringLiteral("fastgraph1-markers.png")));
        image.save(QDir(pictures).filePath(QStringLiteral("fastgraph1-image.png")));
    }
}
