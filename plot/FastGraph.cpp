#include "plot/FastGraph.h"

#include <QPaintEvent>
#include <QPainter>

namespace ymt {

QColor toQColor(ymt::Color color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

TFastGraph::TFastGraph(QWidget* parent) : QWidget(parent) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    setFont(font);
    for (TFastAxis* axis : {&XAxis, &YAxis, &Y2Axis})
        axis->setOwnerRepaint([this] { update(); });
}

void TFastGraph::setTitle(const QString& title) {
    Title_ = title.left(80);
    update();
}

void TFastGraph::DrawGraph(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, toQColor(BackgroundColor));
    if (OnAfterPaint)
        OnAfterPaint(*this, painter);
}

void TFastGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawGraph(painter, rect().adjusted(1, 1, -1, -1));
}

} // namespace ymt
