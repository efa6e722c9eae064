// Tab "Sample": the sample description, its geometry and the quality-control types.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace ymt::form;

QWidget* TForm1::buildSampleTab() {
    auto* left = new QVBoxLayout;
    left->addWidget(buildSampleInformationGroup());
    left->addWidget(buildGeometryGroup());
    left->addStretch(1);

    auto* okButton = button("Button18", QStringLiteral("OK"));
    connect(okButton, &QPushButton::clicked, this, &TForm1::Button18Click);
    auto* right = new QVBoxLayout;
    right->addWidget(buildQualityControlGroup());
    right->addStretch(1);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okButton->setMinimumWidth(100);
    okRow->addWidget(okButton);
    right->addLayout(okRow);

    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
    return page;
}

QWidget* TForm1::buildSampleInformationGroup() {
    auto* group = groupBox("GroupBox4", QStringLiteral("Sample Information"));
    auto* grid = new QGridLayout(group);
    materialEdit = edit("Edit3", {});
    sampleNameEdit = edit("Edit4", {});
    notesEdit = edit("Edit6", {});
    measuredByEdit = edit("Edit8", {});
    addRow(grid, 0, "Label10", QStringLiteral("Material"), materialEdit);
    addRow(grid, 1, "Label11", QStringLiteral("Sample Name"), sampleNameEdit);
    addRow(grid, 2, "Label12", QStringLiteral("Notes"), notesEdit);
    addRow(grid, 3, "Label13", QStringLiteral("Measured by"), measuredByEdit);
    onLeave(sampleNameEdit, &TForm1::Edit4Exit);
    return group;
}

QWidget* TForm1::buildGeometryGroup() {
    auto* group = groupBox("GroupBox5", QStringLiteral("Geometry"));
    auto* grid = new QGridLayout(group);
    geometryList =
        comboBox("ComboBox3",
                 {QStringLiteral("Arbitrary Geometry"), QStringLiteral("Circular Disc / Rod"),
                  QStringLiteral("Rectangular Disc / Rod"), QStringLiteral("Ring")},
                 0);
    // The German list stands in the same place; the program language shows one of the two.
    geometryListGerman = hidden(
        comboBox("ComboBox5",
                 {QStringLiteral("Freie Geometrie"), QStringLiteral("Kreisscheibe / Rundstab"),
                  QStringLiteral("Rechteck-Platte / Rechteckstab"), QStringLiteral("Ring")},
                 0));
    addRow(grid, 0, "Label14", QStringLiteral("Sample Geometry"), geometryList);
    grid->addWidget(geometryListGerman, 0, 1);
    distanceEdit = edit("Edit9", QStringLiteral("1.000"));
    addRow(grid, 1, "Label15", QStringLiteral("Electrode Distance [mm]"), distanceEdit);
    areaEdit = edit("Edit11", QStringLiteral("100.000"));
    addRow(grid, 2, "Label16", QStringLiteral("Electrode Area [mm²]"), areaEdit);
    dimension1Edit = hidden(edit("Edit10", QStringLiteral("10.000")));
    dimension1Label =
        hidden(addRow(grid, 3, "Label17", QStringLiteral("Diameter [mm]"), dimension1Edit));
    dimension2Edit = hidden(edit("Edit5", QStringLiteral("10.000")));
    dimension2Label =
        hidden(addRow(grid, 4, "Label18", QStringLiteral("Width [mm]"), dimension2Edit));

    connect(geometryList, &QComboBox::activated, this, &TForm1::ComboBox3Change);
    connect(geometryListGerman, &QComboBox::activated, this, &TForm1::ComboBox5Change);
    onLeave(distanceEdit, &TForm1::Edit9Exit);
    onLeave(areaEdit, &TForm1::Edit11Exit);
    onLeave(dimension1Edit, &TForm1::Edit10Exit);
    onLeave(dimension2Edit, &TForm1::Edit5Exit);
    return group;
}

