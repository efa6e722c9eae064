// The result labels of tab "Measurement" and the snapshot of results and sample description
// that the spectrum file, the printout, the protocol and the quality control read.
#include "app/MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

void TForm1::showResults() {
    const std::pair<QLabel*, const ymt::ResultValue*> labels[] = {
        {capValue, &Shown.Cap},   {tandValue, &Shown.TanD},   {epsValue, &Shown.Eps},
        {rsValue, &Shown.Rs},     {fminValue, &Shown.FMin},   {fmaxValue, &Shown.FMax},
        {keffValue, &Shown.KEff}, {kmodeValue, &Shown.KMode}, {q3dbValue, &Shown.Q3dB},
        {b3dbValue, &Shown.B3dB}, {dValue, &Shown.DeltaLgR}};
    for (const auto& [label, result] : labels)
        label->setText(ymt::ResultText(*result));
}

ymt::ResultsSnapshot TForm1::resultsSnapshot() const {
    ymt::ResultsSnapshot snapshot;
    snapshot.Sample = Sample;
    snapshot.SampleNameText = sampleNameEdit->text();
    snapshot.NotesText = recordNotes();
    snapshot.ElectrodeDistanceText = distanceEdit->text();
    snapshot.ElectrodeAreaText = areaEdit->text();
    snapshot.Averaging = averagingEdit->text();
    snapshot.Voltage = oscLevelEdit->text();
    snapshot.Bias = biasLevelEdit->text();
    snapshot.CapFrequency = capFrequencyEdit->text();
    snapshot.TandUnit = tandUnitList->currentText();
    snapshot.ModeCaption = modeCaption->text();
    snapshot.Shown = Shown;
    snapshot.Values = Results;
    return snapshot;
}
