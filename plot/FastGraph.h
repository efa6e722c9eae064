// The plot component: 25 curves (the curve store), three axes and the drawing of them all on
// any QPainter (screen, image, printer), with a light overlay for cursor line and zoom band.
#pragma once

#include "plot/curves/CurveStore.h"
#include "plot/curves/CurveUnits.h"
#include "plot/curves/FastAxis.h"

#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

class QPainter;

namespace ymt {

class TFastGraph : public QWidget {
    Q_OBJECT
public:
    explicit TFastGraph(QWidget* parent = nullptr);

    CurveStore& store() { return store_; }
    const CurveStore& store() const { return store_; }

    TFastAxis XAxis{QStringLiteral("X-axis"), 1, 100};
    TFastAxis YAxis{QStringLiteral("Y-axis"), 1, 100};
    TFastAxis Y2Axis{QStringLiteral("Y2-axis"), 1, 10};

    const QString& Title() const { return Title_; }
    void setTitle(const QString& title);
    int TitleFontSize = 16;
    bool ShowPoints = false;
    ymt::Color LineColor = 0x000000;
    ymt::Color BackgroundColor = 0xFFFFFF;
    ymt::Color GridColor = 0x808080;
    ymt::Color FontColor = 0x000000; // x labels and plot title
    QStringList Comments;

    void setShowPoints(bool on);

    // The plot rectangle of the last drawing, relative to its drawing origin.
    int PlotLeft = 0;
    int PlotTop = 0;
    int PlotRight = 0;
    int PlotBottom = 0;
    // Drawing origin (X0, Y0) of the last drawing: the screen draws at (1, 1).
    int PlotOriginX = 0;
    int PlotOriginY = 0;

    // Runs at the end of every drawing, with the painter that drew the plot.
    std::function<void(TFastGraph& sender, QPainter& painter)> OnAfterPaint;

    // Draws the whole plot into rect of any paint device: the screen uses (1, 1) and one pixel
    // less each way, an image (0, 0) and its full size.
    void DrawGraph(QPainter& painter, const QRect& rect);

    // True while DrawGraph draws the on-screen picture (not an image or a printout): after-paint
    // handlers that decorate only the screen test it.
    bool drawingForScreen() const { return drawingForScreen_; }

    // Redraws the whole plot at the next paint (curve changes do not do this by themselves).
    void replot();

    // Overlay over the drawn plot, inverted like a XOR figure; changing it never redraws the
    // plot itself. Positions are widget x pixels; the figures span PlotTop..PlotBottom.
    void setCursorLine(int x);
    void clearCursorLine();
    std::optional<int> cursorLine() const { return cursorLine_; }
    void setBand(int x1, int x2);
    void clearBand();
    std::optional<std::pair<int, int>> band() const { return band_; }

    // How often the plot picture has been drawn for the screen (overlay changes do not count).
    int screenDrawCount() const { return screenDrawCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout;
    void drawXAxis(QPainter& painter, const Layout& layout);
    void drawValueAxis(QPainter& painter, const Layout& layout, TFastAxis& axis, bool right);
    void drawCurves(QPainter& painter, const Layout& layout);
    void renderScreenPicture();
    void requestRepaint();
    QRect cursorRect(int x) const;
    QRect bandRect(std::pair<int, int> band) const;
    void updateOverlay(const QRect& area);

    CurveStore store_;
    CurveUnitsCache curveUnits_;
    QImage curveMask_; // scratch space of the 2-pixel curves
    QString Title_ = QStringLiteral("FastGraph v1.0g");
    bool drawing_ = false;
    bool drawingForScreen_ = false;
    bool pictureStale_ = true;
    int screenDrawCount_ = 0;
    QPixmap picture_;
    QRegion pendingOverlay_;
    std::optional<int> cursorLine_;
    std::optional<std::pair<int, int>> band_;
};

// 0x00BBGGRR to a Qt colour and back.
QColor toQColor(ymt::Color color);
ymt::Color fromQColor(const QColor& color);

} // namespace ymt
