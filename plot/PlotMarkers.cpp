#include "plot/PlotMarkers.h"

#include "plot/AxisScale.h"
#include "plot/FastGraph.h"
#include "plot/PlotText.h"

#include <QPainter>

namespace ymt {

int MarkerX(const TFastGraph& graph, double frequency) {
    return graph.PlotLeft +
           RoundHalfEven((frequency - graph.XAxis.Min()) * (graph.PlotRight - graph.PlotLeft) /
                         (graph.XAxis.Max() - graph.XAxis.Min()));
}

void DrawMarkersAndPrompt(TFastGraph& graph, QPainter& painter, double minMarker, double maxMarker,
                          bool showMarkers, const QString& plotPrompt) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (showMarkers) {
        QFont markerFont = graph.font();
        markerFont.setPointSize(8);
        painter.setFont(markerFont);
        const int c8 = CharHeight(markerFont, painter.device());
        const struct {
            double frequency;
            const char* text;
        } markers[] = {{maxMarker, "MAX"}, {minMarker, "MIN"}};
        for (const auto& marker : markers) {
            const int x = MarkerX(graph, marker.frequency);
            painter.setPen(QPen(Qt::black, 1, Qt::DashDotLine, Qt::FlatCap));
            painter.drawLine(x, graph.PlotTop, x, graph.PlotBottom + 1);
            DrawPlotText(painter, QPoint(x + 3, graph.PlotBottom - 2 * c8),
                         QString::fromLatin1(marker.text), TextDirection::Horizontal, Qt::black,
                         std::nullopt);
        }
    }
    if (!plotPrompt.isEmpty()) {
        QFont promptFont = graph.font();
        promptFont.setPointSize(10);
        promptFont.setBold(true);
        painter.setFont(promptFont);
        DrawPlotText(painter, QPoint(graph.width() / 2, graph.height() / 2), plotPrompt,
                     TextDirection::Horizontal, Qt::red, QColor(Qt::white));
    }
    painter.restore();
}

} // namespace ymt
