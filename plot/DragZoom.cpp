// Drag-zoom over a plot.
#include "plot/DragZoom.h"

#include "plot/FastGraph.h"

namespace ymt {

bool DragZoom::press(TFastGraph& graph, int x) {
    if (graph.PlotRight <= graph.PlotLeft)
        return false;
    const int at = ClampPressX(x, graph.PlotLeft, graph.PlotRight);
    dragging_ = true;
    start_ = end_ = at;
    graph.setCursorLine(at);
    return true;
}

void DragZoom::move(TFastGraph& graph, int x) {
    if (graph.PlotRight <= graph.PlotLeft)
        return;
    const int at = ClampMoveX(x, graph.PlotLeft, graph.PlotRight);
    if (dragging_) {
        end_ = at;
        graph.setBand(start_, end_);
    } else {
        graph.setCursorLine(at);
    }
}

std::optional<FrequencyBand> DragZoom::release(TFastGraph& graph, int x) {
    if (!dragging_)
        return std::nullopt;
    end_ = cancel(graph, x);
    return rule_(start_, end_, graph.PlotLeft, graph.PlotRight, graph.XAxis.Min(),
                 graph.XAxis.Max());
}

int DragZoom::cancel(TFastGraph& graph, int x) {
    dragging_ = false;
    graph.clearBand();
    return ClampReleaseX(x, graph.PlotLeft, graph.PlotRight);
}

std::optional<ZoomHistory::Entry> DragZoom::stepBack() {
    if (!history_.back())
        return std::nullopt;
    return history_.current();
}

} // namespace ymt
