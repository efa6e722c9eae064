// "CT / eps / tand": the single-frequency measurement of C, tand and eps(rel), its frequency
// field and the loss-tangent unit.
#include "app/MainWindow.h"

#include "core/Misc.h"
#include "evaluation/Capacitance.h"
#include "localisation/TextTables.h"
#include "plot/FastGraph.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

// "Number of points" is a whole number without a leave handler; other text takes its default.
int capacitancePoints(const QString& text) {
    bool whole = false;
    const int points = text.trimmed().toInt(&whole);
    return whole && points >= 1 ? points : 10;
}

} // namespace

int TForm1::lossTangentUnit() const {
    return tandUnitList->currentIndex() == 0 ? 0 : 1;
}

void TForm1::showCapacitanceLabels() {
    capValue->setText(ymt::CapacitanceLabel(Results.CapNF));
    tandValue->setText(
        ymt::LossTangentLabel(Results.TanD, static_cast<ymt::LossTangentUnit>(lossTangentUnit())));
    epsValue->setText(ymt::PermittivityLabel(Results.EpsRel));
}

void TForm1::Button8Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PlotPrompt = ymt::Message(3);
    repaintPlotNow();
    for (QLabel* value : {capValue, tandValue, epsValue})
        value->setText(QStringLiteral("---"));
    Results.ZAvg = 0;
    Results.ThetaAvg = 0;

    const double frequency = ymt::ParseNumber(capFrequencyEdit->text());
    Analyzer.MeasureSpot(capacitancePoints(capPointsEdit->text()), Results.ZAvg, Results.ThetaAvg,
                         frequency);
    // Without a reading the results are 0 ("---"), not the previous sample's values.
    const ymt::CapacitanceValues values =
        ymt::CapacitanceFromReading(frequency, Results.ZAvg, Results.ThetaAvg);
    Results.CapNF = values.CapNF;
    Results.TanD = values.TanD;
    Results.EpsRel =
        ymt::RelativePermittivity(Results.CapNF, Sample.ElectrodeDistance, Sample.ElectrodeArea);
    showCapacitanceLabels();

    qcontrol();
    ruecksetzen();
    if (autoProtocolCheck->isChecked())
        Button2Click();
    PlotPrompt.clear();
    repaintPlotNow();
    QApplication::restoreOverrideCursor();
}

void TForm1::Edit7Exit() {
    double frequency = ymt::ParseNumber(capFrequencyEdit->text());
    if (frequency <= 0)
        frequency = 1.0;
    // The analyzer measures only inside its own span.
    frequency = std::clamp(frequency, AnalyzerMin, AnalyzerMax);
    capFrequencyEdit->setText(ymt::FixedText(frequency, 1, 3));
    HeaderChanged = true;
}

void TForm1::ComboBox10Change() {
    updateLossTangentCaption();
    if (tandValue->text() != QStringLiteral("---"))
        tandValue->setText(ymt::LossTangentLabel(
            Results.TanD, static_cast<ymt::LossTangentUnit>(lossTangentUnit())));
    // The protocol's column titles name the unit.
    HeaderChanged = true;
}
