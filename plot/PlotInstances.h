// Settings of the four plots of the main window as the window definition gives them, and the
// plot set-up of the window's first activation.
#pragma once

#include "plot/curves/CurveStore.h"

namespace ymt {

class TFastGraph;

// Measurement plot (tab "Measurement"): |Z| and theta over frequency.
void ApplyFastgraph1Defaults(TFastGraph& graph);
// Comparison plot (tab "Spectrum Comparison").
void ApplyQgraphDefaults(TFastGraph& graph);
// Repeat-measurement plot (tab "Repeat Measurement").
void ApplyDauergraphDefaults(TFastGraph& graph);
// Hidden helper plot used while a comparison set is read.
void ApplyTmpgraphDefaults(TFastGraph& graph);

// First activation: curve 1 (|Z|, YAxis) and curve 2 (theta, Y2Axis) of the measurement plot
// with the stored colours and widths; a curve and its axis show only with a width above 0.
void SetUpMeasurementPlot(TFastGraph& graph, Color color1, int width1, Color color2, int width2);
// First activation: curves 1-20 of the comparison plot in pairs of one colour, all of width1.
void SetUpComparisonPlot(TFastGraph& graph, int width1);
// First activation: curves 1-3 of the repeat plot.
void SetUpRepeatPlot(TFastGraph& graph);

// Width of a curve of the measurement plot (1 = |Z| on YAxis, 2 = theta on Y2Axis): a width
// above 0 shows curve and axis, 0 hides both. The comparison plot's curves 1-20 take the width
// too.
void ApplyLineWidth(TFastGraph& measurementPlot, int curve, int width, TFastGraph* comparisonPlot);

} // namespace ymt
