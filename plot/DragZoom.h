// Zooming a plot by dragging: the left button's press, moves and release draw the cursor line
// and the band and give the band's frequencies; any other button steps back through the zoom
// history. The measurement and the comparison plot each own one, with their own band rule.
#pragma once

#include "plot/curves/GraphInteraction.h"

#include <optional>

namespace ymt {

class TFastGraph;

class DragZoom {
public:
    // The frequencies of a drag from widget x start to end (either order) over a plot whose
    // frame is left..right showing min..max; none when the drag is no zoom.
    using BandRule = std::optional<FrequencyBand> (*)(int start, int end, int left, int right,
                                                      double min, double max);

    DragZoom(ZoomHistory& history, BandRule rule) : history_(history), rule_(rule) {}

    // Left press: starts a drag at the position (kept over the plot). Until the plot has been
    // drawn once there is no plot to drag in: false, nothing starts.
    bool press(TFastGraph& graph, int x);
    // The band follows a drag; without one the cursor line follows the mouse.
    void move(TFastGraph& graph, int x);
    // Left release: ends the drag and takes the band away; the band's frequencies when it is a
    // zoom. Nothing without a drag.
    std::optional<FrequencyBand> release(TFastGraph& graph, int x);
    // Ends a drag without a zoom (the release is a click); the release position kept over the
    // plot.
    int cancel(TFastGraph& graph, int x);
    // Any other button: one entry back in the history, the window to show; none at depth 0.
    std::optional<ZoomHistory::Entry> stepBack();

    bool dragging() const { return dragging_; }

private:
    ZoomHistory& history_;
    BandRule rule_;
    bool dragging_ = false;
    int start_ = 0;
    int end_ = 0;
};

} // namespace ymt
