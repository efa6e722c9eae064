// "Material Constants" on tab "Measurement": the mode's elastic, piezoelectric and dielectric
// constants from the resonance, the sample's dimensions and density (tab "Sample"), in a window
// of their own that adds them to the protocol or copies them as text. The window only shows what
// MaterialConstantsReport formats, so that window, protocol, clipboard and state agree.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "plot/FastGraph.h"

#include <QClipboard>
#include <QDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <limits>

using namespace ymt::form;

QWidget* TForm1::buildMaterialInputsGroup() {
    auto* group = groupBox("GroupBoxMaterial", QStringLiteral("Material Constants"));
    auto* grid = new QGridLayout(group);
    // Empty until typed: a density the operator never gave is named missing, not taken as 0.
    densityEdit = edit("DensityEdit", {});
    addRow(grid, 0, "LabelDensity", QStringLiteral("Density [kg/m^3]"), densityEdit);
    // Used for a disc when no radial overtone gives the ratio.
    poissonEdit = edit("PoissonEdit", QStringLiteral("0.31"));
    addRow(grid, 1, "LabelPoisson", QStringLiteral("Poisson's Ratio (Disc)"), poissonEdit);
    Sample.PoissonRatio = ymt::kDefaultPoissonRatio;
    leaveHandlers_.attach(densityEdit,
                          [this] { applyMaterialField(densityEdit, Sample.DensityKgM3); });
    leaveHandlers_.attach(poissonEdit,
                          [this] { applyMaterialField(poissonEdit, Sample.PoissonRatio); });
    return group;
}

void TForm1::applyMaterialField(QLineEdit* field, std::optional<double>& value) {
    if (field->text().trimmed().isEmpty()) {
        value.reset();
        return;
    }
    const ymt::FloatConversion typed = ymt::StrictFloat(field->text());
    if (!typed.value) {
        dialogs().showMessage(ymt::MessageKind::Error, typed.error, ymt::ButtonSet::OK);
        field->setText(value ? QString::number(*value, 'g', 6) : QString());
        return;
    }
    value = *typed.value;
}

QWidget* TForm1::buildMaterialConstantsCommand() {
    const QString title = QStringLiteral("Material Constants");
    auto* command = button("MaterialButton", title,
                           QStringLiteral("The mode's material constants from fs, fp, the "
                                          "dimensions and the density of tab Sample"));
    connect(command, &QPushButton::clicked, this, &TForm1::MaterialConstantsClick);

    materialDialog = new QDialog(this, Qt::Tool);
    materialDialog->setObjectName(QStringLiteral("MaterialDialog"));
    materialDialog->setWindowTitle(title);
    materialText = new QPlainTextEdit;
    materialText->setObjectName(QStringLiteral("MaterialText"));
    materialText->setReadOnly(true);
    materialText->setLineWrapMode(QPlainTextEdit::NoWrap);
    materialText->setMinimumSize(520, 380);
    auto* protocol = button("MaterialProtocolButton", QStringLiteral("Add to Protocol"));
    auto* copy = button("MaterialCopyButton", QStringLiteral("Copy"));
    auto* close = button("MaterialCloseButton", QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(protocol);
    buttons->addWidget(copy);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(materialDialog);
    layout->addWidget(materialText);
    layout->addLayout(buttons);
    connect(protocol, &QPushButton::clicked, this, &TForm1::MaterialProtocolClick);
    connect(copy, &QPushButton::clicked, this, &TForm1::MaterialCopyClick);
    connect(close, &QPushButton::clicked, materialDialog, &QDialog::hide);
    // A closed window shows nothing, and the state then carries no constants.
    connect(materialDialog, &QDialog::finished, this, [this] { MaterialShown.reset(); });
    connect(close, &QPushButton::clicked, this, [this] { MaterialShown.reset(); });
    return command;
}

void TForm1::MaterialConstantsClick() {
    // The fields not yet left count as typed.
    applyMaterialField(densityEdit, Sample.DensityKgM3);
    applyMaterialField(poissonEdit, Sample.PoissonRatio);
    ymt::MaterialWindowInputs inputs;
    inputs.Mode = couplingModeList->currentIndex();
    inputs.Sample = Sample;
    inputs.Fit = CircuitFit;
    inputs.FMinKHz = Results.FMin;
    inputs.FMaxKHz = Results.FMax;
    inputs.CapNF = Results.CapNF;
    inputs.CapFrequencyKHz = capFrequencyEdit->text();
    inputs.Q3dB = Results.Q3dB;
    if (inputs.Mode == ymt::ModeKp) {
        // The whole stored spectrum, not only the displayed window: the overtone lies above it.
        const double fsKHz = CircuitFit ? CircuitFit->SeriesResonanceKHz : Results.FMin;
        inputs.SecondRadialFsKHz = ymt::FindRadialOvertoneKHz(
            ymt::PointsInWindow(fastgraph1->store(), 0, std::numeric_limits<double>::max()), fsKHz);
    }
    MaterialShown = ymt::BuildMaterialReport(inputs);
    materialText->setPlainText(ymt::MaterialReportText(*MaterialShown));
    materialDialog->show();
    materialDialog->raise();
}

// After a language switch the open window reads in the new language; its numbers stay.
void TForm1::rerenderMaterialText() {
    if (MaterialShown)
        materialText->setPlainText(ymt::MaterialReportText(*MaterialShown));
}

void TForm1::MaterialProtocolClick() {
    if (!MaterialShown || MaterialShown->Result.Constants.empty())
        return;
    Memo2->appendPlainText(ymt::MaterialProtocolLine(Sample.SampleName, *MaterialShown));
    ProtocolChanged = true;
}

void TForm1::MaterialCopyClick() {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(materialText->toPlainText());
}

void TForm1::appendMaterialState(QStringList& lines) const {
    if (materialDialog && materialDialog->isVisible() && MaterialShown)
        lines << ymt::MaterialStateLines(&*MaterialShown);
}
