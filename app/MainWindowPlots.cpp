// The four plots of the window: the settings of the window definition at creation, and the
// curve set-up of the first activation with the colours and widths of tab "Options".
#include "app/MainWindow.h"

#include "app/FormWidgets.h"
#include "plot/FastGraph.h"
#include "plot/PlotInstances.h"

#include <QFrame>
#include <QLineEdit>

namespace {

// The width fields hold whole numbers; their leave handlers keep them so.
int widthOf(const QLineEdit* field) {
    return field->text().trimmed().toInt();
}

} // namespace

void TForm1::applyPlotDefinitions() {
    ymt::ApplyFastgraph1Defaults(*fastgraph1);
    ymt::ApplyQgraphDefaults(*qgraph);
    ymt::ApplyDauergraphDefaults(*dauergraph);
    ymt::ApplyTmpgraphDefaults(*tmpgraph);
}

void TForm1::setupMeasurementPlot() {
    ymt::SetUpMeasurementPlot(*fastgraph1, ymt::form::swatchColor(color1Swatch),
                              widthOf(width1Edit), ymt::form::swatchColor(color2Swatch),
                              widthOf(width2Edit));
}

void TForm1::setupComparisonPlot() {
    ymt::SetUpComparisonPlot(*qgraph, widthOf(width1Edit));
}

void TForm1::setupRepeatPlot() {
    ymt::SetUpRepeatPlot(*dauergraph);
}
