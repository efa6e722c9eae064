// "CT / eps / tand": the single-frequency measurement of C, tand and eps(rel), its frequency
// field and the loss-tangent unit.
#include "app/MainWindow.h"

#include "core/Misc.h"
#include "evaluation/Capacitance.h"
#include "localisation/TextTables.h"
#include "measurement/SpectrumAcquisition.h"
#include "plot/FastGraph.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

int TForm1::lossTangentUnit() const {
    return tandUnitList->currentIndex() == 0 ? 0 : 1;
}

void TForm1::showCapacitanceLabels() {
    Shown.Cap = ymt::CapacitanceResult(Results.CapNF);
    Shown.TanD =
        ymt::LossTangentResult(Results.TanD, static_cast<ymt::LossTangentUnit>(lossTangentUnit()));
    Shown.Eps = ymt::PermittivityResult(Results.EpsRel);
    showResults();
}

void TForm1::Button8Click() {
    analyzerFailures_.clear();
    measureCapacitance(true);
    reportAnalyzerFailures();
}

void TForm1::measureCapacitance(bool followUps) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PlotPrompt = ymt::Message(ymt::Msg::MeasuringCapacitance);
    repaintPlotNow();
    Shown.Cap = Shown.TanD = Shown.Eps = {};
    showResults();
    Results.ZAvg = 0;
    Results.ThetaAvg = 0;

    // The analyzer measures only inside its span: C is computed at the frequency it measured.
    SpotFrequency = applySpotFrequency();
    const ymt::SpotOutcome spot =
        acquisition().measureSpot(SpotFrequency, ymt::CapacitancePointCount(capPointsEdit->text()),
                                  Sample.ElectrodeDistance, Sample.ElectrodeArea);
    takeAcquisitionNotes();
    Results.ZAvg = spot.zAvg;
    Results.ThetaAvg = spot.thetaAvg;
    Results.CapNF = spot.capNF;
    Results.TanD = spot.tanD;
    Results.EpsRel = spot.epsRel;
    showCapacitanceLabels();

    if (followUps)
        qcontrol();
    ruecksetzen();
    if (followUps && autoProtocolCheck->isChecked())
        Button2Click();
    PlotPrompt.clear();
    repaintPlotNow();
    QApplication::restoreOverrideCursor();
}

double TForm1::applySpotFrequency() {
    const double frequency =
        ymt::SpotFrequencyOf(capFrequencyEdit->text(), AnalyzerMin, AnalyzerMax);
    const QString shown = ymt::FixedText(frequency, 1, 3);
    // The protocol's column title names the frequency.
    if (shown != capFrequencyEdit->text())
        HeaderChanged = true;
    capFrequencyEdit->setText(shown);
    return frequency;
}

void TForm1::Edit7Exit() {
    applySpotFrequency();
    HeaderChanged = true;
}

void TForm1::ComboBox10Change() {
    updateLossTangentCaption();
    if (Shown.TanD.IsDetermined()) {
        Shown.TanD = ymt::LossTangentResult(Results.TanD,
                                            static_cast<ymt::LossTangentUnit>(lossTangentUnit()));
        showResults();
    }
    // The protocol's column titles name the unit.
    HeaderChanged = true;
}
