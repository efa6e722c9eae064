// Tab "Measurement": the measurement plot, the acquisition controls at its right and the
// result panel with the quality-control verdicts below it.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "evaluation/CouplingFactors.h"
#include "plot/FastGraph.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace ymt::form;

namespace {

QLabel* valueLabel(const char* name) {
    QLabel* value = label(name, QStringLiteral("---"));
    value->setMinimumWidth(64);
    value->setMaximumWidth(140);
    value->setFrameShape(QFrame::StyledPanel);
    value->setFrameShadow(QFrame::Sunken);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return value;
}

} // namespace

QWidget* TForm1::buildMeasurementTab() {
    fastgraph1 = new ymt::TFastGraph;
    fastgraph1->setObjectName(QStringLiteral("fastgraph1"));
    fastgraph1->setMinimumSize(300, 200);

    auto* upper = new QHBoxLayout;
    upper->addWidget(fastgraph1, 1);
    upper->addWidget(buildMeasurementSidePanel());

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(upper, 1);
    layout->addWidget(buildResultPanel());
    return page;
}

QWidget* TForm1::buildMeasurementSidePanel() {
    auto* panel = new QWidget;
    panel->setFixedWidth(190);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    logZCheck = checkBox("CheckBox1", QStringLiteral("|Z| logarithmic"), true);
    logThetaCheck = checkBox("CheckBox2", QStringLiteral("theta logarithmic"));
    logFrequencyCheck = checkBox("CheckBox27", QStringLiteral("Frequency logarithmic"));
    displayPairList =
        comboBox("ComboBox1", {QStringLiteral("|Z| - theta"), QStringLiteral("Rs - X"),
                               QStringLiteral("Ls - Rs"),     QStringLiteral("Ls - Q"),
                               QStringLiteral("Cs - Rs"),     QStringLiteral("Cs - Q"),
                               QStringLiteral("Cs - D"),      QStringLiteral("|Y| - -theta"),
                               QStringLiteral("G - B"),       QStringLiteral("Lp - G"),
                               QStringLiteral("Lp - Q"),      QStringLiteral("Cp - G"),
                               QStringLiteral("Cp - Q"),      QStringLiteral("Cp - D"),
                               QStringLiteral("|Z| - Ls"),    QStringLiteral("|Z| - Cs"),
                               QStringLiteral("|Z| - Lp"),    QStringLiteral("|Z| - Cp"),
                               QStringLiteral("Lp - Rp"),     QStringLiteral("Cp - Rp"),
                               QStringLiteral("eps' - eps''")},
                 0);
    displayPairList->setMaxVisibleItems(21);
    column->addWidget(logZCheck);
    column->addWidget(logThetaCheck);
    column->addWidget(logFrequencyCheck);
    column->addWidget(displayPairList);

    auto* range = groupBox("GroupBox7", QStringLiteral("Frequency Range [kHz]"));
    auto* rangeGrid = new QGridLayout(range);
    rangeStartEdit = edit("Edit1", QStringLiteral("0.040"));
    rangeStopEdit = edit("Edit2", QStringLiteral("110000.000"));
    addRow(rangeGrid, 0, "Label29", QStringLiteral("Start"), rangeStartEdit);
    addRow(rangeGrid, 1, "Label30", QStringLiteral("Stop"), rangeStopEdit);
    column->addWidget(range);

    readNewButton = disabled(button("Button6", QStringLiteral("Read New Spectrum")));
    readMoreButton = disabled(button("Button7", QStringLiteral("Read More Points")));
    column->addWidget(readNewButton);
    column->addWidget(readMoreButton);

    // The additional controls, shown by "Show Additional Controls" on tab "Options".
    auto* extra = new QGridLayout;
    measurementNameEdit = edit("Edit27", {});
    measurementNameLabel = label("Label32", QStringLiteral("Sample Name"));
    thicknessEdit = edit("Edit25", QStringLiteral("1.000"));
    thicknessLabel = label("Label33", QStringLiteral("Sample Thickness"));
    extra->addWidget(measurementNameLabel, 0, 0, 1, 2);
    extra->addWidget(measurementNameEdit, 1, 0, 1, 2);
    extra->addWidget(thicknessLabel, 2, 0, 1, 2);
    extra->addWidget(thicknessEdit, 3, 0, 1, 2);
    saveButton = button("Button25", QStringLiteral("Save"));
    printButton = button("Button26", QStringLiteral("Print..."));
    extra->addWidget(saveButton, 4, 0);
    extra->addWidget(printButton, 4, 1);
    column->addLayout(extra);
    quilsButton = hidden(button("Button32", QStringLiteral("Quil's Button")));
    column->addWidget(quilsButton);
    column->addStretch(1);

    connect(logZCheck, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(logThetaCheck, &QCheckBox::clicked, this, &TForm1::CheckBox2Click);
    connect(logFrequencyCheck, &QCheckBox::clicked, this, &TForm1::CheckBox27Click);
    connect(displayPairList, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    connect(readNewButton, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(readMoreButton, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(saveButton, &QPushButton::clicked, this, &TForm1::Speichern1Click);
    connect(printButton, &QPushButton::clicked, this, &TForm1::Button26Click);
    connect(quilsButton, &QPushButton::clicked, this, &TForm1::Button32Click);
    onLeave(rangeStartEdit, &TForm1::Edit1Exit);
    onLeave(rangeStopEdit, &TForm1::Edit2Exit);
    onLeave(measurementNameEdit, &TForm1::Edit27Exit);
    // Edit9Exit of the thickness field: the distance is taken from the field that was left.
    leaveHandlers_.attach(thicknessEdit, [this] { applyElectrodeDistance(thicknessEdit); });
    return panel;
}

QWidget* TForm1::buildResultPanel() {
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);

    auto* commands = new QHBoxLayout;
    capacitanceButton = disabled(button("Button8", QStringLiteral("CT / eps / tand")));
    couplingButton = button("Button10", QStringLiteral("Coupling Factor"));
    couplingManualButton = button("Button9", QStringLiteral("Coupling Factor Manual"));
    QStringList modeItems;
    for (int mode = 0; mode < ymt::kCouplingModeCount; ++mode)
        modeItems << ymt::ModeListItem(mode);
    couplingModeList = comboBox("ComboBox4", modeItems, ymt::kDefaultCouplingMode);
    commands->addWidget(capacitanceButton);
    commands->addWidget(couplingButton);
    commands->addWidget(couplingManualButton);
    commands->addWidget(couplingModeList);
    commands->addWidget(buildCircuitFitCommand());
    commands->addWidget(buildMaterialConstantsCommand());
    commands->addStretch(1);
    column->addLayout(commands);
    auto* row = new QHBoxLayout;
    column->addLayout(row);

    // Caption and value label of each result, in three column pairs.
    auto* results = new QGridLayout;
    results->setHorizontalSpacing(6);
    results->setVerticalSpacing(2);
    const struct {
        const char* captionName;
        QString caption;
        const char* valueName;
        QLabel** value;
        QLabel** captionLabel;
    } cells[] = {
        {"Label34", QStringLiteral("C (1kHz)   [nF]"), "Label45", &capValue, nullptr},
        {"Label35", QStringLiteral("tand      [1E-4]"), "Label46", &tandValue, &tandCaption},
        {"Label36", QStringLiteral("eps (rel)"), "Label47", &epsValue, nullptr},
        {"Label37", QStringLiteral("Rs         [Ohm]"), "Label48", &rsValue, nullptr},
        {"Label38", QStringLiteral("f(min)      [kHz]"), "Label49", &fminValue, nullptr},
        {"Label39", QStringLiteral("f(max)     [kHz]"), "Label50", &fmaxValue, nullptr},
        {"Label43", QStringLiteral("Q (3dB)"), "Label54", &q3dbValue, nullptr},
        {"Label44", QStringLiteral("B (3dB) [kHz]"), "Label55", &b3dbValue, nullptr},
        {"Label41", QStringLiteral("k(eff)    [%]"), "Label52", &keffValue, nullptr},
        {"Label42", QStringLiteral("kt         [%]"), "Label53", &kmodeValue, &modeCaption},
        {"Label40", QStringLiteral("D [delta lgR]"), "Label51", &dValue, nullptr},
    };
    int index = 0;
    for (const auto& cell : cells) {
        const int column = (index / 4) * 2;
        QLabel* caption = label(cell.captionName, cell.caption);
        *cell.value = valueLabel(cell.valueName);
        if (cell.captionLabel)
            *cell.captionLabel = caption;
        results->addWidget(caption, index % 4, column);
        results->addWidget(*cell.value, index % 4, column + 1);
        ++index;
    }
    row->addLayout(results);
    row->addStretch(1);

    auto* qc = groupBox("GroupBox8", QStringLiteral("Quality Control"));
    auto* qcGrid = new QGridLayout(qc);
    qcGrid->setVerticalSpacing(2);
    const struct {
        const char* captionName;
        QString caption;
        const char* valueName;
        QLabel** value;
    } verdicts[] = {
        {"Label56", QStringLiteral("C"), "Label61", &qcCapVerdict},
        {"Label57", QStringLiteral("tand"), "Label62", &qcTandVerdict},
        {"Label58", QStringLiteral("k(eff)"), "Label63", &qcKeffVerdict},
        {"Label59", QStringLiteral("k"), "Label64", &qcKVerdict},
        {"Label60", QStringLiteral("f(min)"), "Label65", &qcFminVerdict},
    };
    index = 0;
    for (const auto& verdict : verdicts) {
        QLabel* caption = label(verdict.captionName, verdict.caption);
        if (verdict.value == &qcKVerdict)
            qcModeVerdictCaption = caption;
        qcVerdictCaptions[std::size_t(index)] = caption;
        *verdict.value = label(verdict.valueName, QStringLiteral("---"));
        (*verdict.value)->setMinimumWidth(60);
        qcGrid->addWidget(caption, index % 3, (index / 3) * 2);
        qcGrid->addWidget(*verdict.value, index % 3, (index / 3) * 2 + 1);
        ++index;
    }
    row->addWidget(qc);

    connect(capacitanceButton, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(couplingButton, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(couplingManualButton, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(couplingModeList, &QComboBox::activated, this, &TForm1::ComboBox4Change);
    return panel;
}

// One key runs the whole routine, each step finished before the next.
void TForm1::Button32Click() {
    Button7Click();
    Button8Click();
    Button10Click();
}