QWidget* TForm1::buildQualityControlGroup() {
    auto* group = groupBox("GroupBox6", QStringLiteral("Quality Control"));
    auto* grid = new QGridLayout(group);
    qcTypeList = comboBox("ComboBox2", {QStringLiteral("none")}, 0, {}, true);
    qcTypeList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    qcTypeList->setMinimumContentsLength(16);
    addRow(grid, 0, "Label19", QStringLiteral("Type"), qcTypeList);
    grid->addWidget(label("Label20", QStringLiteral("Reference")), 1, 1);
    grid->addWidget(label("Label21", QStringLiteral("Tolerance (+/-)")), 1, 2);

    // Rows in the order of the type record: reference and tolerance edits with their handlers.
    const struct {
        const char* labelName;
        QString caption;
        const char* referenceName;
        const char* toleranceName;
        QString defaultText;
        void (TForm1::*referenceExit)();
        void (TForm1::*toleranceExit)();
    } rows[] = {
        {"Label23", QStringLiteral("C (1kHz) [nF]:"), "Edit21", "Edit22",
         QStringLiteral("0.000000"), &TForm1::Edit21Exit, &TForm1::Edit22Exit},
        {"Label24", QStringLiteral("tand (1kHz) [1e-4]:"), "Edit23", "Edit24",
         QStringLiteral("0.0"), &TForm1::Edit23Exit, &TForm1::Edit24Exit},
        {"Label25", QStringLiteral("k(eff) [%]:"), "Edit20", "Edit26", QStringLiteral("0.0"),
         &TForm1::Edit20Exit, &TForm1::Edit26Exit},
        {"Label26", QStringLiteral("k [%]:"), "Edit46", "Edit47", QStringLiteral("0.0"),
         &TForm1::Edit46Exit, &TForm1::Edit47Exit},
        {"Label27", QStringLiteral("fs [kHz]"), "Edit43", "Edit44", QStringLiteral("0.000"),
         &TForm1::Edit43Exit, &TForm1::Edit44Exit},
    };
    int row = 2;
    int index = 0;
    for (const auto& r : rows) {
        QLineEdit* reference = edit(r.referenceName, r.defaultText);
        QLineEdit* tolerance = edit(r.toleranceName, r.defaultText);
        QLabel* caption = label(r.labelName, r.caption);
        if (QLatin1String(r.labelName) == QLatin1String("Label26"))
            qcModeCaption = caption;
        grid->addWidget(caption, row, 0);
        grid->addWidget(reference, row, 1);
        grid->addWidget(tolerance, row, 2);
        onLeave(reference, r.referenceExit);
        onLeave(tolerance, r.toleranceExit);
        qcEdits[index++] = reference;
        qcEdits[index++] = tolerance;
        ++row;
    }
    hullCurveEdit = hidden(edit("Edit45", {}));
    hidden(addRow(grid, row++, "Label28", QStringLiteral("Hullcurve File:"), hullCurveEdit));
    aggressiveQcCheck =
        checkBox("CheckBox20", QStringLiteral("Aggressive Quality Control (Popup)"));
    grid->addWidget(aggressiveQcCheck, row++, 0, 1, 3);

    auto* addType = button("Button22", QStringLiteral("Add / Replace Type"));
    auto* useCurrent = button("Button23", QStringLiteral("Use Current Sample Data [+/-10%]"));
    auto* deleteType = button("Button24", QStringLiteral("Delete Type"));
    grid->addWidget(addType, row, 0);
    grid->addWidget(deleteType, row++, 1, 1, 2);
    grid->addWidget(useCurrent, row++, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    connect(qcTypeList, &QComboBox::activated, this, &TForm1::ComboBox2Change);
    connect(addType, &QPushButton::clicked, this, &TForm1::Button22Click);
    connect(useCurrent, &QPushButton::clicked, this, &TForm1::Button23Click);
    connect(deleteType, &QPushButton::clicked, this, &TForm1::Button24Click);
    return group;
}

void TForm1::Button18Click() {
    PageControl1->setCurrentWidget(TabSheet3);
}

// Sample name field: filled by the sample-description work.
// Electrode distance and sample thickness: filled by the capacitance work.
void TForm1::Edit9Exit() {}
// First dimension: filled by the capacitance work.
void TForm1::Edit10Exit() {}
// Second dimension: filled by the capacitance work.
void TForm1::Edit5Exit() {}
// Electrode area: filled by the capacitance work.
void TForm1::Edit11Exit() {}
// English geometry list: filled by the capacitance work.
void TForm1::ComboBox3Change() {}
// German geometry list: filled by the capacitance work.
void TForm1::ComboBox5Change() {}
// Quality-control type selection: filled by the quality-control work.
void TForm1::ComboBox2Change() {}
// Add / Replace Type: filled by the quality-control work.
void TForm1::Button22Click() {}
// Use Current Sample Data: filled by the quality-control work.
void TForm1::Button23Click() {}
// Delete Type: filled by the quality-control work.
void TForm1::Button24Click() {}
// Reference and tolerance fields: filled by the quality-control work.
void TForm1::Edit21Exit() {}
void TForm1::Edit22Exit() {}
void TForm1::Edit23Exit() {}
void TForm1::Edit24Exit() {}
void TForm1::Edit20Exit() {}
void TForm1::Edit26Exit() {}
void TForm1::Edit43Exit() {}
void TForm1::Edit44Exit() {}
void TForm1::Edit46Exit() {}
void TForm1::Edit47Exit() {}
