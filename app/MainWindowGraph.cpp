// The measurement plot as the operator works on it: the frequency window shared with the
// analyzer (zoom, zoom history, ruecksetzen), the mouse, the markers and prompt drawn after
// every screen drawing, the display pair and the display options of tab "Options".
#include "app/MainWindow.h"

#include "app/FormWidgets.h"
#include "core/Misc.h"
#include "evaluation/DisplayQuantities.h"
#include "plot/FastGraph.h"
#include "plot/PlotInstances.h"
#include "plot/PlotMarkers.h"
#include "plot/curves/GraphInteraction.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

QString kHzText(double f) {
    return ymt::FixedText(f, 1, 3);
}

// Until the plot has been drawn once there is no plot rectangle to map pixels to frequencies.
bool hasPlotRect(const ymt::TFastGraph& graph) {
    return graph.PlotRight > graph.PlotLeft;
}

} // namespace

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
    clearCircuitFit();
    Shown = {};
    showResults();
    for (QLabel* value : {qcCapVerdict, qcTandVerdict, qcKeffVerdict, qcKVerdict, qcFminVerdict}) {
        value->setText(QStringLiteral("---"));
        clearVerdictColor(value);
    }
}

void TForm1::repaintPlotNow() {
    fastgraph1->replot();
    // Let the window show the new picture (and the prompt) before the next blocking step.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---- Mouse on the measurement plot ----

void TForm1::FastGraph1MouseDown(Qt::MouseButton button, int x, int) {
    ymt::TFastGraph& graph = *fastgraph1;
    if (button == Qt::LeftButton) {
        measurementDrag_.press(graph, x);
        return;
    }
    // Any other button steps back through the zoom history; that needs no plot rectangle (a
    // file's range may be in use before the plot was ever drawn).
    const std::optional<ymt::ZoomHistory::Entry> back = measurementDrag_.stepBack();
    if (!back)
        return;
    const ymt::ZoomHistory::Entry& window = *back;
    rangeStartEdit->setText(kHzText(window.Low));
    rangeStopEdit->setText(kHzText(window.High));
    repeatStartEdit->setText(kHzText(window.Low));
    repeatStopEdit->setText(kHzText(window.High));
    zoom(window.Low, window.High);
}

void TForm1::FastGraph1MouseMove(Qt::MouseButton, int x, int) {
    measurementDrag_.move(*fastgraph1, x);
}

void TForm1::FastGraph1MouseUp(Qt::MouseButton button, int x, int) {
    ymt::TFastGraph& graph = *fastgraph1;
    if (button != Qt::LeftButton || !hasPlotRect(graph))
        return;
    // While a manual pick waits, the release is the click, wherever a drag started.
    if (AwaitMinClick || AwaitMaxClick) {
        const int at = measurementDrag_.cancel(graph, x);
        const double f = ymt::FrequencyAtX(at, graph.PlotLeft, graph.PlotRight, graph.XAxis.Min(),
                                           graph.XAxis.Max(), graph.XAxis.Log());
        if (AwaitMinClick) {
            const ymt::MinClickOutcome click = ymt::ManualMinClick(pickState(), f);
            applyPickState(click.State);
            Shown.FMin = click.FMin;
            showResults();
            repaintPlotNow();
        } else {
            const ymt::MaxClickOutcome click =
                ymt::ManualMaxClick(graph.store(), pickState(), Results, f, passInputs());
            applyPickState(click.State);
            applyPassOutcome(click.Pass);
            ruecksetzen();
        }
        return;
    }

    std::optional<ymt::FrequencyBand> band = measurementDrag_.release(graph, x);
    if (!band)
        return;
    // A window shown beyond the analyzer's span (a file from another analyzer) must not send
    // frequencies it cannot sweep.
    const double low = std::clamp(band->Low, AnalyzerMin, AnalyzerMax);
    const double high = std::clamp(band->High, AnalyzerMin, AnalyzerMax);
    if (high - low < ymt::MinimumZoomSpan(low, high))
        return;
    band = ymt::FrequencyBand{low, high};
    ZoomHistory.push(band->High, band->Low);
    zoom(band->High, band->Low);
    rangeStartEdit->setText(kHzText(band->Low));
    rangeStopEdit->setText(kHzText(band->High));
}

void TForm1::fastgraph1AfterPaint(QPainter& painter) {
    // Images and printouts of the plot carry neither markers nor prompt.
    if (!fastgraph1->drawingForScreen())
        return;
    // A new picture has no cursor line or band on it.
    fastgraph1->clearCursorLine();
    fastgraph1->clearBand();
    ymt::DrawMarkersAndPrompt(*fastgraph1, painter, MinMarker, MaxMarker, ShowMarkers, PlotPrompt);
}

// ---- Display pair and log scales ----

void TForm1::ComboBox1Change() {
    clearCircuitFit();
    DisplayCode = std::max(displayPairList->currentIndex(), 0) + 1;
    Analyzer.SelectFunction(DisplayCode);
    zoom(RangeStop, RangeStart);
    const ymt::DisplayPairTexts texts = ymt::DisplayPairCaptions(DisplayCode);
    fastgraph1->YAxis.setTitle(texts.YAxisTitle);
    fastgraph1->Y2Axis.setTitle(texts.Y2AxisTitle);
    logZCheck->setText(texts.LeftLogCaption);
    logThetaCheck->setText(texts.RightLogCaption);
    ymt::RebuildDisplayCurves(fastgraph1->store(), DisplayCode, Sample);
    zoom(RangeStop, RangeStart);
    // The curves changed while the window stayed the same: draw them.
    fastgraph1->replot();
}

void TForm1::CheckBox1Click() {
    Analyzer.SetDisplayScales(logZCheck->isChecked(), logThetaCheck->isChecked());
    fastgraph1->YAxis.setLog(logZCheck->isChecked());
}

void TForm1::CheckBox2Click() {
    Analyzer.SetDisplayScales(logZCheck->isChecked(), logThetaCheck->isChecked());
    fastgraph1->Y2Axis.setLog(logThetaCheck->isChecked());
}

// The frequency axis only: the analyzer's display and the sweep stay as they are.
void TForm1::CheckBox27Click() {
    fastgraph1->XAxis.setLog(logFrequencyCheck->isChecked());
}

// ---- Display options of tab "Options" ----

void TForm1::applyLineWidthField(QLineEdit* field, int curve) {
    const int width = ymt::ReadLineWidth(field->text());
    field->setText(ymt::IntText(width));
    ymt::ApplyLineWidth(*fastgraph1, curve, width, qgraph);
    fastgraph1->replot();
}

void TForm1::Edit13Exit() {
    applyLineWidthField(width1Edit, 1);
}

void TForm1::Edit16Exit() {
    applyLineWidthField(width2Edit, 2);
}

void TForm1::chooseCurveColor(QFrame* swatch, int curve) {
    const std::optional<ymt::Color> chosen = dialogs().chooseColor(ymt::form::swatchColor(swatch));
    if (!chosen)
        return;
    ymt::form::setSwatchColor(swatch, *chosen);
    // Shown at the next drawing of the plot.
    fastgraph1->store().setColor(curve, *chosen);
}

void TForm1::Button15Click() {
    chooseCurveColor(color1Swatch, 1);
}

void TForm1::Button16Click() {
    chooseCurveColor(color2Swatch, 2);
}

void TForm1::CheckBox5Click() {
    fastgraph1->setShowPoints(showPointsCheck->isChecked());
}
