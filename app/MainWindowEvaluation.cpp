// The evaluation as the window runs it: "Coupling Factor", the manual determination, the mode
// selector and the thresholds. The window reads its controls, calls the evaluation and writes
// labels, markers and message boxes back.
#include "app/MainWindow.h"
#include "evaluation/CouplingFactorCommand.h"
#include "evaluation/CouplingFactors.h"
#include "evaluation/Thresholds.h"
#include "plot/FastGraph.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

ymt::MessageKind messageKind(ymt::EvaluationMessageKind kind) {
    switch (kind) {
    case ymt::EvaluationMessageKind::Error:
        return ymt::MessageKind::Error;
    case ymt::EvaluationMessageKind::Warning:
        return ymt::MessageKind::Warning;
    case ymt::EvaluationMessageKind::Information:
        return ymt::MessageKind::Information;
    }
    return ymt::MessageKind::Error;
}

ymt::ButtonSet buttonSet(ymt::EvaluationButtons buttons) {
    switch (buttons) {
    case ymt::EvaluationButtons::OK:
        return ymt::ButtonSet::OK;
    case ymt::EvaluationButtons::OKAbortIgnore:
        return ymt::ButtonSet::OKAbortIgnore;
    }
    return ymt::ButtonSet::OK;
}

// The hourglass while the search walks the spectrum.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

void applyThresholdField(QLineEdit* field, ymt::DialogInterface& dialogs) {
    const ymt::ThresholdEditOutcome outcome = ymt::ThresholdEditExit(field->text());
    if (const auto& warning = outcome.Warning)
        dialogs.showMessage(messageKind(warning->Kind), warning->Text, buttonSet(warning->Buttons));
    field->setText(outcome.Text);
}

} // namespace

ymt::DialogButton TForm1::showEvaluationMessage(const ymt::EvaluationMessage& message) {
    return dialogs().showMessage(messageKind(message.Kind), message.Text,
                                 buttonSet(message.Buttons));
}

ymt::PassInputs TForm1::passInputs() const {
    ymt::PassInputs inputs;
    inputs.ModePosition = couplingModeList->currentIndex();
    inputs.CouplingThresholdText = couplingPointsEdit->text();
    inputs.QThresholdText = qPointsEdit->text();
    inputs.RepeatTimerRunning = seriesRunning();
    inputs.AutomaticProtocolling = autoProtocolCheck->isChecked();
    return inputs;
}

void TForm1::applyPassOutcome(const ymt::PassOutcome& pass) {
    // The pass has reset its labels before it can complain about the pair.
    if (pass.Message) {
        Shown.KEff = Shown.KMode = Shown.Q3dB = Shown.B3dB = Shown.Rs = Shown.DeltaLgR = {};
        showResults();
        showEvaluationMessage(*pass.Message);
    }
    Results = pass.Results;
    const ymt::ShownResults& shown = pass.Shown;
    Shown.FMin = shown.FMin;
    Shown.FMax = shown.FMax;
    Shown.Rs = shown.Rs;
    Shown.Q3dB = shown.Q3dB;
    Shown.B3dB = shown.B3dB;
    Shown.DeltaLgR = shown.DeltaLgR;
    Shown.KEff = shown.KEff;
    Shown.KMode = shown.KMode;
    showResults();
    ShowMarkers = pass.ShowMarkers;
    if (pass.RunAddMeasuredData)
        Button2Click();
    if (pass.RunQControl)
        qcontrol();
}

ymt::ManualPickState TForm1::pickState() const {
    ymt::ManualPickState state;
    state.AwaitMinClick = AwaitMinClick;
    state.AwaitMaxClick = AwaitMaxClick;
    state.MinMarker = MinMarker;
    state.MaxMarker = MaxMarker;
    state.ShowMarkers = ShowMarkers;
    state.PlotPrompt = PlotPrompt;
    return state;
}

