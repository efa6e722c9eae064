// Drag-zoom over a plot.
#include "plot/DragZoom.h"

#include "plot/FastGraph.h"

#include <algorithm>
#include <cmath>

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
    const TFastAxis& axis = graph.XAxis;
    if (!axis.Log() || !(axis.Min() > 0) || !(axis.Max() > 0))
        return rule_(start_, end_, graph.PlotLeft, graph.PlotRight, axis.Min(), axis.Max());
    // On a log axis the rule works in decades; a band end on the axis' own end stays exact.
    std::optional<FrequencyBand> band = rule_(start_, end_, graph.PlotLeft, graph.PlotRight,
                                              std::log10(axis.Min()), std::log10(axis.Max()));
    if (!band)
        return band;
    auto toFrequency = [&axis](double decades) {
        if (decades == std::log10(axis.Min()))
            return axis.Min();
        if (decades == std::log10(axis.Max()))
            return axis.Max();
        return std::clamp(std::pow(10.0, decades), axis.Min(), axis.Max());
    };
    return FrequencyBand{toFrequency(band->Low), toFrequency(band->High)};
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
