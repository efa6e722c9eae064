// The frequency window shared by the analyzer and the measurement plot: zoom, the return to the
// live state after a measurement, and the plot's repaint during long operations.
#include "app/MainWindow.h"
#include "plot/FastGraph.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include <algorithm>

void TForm1::zoom(double a, double b) {
    const double low = std::min(a, b);
    const double high = std::max(a, b);
    Analyzer.SetSweepRange(low, high);
    Analyzer.AutoscaleDisplay();
    fastgraph1->XAxis.setMin(low);
    fastgraph1->XAxis.setMax(high);
    RangeStart = low;
    RangeStop = high;
}

void TForm1::ruecksetzen() {
    Analyzer.SelectFunction(DisplayCode);
    Analyzer.SetDisplayScales(logZCheck->isChecked(), logThetaCheck->isChecked());
    const ymt::ZoomHistory::Entry& window = ZoomHistory.current();
    zoom(window.Low, window.High);
    fastgraph1->clearCursorLine();
    Analyzer.AutoscaleDisplay();
    repaintPlotNow();
    QApplication::beep();
}

void TForm1::clearResultLabels() {
    for (QLabel* value : {capValue, tandValue, epsValue, fminValue, fmaxValue, rsValue, keffValue,
                          kmodeValue, q3dbValue, b3dbValue, dValue, qcCapVerdict, qcTandVerdict,
                          qcKeffVerdict, qcKVerdict, qcFminVerdict})
        value->setText(QStringLiteral("---"));
}

void TForm1::repaintPlotNow() {
    fastgraph1->replot();
    // Let the window show the new picture (and the prompt) before the next blocking step.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