void TForm1::applyPickState(const ymt::ManualPickState& state) {
    AwaitMinClick = state.AwaitMinClick;
    AwaitMaxClick = state.AwaitMaxClick;
    MinMarker = state.MinMarker;
    MaxMarker = state.MaxMarker;
    ShowMarkers = state.ShowMarkers;
    PlotPrompt = state.PlotPrompt;
}

int TForm1::getminmax() {
    const BusyCursor busy;
    return ymt::getminmax(fastgraph1->store(), fastgraph1->XAxis.Min(), fastgraph1->XAxis.Max(),
                          Results);
}

void TForm1::koppelfaktor(double fA, double fB) {
    ymt::PassInputs inputs = passInputs();
    inputs.FA = fA;
    inputs.FB = fB;
    applyPassOutcome(ymt::koppelfaktor(fastgraph1->store(), Results, inputs));
}

void TForm1::Button10Click() {
    runCouplingFactor();
}

// "Coupling Factor": search inside the displayed window, perhaps read more points, then the pass.
bool TForm1::runCouplingFactor() {
    const ymt::CurveStore& store = fastgraph1->store();
    auto search = [&](bool afterReadMore) {
        const BusyCursor busy;
        const ymt::CouplingSearchOutcome outcome = ymt::SearchForCouplingFactor(
            store, fastgraph1->XAxis.Min(), fastgraph1->XAxis.Max(), Results,
            couplingPointsEdit->text(), readMoreButton->isEnabled(), afterReadMore);
        Results = outcome.Results;
        return outcome;
    };

    ymt::CouplingSearchOutcome found = search(false);
    if (found.Next == ymt::CommandStep::AskReadMore) {
        const ymt::DialogButton answer = showEvaluationMessage(*found.Message);
        if (answer == ymt::DialogButton::Abort)
            return false;
        if (answer == ymt::DialogButton::OK) {
            Button7Click();
            found = search(true);
        }
    }
    if (found.Next == ymt::CommandStep::Stop) {
        if (found.Message)
            showEvaluationMessage(*found.Message);
        return false;
    }

    const ymt::CouplingCommandOutcome finish =
        ymt::FinishCouplingFactorCommand(store, Results, passInputs());
    if (!finish.PassRan) {
        if (finish.Message)
            showEvaluationMessage(*finish.Message);
        return false;
    }
    applyPassOutcome(finish.Pass);
    MaxMarker = finish.MaxMarker;
    MinMarker = finish.MinMarker;
    fastgraph1->replot();
    return true;
}

// "Coupling Factor Manual": f(min) and f(max) follow as two left clicks on the plot.
void TForm1::Button9Click() {
    const ymt::ManualStartOutcome start =
        ymt::StartManualDetermination(fastgraph1->store(), pickState());
    if (start.Error) {
        showEvaluationMessage(*start.Error);
        return;
    }
    applyPickState(start.State);
    if (start.SelectImpedancePair) {
        displayPairList->setCurrentIndex(0);
        ComboBox1Change();
    }
    repaintPlotNow();
}

void TForm1::ComboBox4Change() {
    const ymt::ModeChangeOutcome change =
        ymt::ModeChange(couplingModeList->currentIndex(), Results);
    modeCaption->setText(change.ModeValueCaption);
    qcModeCaption->setText(change.SampleQcCaption);
    qcModeVerdictCaption->setText(change.MeasurementQcCaption);
    // Before the pass: a line it protocols is of another quantity and must not replace the
    // last one, written under the old mode's title.
    if (change.MarkProtocolHeaderChanged)
        HeaderChanged = true;
    if (change.ResetCProtocolValue)
        LastProtocolledCap = 0;
    if (change.RunPass)
        koppelfaktor(Results.FMax, Results.FMin);
}

void TForm1::Edit48Exit() {
    applyThresholdField(couplingPointsEdit, dialogs());
}

void TForm1::Edit49Exit() {
    applyThresholdField(qPointsEdit, dialogs());
}
