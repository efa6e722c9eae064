// Tab "Options": display options, languages, file options, capacitance measurement,
// directories, sweep ranges, evaluation thresholds and the preferred printer.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "app/ProgramDirs.h"
#include "localisation/TextTables.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace ymt::form;

namespace {

QFrame* colorSwatch(const char* name, const QColor& color) {
    auto* swatch = new QFrame;
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setFixedSize(24, 18);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, color);
    swatch->setPalette(palette);
    return swatch;
}

} // namespace

QWidget* TForm1::buildOptionsTab() {
    programLanguageGroup = radioGroup("RadioGroup4", QStringLiteral("Program Language"),
                                      {QStringLiteral("English"), QStringLiteral("German")}, 0, 2);
    printLanguageGroup = radioGroup(
        "RadioGroup5", QStringLiteral("File and Printout Language"),
        {QStringLiteral("English"), QStringLiteral("German"), QStringLiteral("Ask me")}, 0, 3);
    saveTextGroup =
        radioGroup("RadioGroup3", QStringLiteral("Save in Textfile: "),
                   {QStringLiteral("All Points"), QStringLiteral("Visible Points Only")}, 0, 2);
    autoBackupGroup =
        radioGroup("RadioGroup6", QStringLiteral("Auto- Backup Options "),
                   {QStringLiteral("No Backup"), QStringLiteral("Backup on Major Change Only"),
                    QStringLiteral("Backup on Every Change (recommended)")},
                   2);

    auto* thresholds =
        groupBox("GroupBox15", QStringLiteral("Minimum Points Threshold for Calculations"));
    auto* thresholdGrid = new QGridLayout(thresholds);
    couplingPointsEdit = edit("Edit48", QStringLiteral("20"));
    qPointsEdit = edit("Edit49", QStringLiteral("20"));
    couplingPointsEdit->setMaximumWidth(60);
    qPointsEdit->setMaximumWidth(60);
    addRow(thresholdGrid, 0, "Label81", QStringLiteral("Coupling Factors"), couplingPointsEdit);
    addRow(thresholdGrid, 0, "Label82", QStringLiteral("Figure of Merit Q(3dB)"), qPointsEdit, 2);

    printerGroup = groupBox("GroupBox16", QStringLiteral("Preferred printer"));
    auto* printerRow = new QHBoxLayout(printerGroup);
    printerList = comboBox("ComboBox9", {}, -1);
    printerList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    printerList->setMinimumContentsLength(12);
    printerRow->addWidget(printerList);

    auto* createLng = hidden(button("Button31", QStringLiteral("Create LNG")));

    // Two columns, so that every group keeps its full width in the designed window size.
    auto* column1 = new QVBoxLayout;
    column1->addWidget(buildVisualOptionsGroup());
    column1->addWidget(programLanguageGroup);
    column1->addWidget(printLanguageGroup);
    column1->addWidget(saveTextGroup);
    column1->addWidget(autoBackupGroup);
    column1->addStretch(1);
    auto* column2 = new QVBoxLayout;
    column2->addWidget(buildRangeOptionsGroup());
    column2->addWidget(buildCapacitanceGroup());
    column2->addWidget(thresholds);
    column2->addWidget(buildDirectoriesGroup());
    column2->addWidget(printerGroup);
    column2->addWidget(createLng);
    // Captions of the language files that no control of the window shows.
    for (int n = 85; n <= 89; ++n)
        column2->addWidget(
            hidden(label(QStringLiteral("Label%1").arg(n).toLatin1().constData(), QString())));
    column2->addStretch(1);

    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(column1, 1);
    layout->addLayout(column2, 1);

    connect(programLanguageGroup, &ymt::TRadioGroup::itemClicked, this, &TForm1::RadioGroup4Click);
    connect(createLng, &QPushButton::clicked, this, &TForm1::Button31Click);
    onLeave(couplingPointsEdit, &TForm1::Edit48Exit);
    onLeave(qPointsEdit, &TForm1::Edit49Exit);
    return page;
}

