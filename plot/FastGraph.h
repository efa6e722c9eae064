// The plot component: 25 curves (the curve store), three axes and the drawing of them all on
// any QPainter (screen, image, printer).
#pragma once

#include "plot/CurveStore.h"
#include "plot/FastAxis.h"

#include <QStringList>
#include <QWidget>

#include <functional>

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
    QStringList Comments;

    // Runs after every drawing, with the painter that drew the plot.
    std::function<void(TFastGraph& sender, QPainter& painter)> OnAfterPaint;

    // Draws the whole plot into rect of any paint device.
    void DrawGraph(QPainter& painter, const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CurveStore store_;
    QString Title_ = QStringLiteral("FastGraph v1.0g");
};

// 0x00BBGGRR to a Qt colour.
QColor toQColor(ymt::Color color);

} // namespace ymt
