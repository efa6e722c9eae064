// Tab "Repeat Measurement": the series plot and the settings of a repeat measurement.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "plot/FastGraph.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace ymt::form;

QWidget* TForm1::buildRepeatTab() {
    dauergraph = new ymt::TFastGraph;
    dauergraph->setObjectName(QStringLiteral("dauergraph"));
    dauergraph->setMinimumSize(300, 200);

    auto* fields = new QGridLayout;
    intervalEdit = edit("Edit28", QStringLiteral("0.5"));
    durationEdit = edit("Edit29", QStringLiteral("300"));
    seriesFileEdit = edit("Edit30", {});
    seriesFileEdit->setMinimumWidth(220);
    addRow(fields, 0, "Label68", QStringLiteral("Interval (min)"), intervalEdit);
    addRow(fields, 1, "Label69", QStringLiteral("Duration (min)"), durationEdit);
    addRow(fields, 2, "Label70", QStringLiteral("Filename"), seriesFileEdit);

    auto* range = groupBox("GroupBox10", QStringLiteral("Frequency Range [kHz]"));
    auto* rangeGrid = new QGridLayout(range);
    repeatStartEdit = edit("Edit33", QStringLiteral("0.040"));
    repeatStopEdit = edit("Edit34", QStringLiteral("110000.000"));
    addRow(rangeGrid, 0, "Label71", QStringLiteral("Start"), repeatStartEdit);
    addRow(rangeGrid, 1, "Label72", QStringLiteral("Stop"), repeatStopEdit);

    repeatButton = disabled(button("Button27", QStringLiteral("Repeat Measurement Start")));
    saveEachSpectrumCheck = checkBox("CheckBox22", QStringLiteral("Save each spectrum separately"));
    refineCheck = checkBox("CheckBox26", QStringLiteral("Increase freqency precision by 10"), true);
    saveEachDiagramCheck =
        hidden(checkBox("CheckBox15", QStringLiteral("Save each Repeat Diagram")));
    auto* options = new QVBoxLayout;
    options->addWidget(repeatButton);
    options->addWidget(refineCheck);
    options->addWidget(saveEachSpectrumCheck);
    options->addWidget(saveEachDiagramCheck);
    options->addStretch(1);

    auto* panel = new QHBoxLayout;
    panel->addLayout(fields, 1);
    panel->addWidget(range);
    panel->addLayout(options);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(dauergraph, 1);
    layout->addLayout(panel);

    connect(repeatButton, &QPushButton::clicked, this, &TForm1::Button27Click);
    onLeave(intervalEdit, &TForm1::Edit28Exit);
    onLeave(durationEdit, &TForm1::Edit29Exit);
    onLeave(repeatStartEdit, &TForm1::Edit33Exit);
    onLeave(repeatStopEdit, &TForm1::Edit34Exit);
    return page;
}
