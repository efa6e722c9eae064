// What the measurement plot shows on top of every screen drawing: the MIN and MAX resonance
// markers and the prompt in its centre.
#pragma once

#include <QString>

class QPainter;

namespace ymt {

class TFastGraph;

// Pixel x of a marker frequency on the measurement plot (not clipped to the plot rectangle).
int MarkerX(const TFastGraph& graph, double frequency);

// Draws the markers (MAX first, then MIN) when showMarkers is set, then the prompt, red and
// bold on white, hanging from the middle of the component. An empty prompt draws nothing.
void DrawMarkersAndPrompt(TFastGraph& graph, QPainter& painter, double minMarker, double maxMarker,
                          bool showMarkers, const QString& plotPrompt);

} // namespace ymt
