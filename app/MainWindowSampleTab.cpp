// Tab "Sample": the sample description, its geometry and the quality-control types.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "evaluation/Capacitance.h"
#include "localisation/LanguageFile.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "measurement/RepeatMeasurement.h"
#include "plot/FastGraph.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace ymt::form;

QWidget* TForm1::buildSampleTab() {
    auto* left = new QVBoxLayout;
    left->addWidget(buildSampleInformationGroup());
    left->addWidget(buildGeometryGroup());
    left->addWidget(buildMaterialInputsGroup());
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
    // What the fields show applies from the start, so that files, the protocol and eps(rel)
    // agree with the window.
    Sample.ElectrodeDistance = ymt::ShownPositive(ymt::ParseNumber(distanceEdit->text()), 1.0);
    Sample.ElectrodeArea = ymt::ShownPositive(ymt::ParseNumber(areaEdit->text()), 100.0);
    Sample.Dimension1 = ymt::ParseNumber(dimension1Edit->text());
    Sample.Dimension2 = ymt::ParseNumber(dimension2Edit->text());
    // The descriptive texts have no leave handler; the description follows every keystroke.
    connect(materialEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { Sample.Material = text; });
    connect(notesEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { Sample.Notes = text; });
    connect(measuredByEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { Sample.MeasuredBy = text; });
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
    // Types enter the list only through "Add / Replace Type", which writes them to the file.
    qcTypeList->setInsertPolicy(QComboBox::NoInsert);
    addRow(grid, 0, "Label19", QStringLiteral("Type"), qcTypeList);
    grid->addWidget(label("Label20", QStringLiteral("Reference")), 1, 1);
    grid->addWidget(label("Label21", QStringLiteral("Tolerance (+/-)")), 1, 2);

    // Rows in the order of the type record: reference and tolerance edits.
    const struct {
        const char* labelName;
        QString caption;
        const char* referenceName;
        const char* toleranceName;
        QString defaultText;
    } rows[] = {
        {"Label23", QStringLiteral("C (1kHz) [nF]:"), "Edit21", "Edit22",
         QStringLiteral("0.000000")},
        {"Label24", QStringLiteral("tand (1kHz) [1e-4]:"), "Edit23", "Edit24",
         QStringLiteral("0.0")},
        {"Label25", QStringLiteral("k(eff) [%]:"), "Edit20", "Edit26", QStringLiteral("0.0")},
        {"Label26", QStringLiteral("k [%]:"), "Edit46", "Edit47", QStringLiteral("0.0")},
        {"Label27", QStringLiteral("fs [kHz]"), "Edit43", "Edit44", QStringLiteral("0.000")},
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
        // Each field, on leaving, becomes the value of its place in the type record.
        for (QLineEdit* field : {reference, tolerance}) {
            leaveHandlers_.attach(field, [this, index] { applyQcField(index); });
            qcEdits[std::size_t(index++)] = field;
        }
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

void TForm1::Edit4Exit() {
    applySampleName(false);
}

void TForm1::Edit27Exit() {
    applySampleName(true);
}

void TForm1::applySampleName(bool fromMeasurementTab) {
    QLineEdit* source = fromMeasurementTab ? measurementNameEdit : sampleNameEdit;
    Sample.SampleName = ymt::CleanSampleName(source->text());
    sampleNameEdit->setText(Sample.SampleName);
    measurementNameEdit->setText(Sample.SampleName);
    // With the working directory, so that the series file does not land wherever the program
    // happened to be started, and under a name of its own: "Save Spectrum..." proposes
    // "<sample>.txt" for the spectrum.
    if (fromMeasurementTab || !seriesFileEdit->text().isEmpty())
        seriesFileEdit->setText(WorkDir + ymt::SeriesFileDefaultName(Sample.SampleName));
    fastgraph1->setTitle(Sample.SampleName.left(255));
    fastgraph1->replot();
}

void TForm1::Edit9Exit() {
    applyElectrodeDistance(distanceEdit);
}

void TForm1::applyElectrodeDistance(QLineEdit* field) {
    const std::optional<double> typed = typedGeometryValue(field, Sample.ElectrodeDistance);
    if (!typed)
        return;
    Sample.ElectrodeDistance = ymt::ShownPositive(*typed, 1.0);
    for (QLineEdit* distance : {distanceEdit, thicknessEdit})
        distance->setText(ymt::FixedText(Sample.ElectrodeDistance, 1, 3));
    recomputePermittivity();
}

std::optional<double> TForm1::typedGeometryValue(QLineEdit* field, double previous) {
    // "0,5" or "O.5" would otherwise be read as 5 or 1 without a word, and eps(rel) be wrong.
    const ymt::FloatConversion typed = ymt::StrictFloat(field->text());
    if (typed.value)
        return typed.value;
    dialogs().showMessage(ymt::MessageKind::Error, typed.error, ymt::ButtonSet::OK);
    field->setText(ymt::FixedText(previous, 1, 3));
    return std::nullopt;
}

void TForm1::Edit10Exit() {
    applyDimension(true);
}

void TForm1::Edit5Exit() {
    applyDimension(false);
}

void TForm1::applyDimension(bool first) {
    QLineEdit* field = first ? dimension1Edit : dimension2Edit;
    double& dimension = first ? Sample.Dimension1 : Sample.Dimension2;
    const std::optional<double> read = typedGeometryValue(field, dimension);
    if (!read)
        return;
    // A ring's inner diameter may be 0: the ring is then a disc.
    const bool zeroAllowed = !first && Sample.Geometry == ymt::GeometryKind::Ring;
    const double typed = zeroAllowed && *read == 0 ? 0.0 : ymt::TypedPositive(*read, 10.0);
    field->setText(ymt::FixedText(typed, 1, 3));
    dimension = typed;
    const std::optional<double> area =
        ymt::AreaFromDimensions(Sample.Geometry, Sample.Dimension1, Sample.Dimension2);
    // Dimensions that give no area (an inner diameter not below the outer one) are not
    // applied: the field keeps showing the area still in use, and says why in its hint.
    const bool noArea = !area && Sample.Geometry != ymt::GeometryKind::Arbitrary;
    areaEdit->setToolTip(noArea ? ymt::Text(ymt::Txt::AreaNotFromDimensions) : QString());
    if (area)
        Sample.ElectrodeArea = *area;
    areaEdit->setText(ymt::FixedText(Sample.ElectrodeArea, 1, 3));
    recomputePermittivity();
}

void TForm1::Edit11Exit() {
    const std::optional<double> read = typedGeometryValue(areaEdit, Sample.ElectrodeArea);
    if (!read)
        return;
    const double typed = ymt::ShownPositive(*read, 100.0);
    // The field shows the area in use with 3 decimals: leaving it as shown keeps that area
    // and the dimensions it came from.
    if (ymt::FixedText(typed, 1, 3) != ymt::FixedText(Sample.ElectrodeArea, 1, 3)) {
        Sample.ElectrodeArea = typed;
        if (const auto dimensions = ymt::DimensionsFromArea(Sample.Geometry, typed)) {
            Sample.Dimension1 = dimensions->Dimension1;
            Sample.Dimension2 = dimensions->Dimension2;
            dimension1Edit->setText(ymt::FixedText(dimensions->Dimension1, 1, 3));
            dimension2Edit->setText(Sample.Geometry == ymt::GeometryKind::RectangularDisc
                                        ? ymt::FixedText(dimensions->Dimension2, 1, 3)
                                        : QStringLiteral("0"));
        }
        areaEdit->setToolTip(QString());
    }
    // Written back also when unchanged, so that the field never shows a value not in use.
    areaEdit->setText(ymt::FixedText(Sample.ElectrodeArea, 1, 3));
    recomputePermittivity();
}

void TForm1::recomputePermittivity() {
    Results.EpsRel =
        ymt::RelativePermittivity(Results.CapNF, Sample.ElectrodeDistance, Sample.ElectrodeArea);
    Shown.Eps = ymt::PermittivityResult(Results.EpsRel);
    showResults();
}

void TForm1::ComboBox3Change() {
    const int kind = std::clamp(geometryList->currentIndex(), 0, 3);
    Sample.Geometry = static_cast<ymt::GeometryKind>(kind);
    geometryListGerman->setCurrentIndex(kind);
    // A dimension without a caption is not shown.
    const auto [first, second] = ymt::DimensionCaptionMessages(kind);
    dimension1Label->setVisible(first.has_value());
    dimension1Edit->setVisible(first.has_value());
    dimension2Label->setVisible(second.has_value());
    dimension2Edit->setVisible(second.has_value());
    if (first)
        dimension1Label->setText(ymt::Message(*first));
    if (second)
        dimension2Label->setText(ymt::Message(*second));
    Edit11Exit();
}

void TForm1::ComboBox5Change() {
    geometryList->setCurrentIndex(geometryListGerman->currentIndex());
    ComboBox3Change();
}
