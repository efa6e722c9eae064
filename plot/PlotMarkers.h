// What the measurement plot shows on top of every screen drawing: the MIN and MAX resonance
// markers and the prompt in its centre.
#pragma once

#include <QString>

#include <vector>

class QPainter;

namespace ymt {

class TFastGraph;

// Pixel x of a marker frequency on the measurement plot, as its last drawing placed the
// frequency axis (not clipped to the plot rectangle).
int MarkerX(const TFastGraph& graph, double frequency);

// A marker is drawn only when its frequency lies within the plot's x window.
bool MarkerInWindow(const TFastGraph& graph, double frequency);

// Free pixels between a marker line and its text.
inline constexpr int kMarkerTextDistance = 4;

struct MarkerLabel {
    int x = 0;
    QString text;
};
// The marker lines to draw, MAX first: markers outside the window are left out, and two markers
// on the same pixel give one line with the text "MIN/MAX".
std::vector<MarkerLabel> MarkerLabels(const TFastGraph& graph, double minMarker, double maxMarker);

// Draws the markers (MAX first, then MIN) when showMarkers is set, then the prompt, red and
// bold on white, hanging from the middle of the component. An empty prompt draws nothing.
void DrawMarkersAndPrompt(TFastGraph& graph, QPainter& painter, double minMarker, double maxMarker,
                          bool showMarkers, const QString& plotPrompt);

} // namespace ymt
