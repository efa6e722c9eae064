// "Fit Equivalent Circuit" on tab "Measurement": the circuit fitted to the displayed window, its
// results in a small window of their own, the fitted curves over the measured ones and the
// protocol line the operator may add. The Parts' results and labels are left as they are.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "evaluation/EquivalentCircuitReport.h"
#include "plot/FastGraph.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace ymt::form;

namespace {

// Captions and component names of the result labels, in the order of CircuitFitTexts.
struct FitRow {
    const char* name;
    const char* captionName;
    const char* caption;
    QString ymt::CircuitFitTexts::*text;
};
const FitRow kFitRows[] = {
    {"FitValueC0", "FitCaptionC0", "C0  [nF]", &ymt::CircuitFitTexts::C0},
    {"FitValueTand", "FitCaptionTand", "tand of C0  [1e-4]", &ymt::CircuitFitTexts::LossTangent},
    {"FitValueR1", "FitCaptionR1", "R1  [Ohm]", &ymt::CircuitFitTexts::R1},
    {"FitValueL1", "FitCaptionL1", "L1  [mH]", &ymt::CircuitFitTexts::L1},
    {"FitValueC1", "FitCaptionC1", "C1  [pF]", &ymt::CircuitFitTexts::C1},
    {"FitValueFs", "FitCaptionFs", "fs  [kHz]", &ymt::CircuitFitTexts::Fs},
    {"FitValueFp", "FitCaptionFp", "fp  [kHz]", &ymt::CircuitFitTexts::Fp},
    {"FitValueQm", "FitCaptionQm", "Qm", &ymt::CircuitFitTexts::Qm},
    {"FitValueKeff", "FitCaptionKeff", "k(eff)  [%]", &ymt::CircuitFitTexts::KEff},
    {"FitValueRms", "FitCaptionRms", "RMS residual  [%]", &ymt::CircuitFitTexts::Rms},
    {"FitValuePoints", "FitCaptionPoints", "Points", &ymt::CircuitFitTexts::Points},
};
} // namespace

QWidget* TForm1::buildCircuitFitCommand() {
    static_assert(std::size(kFitRows) == std::tuple_size_v<decltype(CircuitFitValues)>);
    auto* command = button("FitCircuitButton", QStringLiteral("Fit Equivalent Circuit"),
                           QStringLiteral("Fits C0 || R1-L1-C1 to |Z| and theta of the "
                                          "displayed window"));
    connect(command, &QPushButton::clicked, this, &TForm1::FitCircuitClick);

    circuitFitDialog = new QDialog(this, Qt::Tool);
    circuitFitDialog->setObjectName(QStringLiteral("CircuitFitDialog"));
    circuitFitDialog->setWindowTitle(QStringLiteral("Equivalent Circuit"));
    auto* grid = new QGridLayout;
    for (size_t row = 0; row < std::size(kFitRows); ++row) {
        QLabel* value = label(kFitRows[row].name, QStringLiteral("---"));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(90);
        value->setFrameShape(QFrame::StyledPanel);
        value->setFrameShadow(QFrame::Sunken);
        CircuitFitValues[row] = value;
        grid->addWidget(
            label(kFitRows[row].captionName, QString::fromLatin1(kFitRows[row].caption)), int(row),
            0);
        grid->addWidget(value, int(row), 1);
    }
    circuitFitProtocolButton = button("FitProtocolButton", QStringLiteral("Add to Protocol"),
                                      QStringLiteral("Appends fs, fp and Qm to the protocol"));
    circuitFitProtocolButton->setEnabled(false);
    auto* close = button("FitCloseButton", QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(circuitFitProtocolButton);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(circuitFitDialog);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    connect(circuitFitProtocolButton, &QPushButton::clicked, this, &TForm1::FitProtocolClick);
    connect(close, &QPushButton::clicked, circuitFitDialog, &QDialog::hide);
    return command;
}

void TForm1::FitCircuitClick() {
    clearCircuitFit();
    const ymt::CurveStore& store = fastgraph1->store();
    const std::vector<ymt::ImpedancePoint> points =
        ymt::PointsInWindow(store, fastgraph1->XAxis.Min(), fastgraph1->XAxis.Max());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ymt::FitOutcome outcome = ymt::FitEquivalentCircuit(points);
    QApplication::restoreOverrideCursor();
    if (!outcome.Fit) {
        fastgraph1->replot();
        dialogs().showMessage(ymt::MessageKind::Error, outcome.Message, ymt::ButtonSet::OK);
        return;
    }
    CircuitFit = outcome.Fit;
    const ymt::CircuitFitTexts texts = ymt::FormatCircuitFit(*CircuitFit);
    for (size_t row = 0; row < std::size(kFitRows); ++row)
        CircuitFitValues[row]->setText(texts.*kFitRows[row].text);
    circuitFitProtocolButton->setEnabled(true);

    std::vector<double> frequencies;
    frequencies.reserve(points.size());
    for (const ymt::ImpedancePoint& point : points)
        frequencies.push_back(point.FrequencyKHz);
    ymt::StoreFittedCurves(fastgraph1->store(), CircuitFit->Circuit, frequencies, DisplayCode,
                           Sample);
    fastgraph1->replot();
    circuitFitDialog->show();
    circuitFitDialog->raise();
}

void TForm1::FitProtocolClick() {
    if (!CircuitFit)
        return;
    Memo2->appendPlainText(ymt::CircuitFitProtocolLine(Sample.SampleName, *CircuitFit));
    ProtocolChanged = true;
}

void TForm1::clearCircuitFit() {
    CircuitFit.reset();
    if (!circuitFitDialog)
        return;
    for (QLabel* value : CircuitFitValues)
        value->setText(QStringLiteral("---"));
    circuitFitProtocolButton->setEnabled(false);
    ymt::ClearFittedCurves(fastgraph1->store());
}

void TForm1::appendCircuitFitState(QStringList& lines) const {
    const ymt::EquivalentCircuit fit = CircuitFit.value_or(ymt::EquivalentCircuit{});
    const ymt::ButterworthVanDyke& c = fit.Circuit;
    const struct {
        const char* key;
        double value;
    } values[] = {
        {"fit.C0", c.C0 * 1e9},
        {"fit.tand", c.LossTangent},
        {"fit.R1", c.R1},
        {"fit.L1", c.L1 * 1e3},
        {"fit.C1", c.C1 * 1e12},
        {"fit.fs", fit.SeriesResonanceKHz},
        {"fit.fp", fit.ParallelResonanceKHz},
        {"fit.Qm", fit.QualityFactor},
        {"fit.keff", fit.CouplingFactor * 100},
        {"fit.rms", fit.RelativeRms * 100},
        {"fit.points", double(fit.Points)},
    };
    for (const auto& entry : values)
        lines << QString::fromLatin1(entry.key) + QLatin1Char('=') +
                     QString::asprintf("%.17g", entry.value);
}