QWidget* TForm1::buildVisualOptionsGroup() {
    auto* group = groupBox("GroupBox11", QStringLiteral("Visual Options "));
    auto* grid = new QGridLayout(group);
    width1Edit = edit("Edit13", QStringLiteral("2"));
    width1Edit->setMaximumWidth(50);
    width2Edit = edit("Edit16", QStringLiteral("2"));
    width2Edit->setMaximumWidth(50);
    color1Swatch = colorSwatch("Shape1", Qt::red);
    color2Swatch = colorSwatch("Shape2", Qt::blue);
    auto* color1Button = button("Button15", QStringLiteral("Change Color"));
    auto* color2Button = button("Button16", QStringLiteral("Change Color"));
    addRow(grid, 0, "Label73", QStringLiteral("|Z|          Linewidth:"), width1Edit);
    grid->addWidget(color1Swatch, 0, 2);
    grid->addWidget(color1Button, 0, 3);
    addRow(grid, 1, "Label74", QStringLiteral("theta      Linewidth:"), width2Edit);
    grid->addWidget(color2Swatch, 1, 2);
    grid->addWidget(color2Button, 1, 3);
    showPointsCheck = checkBox("CheckBox5", QStringLiteral("Show Points"));
    mergePointsCheck =
        checkBox("CheckBox17", QStringLiteral("Merge old and newly measured points"), true);
    showAdditionalCheck = checkBox("CheckBox21", QStringLiteral("Show Additional Controls"));
    grid->addWidget(showPointsCheck, 2, 0, 1, 4);
    grid->addWidget(mergePointsCheck, 3, 0, 1, 4);
    grid->addWidget(showAdditionalCheck, 4, 0, 1, 4);

    connect(color1Button, &QPushButton::clicked, this, &TForm1::Button15Click);
    connect(color2Button, &QPushButton::clicked, this, &TForm1::Button16Click);
    connect(showPointsCheck, &QCheckBox::clicked, this, &TForm1::CheckBox5Click);
    connect(showAdditionalCheck, &QCheckBox::clicked, this, &TForm1::CheckBox21Click);
    onLeave(width1Edit, &TForm1::Edit13Exit);
    onLeave(width2Edit, &TForm1::Edit16Exit);
    return group;
}

QWidget* TForm1::buildCapacitanceGroup() {
    auto* group = groupBox("GroupBox12", QStringLiteral("Capacitance Measurement "));
    auto* grid = new QGridLayout(group);
    capFrequencyEdit = edit("Edit7", QStringLiteral("1.000"));
    tandUnitList = comboBox("ComboBox10", {QStringLiteral("[1e-3]"), QStringLiteral("[1e-4]")}, 1);
    capPointsEdit = edit("Edit50", QStringLiteral("10"));
    capFrequencyEdit->setMaximumWidth(80);
    capPointsEdit->setMaximumWidth(60);
    addRow(grid, 0, "Label75", QStringLiteral("Frequency [kHz]"), capFrequencyEdit);
    addRow(grid, 0, "Label77", QStringLiteral("Number of points"), capPointsEdit, 2);
    addRow(grid, 1, "Label76", QStringLiteral("Unit for loss tangent (tand)"), tandUnitList);
    connect(tandUnitList, &QComboBox::activated, this, &TForm1::ComboBox10Change);
    onLeave(capFrequencyEdit, &TForm1::Edit7Exit);
    return group;
}

QWidget* TForm1::buildRangeOptionsGroup() {
    auto* group =
        groupBox("GroupBox14", QStringLiteral("Range and Amount of Points for Reading Data "));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(3);
    grid->addWidget(label("Label78", QStringLiteral("Start Frequency [kHz]")), 0, 1);
    grid->addWidget(label("Label79", QStringLiteral("Stop Frequency [kHz]")), 0, 2);
    const char* checkNames[3] = {"CheckBox23", "CheckBox24", "CheckBox25"};
    const char* editNames[6] = {"Edit36", "Edit37", "Edit38", "Edit39", "Edit40", "Edit41"};
    const QString defaults[6] = {QStringLiteral("0.040"),    QStringLiteral("5000.000"),
                                 QStringLiteral("5000.000"), QStringLiteral("1100000.000"),
                                 QStringLiteral("0.000"),    QStringLiteral("0.000")};
    for (int range = 0; range < 3; ++range) {
        rangeChecks[range] =
            checkBox(checkNames[range], QStringLiteral("Range %1").arg(range + 1), range < 2);
        grid->addWidget(rangeChecks[range], range + 1, 0);
        connect(rangeChecks[range], &QCheckBox::clicked, this, &TForm1::CheckBox23Click);
        for (int side = 0; side < 2; ++side) {
            QLineEdit* field = edit(editNames[2 * range + side], defaults[2 * range + side]);
            rangeEdits[2 * range + side] = field;
            grid->addWidget(field, range + 1, side + 1);
            leaveHandlers_.attach(field, [this, field] { Edit36Exit(field); });
        }
    }
    pointsPerRangeEdit = disabled(edit("Edit42", QStringLiteral("401"),
                                       QStringLiteral("This value is fixed in the HP4194A")));
    grid->addWidget(label("Label80", QStringLiteral("Number of Points / Range")), 4, 0, 1, 2);
    grid->addWidget(pointsPerRangeEdit, 4, 2);
    autoCouplingCheck =
        checkBox("CheckBox18", QStringLiteral("Automatically determine coupling factor"));
    grid->addWidget(autoCouplingCheck, 5, 0, 1, 3);
    onLeave(pointsPerRangeEdit, &TForm1::Edit42Exit);
    return group;
}

