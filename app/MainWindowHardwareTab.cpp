// Tab "Hardware": the analyzer connection, the analyzer settings, the thermometer and the log.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "instrument/thermometer/Thermometer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace ymt::form;

QWidget* TForm1::buildHardwareTab() {
    auto* connection = groupBox("GroupBox3", QStringLiteral("Hardware"));
    auto* connectionGrid = new QGridLayout(connection);
    analyzerList =
        comboBox("ComboBox6", {QStringLiteral("HP 4194A"), QStringLiteral("HP 4294A")}, 0);
    addRow(connectionGrid, 0, "Label1", QStringLiteral("Analyzer"), analyzerList);
    hpibControllerEdit = edit("Edit17", QStringLiteral("gpib0"),
                              QStringLiteral("Name of the HPIB Controller in the SICL driver"));
    addRow(connectionGrid, 1, "Label2", QStringLiteral("HPIB Controller"), hpibControllerEdit);
    addressSpin = new QSpinBox;
    addressSpin->setObjectName(QStringLiteral("SpinEdit1"));
    addressSpin->setRange(1, 99);
    addressSpin->setValue(17);
    addRow(connectionGrid, 2, "Label3", QStringLiteral("HP 4x94A Address"), addressSpin);
    connectButton = button("Button12", QStringLiteral("Connect..."),
                           QStringLiteral("Connect to Impedance Analyzer"));
    connectionGrid->addWidget(connectButton, 3, 0, 1, 2);

    auto* settings = groupBox("GroupBox1", QStringLiteral("HP 4x94A Settings"));
    auto* settingsGrid = new QGridLayout(settings);
    averagingEdit =
        edit("Edit12", QStringLiteral("1"), QStringLiteral("Number of Sweeps for Averaging"));
    addRow(settingsGrid, 0, "Label4", QStringLiteral("Averaging"), averagingEdit);
    oscLevelEdit = edit("Edit14", QStringLiteral("0.500"),
                        QStringLiteral("Amplitude of the Measurement Signal"));
    addRow(settingsGrid, 1, "Label5", QStringLiteral("Voltagelevel [V]"), oscLevelEdit);
    biasLevelEdit = edit("Edit15", QStringLiteral("0.000"),
                         QStringLiteral("Voltage Offset of Measurement Signal"));
    addRow(settingsGrid, 2, "Label6", QStringLiteral("Biaslevel [V]"), biasLevelEdit);
    timeoutEdit =
        edit("Edit35", QStringLiteral("30"),
             QStringLiteral("Time to Wait for the Impedance Analyzer to Answer. 0 = infinite."));
    addRow(settingsGrid, 3, "Label7", QStringLiteral("Timeout [s]"), timeoutEdit);
    applySettingsButton = disabled(button("Button17", QStringLiteral("Apply Settings")));
    resetButton = hidden(disabled(
        button("Button13", QStringLiteral("Reset"), QStringLiteral("Reset Impedance Analyzer"))));
    calibrateButton = disabled(button("Button11", QStringLiteral("Calibrate New Sampleholder")));
    autozoomButton = disabled(button("Button28", QStringLiteral("Autozoom Display"),
                                     QStringLiteral("Autozoom Impedance Analyzer Display")));
    settingsGrid->addWidget(applySettingsButton, 4, 0, 1, 2);
    settingsGrid->addWidget(resetButton, 5, 0, 1, 2);
    settingsGrid->addWidget(calibrateButton, 6, 0, 1, 2);
    settingsGrid->addWidget(autozoomButton, 7, 0, 1, 2);

    auto* thermometer = groupBox("GroupBox2", QStringLiteral("Thermometer"));
    auto* thermometerGrid = new QGridLayout(thermometer);
    thermometerList = comboBox("ComboBox7",
                               {QStringLiteral("none"), QStringLiteral("Almemo 2290-2"),
                                QStringLiteral("Almemo 2290-4"), QStringLiteral("Therm 3280-2"),
                                QStringLiteral("Therm 3280-6 / 6M")},
                               0, QStringLiteral("Thermometer Type"));
    addRow(thermometerGrid, 0, "Label8", QStringLiteral("Type"), thermometerList);
    QStringList ports;
    for (int port = 1; port <= 8; ++port)
        ports << QStringLiteral("COM%1").arg(port);
    comPortList = comboBox("ComboBox8", ports, 1, QStringLiteral("COM port"));
    addRow(thermometerGrid, 1, "Label9", QStringLiteral("COM port"), comPortList);

    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);

    auto* left = new QVBoxLayout;
    left->addWidget(connection);
    left->addWidget(settings);
    left->addWidget(thermometer);
    left->addStretch(1);
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* leftColumn = new QWidget;
    leftColumn->setLayout(left);
    leftColumn->setFixedWidth(300);
    left->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(leftColumn);
    layout->addWidget(Memo1, 1);

    connect(connectButton, &QPushButton::clicked, this, &TForm1::Button12Click);
    connect(applySettingsButton, &QPushButton::clicked, this, &TForm1::Button17Click);
    connect(calibrateButton, &QPushButton::clicked, this, &TForm1::Button11Click);
    connect(resetButton, &QPushButton::clicked, this, &TForm1::Button13Click);
    connect(autozoomButton, &QPushButton::clicked, this, &TForm1::Button28Click);
    connect(thermometerList, &QComboBox::activated, this, &TForm1::ComboBox7Click);
    onLeave(averagingEdit, &TForm1::Edit12Exit);
    onLeave(oscLevelEdit, &TForm1::Edit14Exit);
    onLeave(biasLevelEdit, &TForm1::Edit15Exit);
    onLeave(timeoutEdit, &TForm1::Edit35Exit);
    return page;
}

// The COM port only matters for a thermometer. A kind chosen after Connect gets its own line
// settings at once, so that its readings are not taken at the previous kind's baud rate; while
// a repeat series runs, its kind keeps its line until the series ends.
void TForm1::ComboBox7Click() {
    const int kind = thermometerList->currentIndex();
    comPortList->setEnabled(kind > 0);
    if (kind > 0 && ThermometerHandle != 0 && !seriesRunning())
        ymt::configureThermometerLine(ThermometerHandle, kind);
}
