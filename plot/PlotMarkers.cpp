#include "plot/PlotMarkers.h"

#include "plot/FastGraph.h"
#include "plot/PlotText.h"
#include "plot/curves/AxisScale.h"
#include "plot/curves/GraphInteraction.h"

#include <QPainter>

namespace ymt {

int MarkerX(const TFastGraph& graph, double frequency) {
    return graph.PlotOriginX + graph.PlotLeft +
           RoundHalfEven(OffsetOfFrequency(frequency, graph.PlotLeft, graph.PlotRight,
                                           graph.XAxis.Min(), graph.XAxis.Max(),
                                           graph.XAxis.Log()));
}

bool MarkerInWindow(const TFastGraph& graph, double frequency) {
    return frequency >= graph.XAxis.Min() && frequency <= graph.XAxis.Max();
}

std::vector<MarkerLabel> MarkerLabels(const TFastGraph& graph, double minMarker, double maxMarker) {
    std::vector<MarkerLabel> labels;
    const bool showMax = MarkerInWindow(graph, maxMarker);
    const bool showMin = MarkerInWindow(graph, minMarker);
    const int maxX = MarkerX(graph, maxMarker);
    const int minX = MarkerX(graph, minMarker);
    if (showMax && showMin && maxX == minX) {
        labels.push_back({maxX, QStringLiteral("MIN/MAX")});
        return labels;
    }
    if (showMax)
        labels.push_back({maxX, QStringLiteral("MAX")});
    if (showMin)
        labels.push_back({minX, QStringLiteral("MIN")});
    return labels;
}

void DrawMarkersAndPrompt(TFastGraph& graph, QPainter& painter, double minMarker, double maxMarker,
                          bool showMarkers, const QString& plotPrompt) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (showMarkers) {
        QFont markerFont = graph.font();
        markerFont.setPointSize(8);
        painter.setFont(markerFont);
        const QFontMetrics metrics = painter.fontMetrics();
        const int c8 = CharHeight(markerFont, painter.device());
        const int top = graph.PlotOriginY + graph.PlotTop;
        const int bottom = graph.PlotOriginY + graph.PlotBottom;
        const int right = graph.PlotOriginX + graph.PlotRight;
        // Texts hang beside their line, not on it; near the right edge on its left side, and
        // a second text that would touch the first moves one row up.
        bool first = true;
        int previousStart = 0;
        int previousEnd = 0;
        int row = 0;
        for (const MarkerLabel& marker : MarkerLabels(graph, minMarker, maxMarker)) {
            painter.setPen(QPen(Qt::black, 1, Qt::DashDotLine, Qt::FlatCap));
            painter.drawLine(marker.x, top, marker.x, bottom + 1);
            const int width = metrics.horizontalAdvance(marker.text);
            int start = marker.x + kMarkerTextDistance;
            if (start + width > right)
                start = marker.x - kMarkerTextDistance - width;
            const bool touches = !first && start < previousEnd + kMarkerTextDistance &&
                                 start + width + kMarkerTextDistance > previousStart;
            row = touches ? row + 1 : 0;
            first = false;
            DrawPlotText(painter, QPoint(start + width / 2, bottom - (2 + row) * c8), marker.text,
                         TextDirection::Horizontal, Qt::black, std::nullopt);
            previousStart = start;
            previousEnd = start + width;
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