QWidget* TForm1::buildDirectoriesGroup() {
    auto* group = groupBox("GroupBox13", QStringLiteral("Directories"));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(3);
    workDirEdit = edit("Edit31", WorkDir);
    backupDirEdit = edit("Edit32", BackupDir);
    auto* browseWork = button("Button29", QStringLiteral("Browse..."));
    auto* browseBackup = button("Button30", QStringLiteral("Browse..."));
    addRow(grid, 0, "Label83", QStringLiteral("Working Directory"), workDirEdit);
    grid->addWidget(browseWork, 0, 2);
    addRow(grid, 1, "Label84", QStringLiteral("Backup Directory"), backupDirEdit);
    grid->addWidget(browseBackup, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(browseWork, &QPushButton::clicked, this, &TForm1::Button29Click);
    connect(browseBackup, &QPushButton::clicked, this, &TForm1::Button30Click);
    onLeave(workDirEdit, &TForm1::Edit31Exit);
    onLeave(backupDirEdit, &TForm1::Edit32Exit);
    return group;
}

void TForm1::CheckBox21Click() {
    const bool show = showAdditionalCheck->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             thicknessLabel, thicknessEdit, measurementNameLabel, measurementNameEdit, saveButton,
             printButton, displayPairList, saveEachSpectrumCheck, printerGroup})
        control->setVisible(show);
}

void TForm1::applyDirectoryField(QLineEdit* field, QString& directory) {
    const QString typed = field->text();
    if (typed.isEmpty()) {
        field->setText(directory);
        return;
    }
    directory = ymt::WithTrailingSlash(typed);
    field->setText(directory);
}

void TForm1::Edit31Exit() {
    applyDirectoryField(workDirEdit, WorkDir);
    OpenDialog1.initialDir = WorkDir;
    SaveDialog1.initialDir = WorkDir;
}

void TForm1::Edit32Exit() {
    applyDirectoryField(backupDirEdit, BackupDir);
}

void TForm1::browseDirectory(QLineEdit* field, QString& directory, const QString& title) {
    // The file dialog keeps the filter and title it is given here until another use sets its own.
    SaveDialog1.title = title;
    SaveDialog1.filter.clear();
    SaveDialog1.defaultExtension.clear();
    SaveDialog1.fileName = QStringLiteral("*.*");
    SaveDialog1.initialDir = directory;
    SaveDialog1.multipleSelection = false;
    const ymt::FileDialogResult chosen = dialogs().saveFile(SaveDialog1);
    if (!chosen.accepted || chosen.paths.isEmpty())
        return;
    directory = ymt::WithTrailingSlash(QFileInfo(chosen.paths.first()).absolutePath());
    field->setText(directory);
}

void TForm1::Button29Click() {
    browseDirectory(workDirEdit, WorkDir, ymt::Message(ymt::Msg::ChooseWorkingDirectory));
    OpenDialog1.initialDir = WorkDir;
    SaveDialog1.initialDir = WorkDir;
}

void TForm1::Button30Click() {
    browseDirectory(backupDirEdit, BackupDir, ymt::Message(ymt::Msg::ChooseBackupDirectory));
    // Only this dialog opens in the backup folder; the file dialogs start in the working one.
    SaveDialog1.initialDir = WorkDir;
}
