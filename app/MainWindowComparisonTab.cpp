// Tab "Spectrum Comparison": the comparison set, its options and its plot with its own zoom.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "core/FileTypeFilter.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "plot/FastGraph.h"
#include "plot/GraphExport.h"
#include "records/ComparisonSet.h"
#include "records/SpectrumCsvFile.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

using namespace ymt::form;

namespace {
// Font colours of the ten entries, matching their curve colours (0x00BBGGRR).
constexpr ymt::Color kEntryColors[10] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFFFF00,
                                         0xFF00FF, 0x000080, 0x800000, 0x008000, 0x008080};
constexpr const char* kEntryNames[10] = {"CheckBox3",  "CheckBox4", "CheckBox6",  "CheckBox7",
                                         "CheckBox8",  "CheckBox9", "CheckBox10", "CheckBox11",
                                         "CheckBox12", "CheckBox13"};
} // namespace

QWidget* TForm1::buildComparisonTab() {
    auto* panel = new QWidget;
    // 210 pixels wide, or as wide as the longest caption of the language needs; the entries'
    // file names are cut instead, so that a long name cannot narrow the plot.
    panel->setMinimumWidth(210);
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1); // the ten entries must fit the smallest window
    auto* add = button("Button19", QStringLiteral("Add Curve(s) to Set..."));
    auto* clear = button("Button20", QStringLiteral("New Set..."));
    auto* save = button("Button21", QStringLiteral("Save Set..."));
    column->addWidget(add);
    column->addWidget(clear);
    column->addWidget(save);

    for (int entry = 0; entry < 10; ++entry) {
        QCheckBox* box = checkBox(kEntryNames[entry], QStringLiteral("empty"));
        box->setSizePolicy(QSizePolicy::Ignored, box->sizePolicy().verticalPolicy());
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, ymt::toQColor(kEntryColors[entry]));
        palette.setColor(QPalette::ButtonText, ymt::toQColor(kEntryColors[entry]));
        box->setPalette(palette);
        comparisonChecks[entry] = box;
        column->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, entry] { ComparisonEntryClick(entry + 1); });
    }

    curveGroup = radioGroup("RadioGroup1", QStringLiteral("Curve "),
                            {QStringLiteral("Impedance |Z|"), QStringLiteral("Phase theta")}, 0);
    comparisonLogCheck = checkBox("CheckBox14", QStringLiteral("Logarithmic"), true);
    column->addWidget(curveGroup);
    column->addWidget(comparisonLogCheck);

    auto* range = groupBox("GroupBox9", QStringLiteral("Frequency Range [kHz]"));
    auto* rangeGrid = new QGridLayout(range);
    rangeGrid->setVerticalSpacing(2);
    comparisonStartEdit = edit("Edit18", QStringLiteral("0.04"));
    comparisonStopEdit = edit("Edit19", QStringLiteral("110000"));
    addRow(rangeGrid, 0, "Label66", QStringLiteral("Start"), comparisonStartEdit);
    addRow(rangeGrid, 1, "Label67", QStringLiteral("Stop"), comparisonStopEdit);
    comparisonAutoscaleCheck = checkBox("CheckBox16", QStringLiteral("Autoscale Freqency"));
    rangeGrid->addWidget(comparisonAutoscaleCheck, 2, 0, 1, 2);
    column->addWidget(range);
    column->addStretch(1);

    qgraph = new ymt::TFastGraph;
    qgraph->setObjectName(QStringLiteral("qgraph"));
    qgraph->setMinimumSize(300, 200);

    auto* page = new QWidget;
    // The reading plot is never shown; it only receives a file while it is read.
    tmpgraph = hidden(new ymt::TFastGraph(page));
    tmpgraph->setObjectName(QStringLiteral("tmpgraph"));
    tmpgraph->setGeometry(0, 0, 129, 43);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(panel);
    layout->addWidget(qgraph, 1);

    connect(add, &QPushButton::clicked, this, &TForm1::Button19Click);
    connect(clear, &QPushButton::clicked, this, &TForm1::Button20Click);
    connect(save, &QPushButton::clicked, this, &TForm1::Button21Click);
    connect(curveGroup, &ymt::TRadioGroup::itemClicked, this, &TForm1::RadioGroup1Click);
    connect(comparisonLogCheck, &QCheckBox::clicked, this, &TForm1::CheckBox14Click);
    connect(comparisonAutoscaleCheck, &QCheckBox::clicked, this, &TForm1::CheckBox16Click);
    onLeave(comparisonStartEdit, &TForm1::Edit18Exit);
    onLeave(comparisonStopEdit, &TForm1::Edit19Exit);
    return page;
}

std::array<bool, ymt::kComparisonEntries> TForm1::comparisonCheckStates() const {
    std::array<bool, ymt::kComparisonEntries> checked{};
    for (size_t i = 0; i < checked.size(); ++i)
        checked[i] = comparisonChecks[i]->isChecked();
    return checked;
}

bool TForm1::comparisonShowsPhase() const {
    return curveGroup->itemIndex() == 1;
}

void TForm1::addFilesToComparisonSet(const QStringList& paths) {
    ymt::CurveStore& set = qgraph->store();
    ymt::CurveStore& reading = tmpgraph->store();
    int phasesOutside90 = 0;
    // Told once for the whole selection, also when a later file ends it.
    struct PhaseWarning {
        TForm1* window;
        const int& points;
        ~PhaseWarning() { window->warnOfPhasesOutside90(points); }
    } phaseWarning{this, phasesOutside90};
    // With all ten entries in use each further file replaces entry 10, so of one selection of
    // more files only the last reaches it; the others are named afterwards.
    std::map<int, QString> filledNow;
    QStringList notAdded;
    for (const QString& path : paths) {
        useFolderOf(path);
        const ymt::ComparisonFile file = ymt::ReadComparisonFile(path);
        if (file.status == ymt::ComparisonFile::Status::FileError) {
            dialogs().showMessage(ymt::MessageKind::Error, file.error, ymt::ButtonSet::OK);
            break;
        }
        if (file.status == ymt::ComparisonFile::Status::UnknownFormat) {
            dialogs().showMessage(ymt::MessageKind::Error,
                                  ymt::Message(ymt::Msg::UnknownFileFormat), ymt::ButtonSet::OK);
            // A file without column titles is passed over; a wrong first line ends the selection.
            if (file.missingColumnTitles)
                continue;
            break;
        }
        phasesOutside90 += file.phasesOutside90;
        reading.ClearAll();
        for (const ymt::SpectrumPoint& point : file.points) {
            reading.AddPoint(1, point.frequency, point.magnitude);
            reading.AddPoint(2, point.frequency, point.phase);
        }
        const int entry = ymt::ChooseEntry(set);
        if (const auto earlier = filledNow.find(entry); earlier != filledNow.end())
            notAdded << earlier->second;
        filledNow[entry] = QFileInfo(path).fileName();
        ymt::FillEntry(set, entry, reading);
        QCheckBox* box = comparisonChecks[static_cast<size_t>(entry - 1)];
        box->setChecked(true);
        box->setText(QFileInfo(path).fileName());
        ymt::ApplyCurveGroup(set, comparisonShowsPhase(), comparisonCheckStates());
    }
    if (!notAdded.isEmpty())
        dialogs().showMessage(
            ymt::MessageKind::Warning,
            ymt::Text(ymt::Txt::ComparisonNotAdded).arg(notAdded.join(QStringLiteral(", "))),
            ymt::ButtonSet::OK);
}

// Add Curve(s) to Set...
void TForm1::Button19Click() {
    ymt::FileDialogOptions options;
    options.title = ymt::Message(ymt::Msg::OpenSpectrumTitle) + QStringLiteral("...");
    // The language's name of the program's own files, then the other types that are read.
    options.filter = ymt::Message(ymt::Msg::Datafile) + QStringLiteral(" (txt)|*.txt|") +
                     ymt::SpectrumOpenFilter().section(QLatin1Char('|'), 2);
    options.filterIndex = 1;
    options.defaultExtension = QStringLiteral("txt");
    options.initialDir = WorkDir;
    options.multipleSelection = true;
    const ymt::FileDialogResult chosen = dialogs().openFile(options);
    if (chosen.accepted)
        addFilesToComparisonSet(chosen.paths);
    tmpgraph->store().ClearAll();
    qgraph->replot();
}

// New Set...
void TForm1::Button20Click() {
    if (dialogs().showMessage(ymt::MessageKind::Confirmation, ymt::Message(ymt::Msg::DeleteSet),
                              ymt::ButtonSet::YesNo) != ymt::DialogButton::Yes)
        return;
    qgraph->store().ClearAll();
    for (QCheckBox* box : comparisonChecks) {
        box->setChecked(false);
        box->setText(ymt::Message(ymt::Msg::Empty));
    }
    ymt::ApplyCurveGroup(qgraph->store(), comparisonShowsPhase(), comparisonCheckStates());
    qgraph->replot();
}

// Check boxes CheckBox3Click ... CheckBox13Click: the entry's curve of the current group.
void TForm1::ComparisonEntryClick(int entry) {
    if (entry < 1 || entry > ymt::kComparisonEntries)
        return;
    const int curve =
        comparisonShowsPhase() ? ymt::PhaseCurveOf(entry) : ymt::ImpedanceCurveOf(entry);
    qgraph->store().setVisible(curve,
                               comparisonChecks[static_cast<size_t>(entry - 1)]->isChecked());
    qgraph->replot();
}

// Curve group "Impedance |Z|" or "Phase theta".
void TForm1::RadioGroup1Click() {
    const bool phase = comparisonShowsPhase();
    ymt::ApplyCurveGroup(qgraph->store(), phase, comparisonCheckStates());
    qgraph->YAxis.setTitle(ymt::CurveGroupAxisTitle(phase, ymt::Message(ymt::Msg::Impedance)));
    qgraph->replot();
}

// Logarithmic
void TForm1::CheckBox14Click() {
    qgraph->YAxis.setLog(comparisonLogCheck->isChecked());
}

// Autoscale Freqency: the range fields apply again when it is switched off.
void TForm1::CheckBox16Click() {
    const bool autoscale = comparisonAutoscaleCheck->isChecked();
    comparisonStartEdit->setEnabled(!autoscale);
    comparisonStopEdit->setEnabled(!autoscale);
    qgraph->XAxis.setAutoscale(autoscale);
    if (!autoscale) {
        qgraph->XAxis.setMin(ymt::ParseNumber(comparisonStartEdit->text()));
        qgraph->XAxis.setMax(ymt::ParseNumber(comparisonStopEdit->text()));
    }
}

void TForm1::applyComparisonRangeField(QLineEdit* field, bool isStart) {
    ymt::TFastAxis& axis = qgraph->XAxis;
    const std::optional<double> value = ymt::ComparisonRangeValue(field->text());
    // Text that is no number leaves the range as it is and shows it again.
    const double applied = value ? *value : (isStart ? axis.Min() : axis.Max());
    field->setText(QString::number(applied, 'g', 15));
    if (isStart)
        axis.setMin(applied);
    else
        axis.setMax(applied);
}

void TForm1::Edit18Exit() {
    applyComparisonRangeField(comparisonStartEdit, true);
}

void TForm1::Edit19Exit() {
    applyComparisonRangeField(comparisonStopEdit, false);
}

// ---- Mouse on the comparison plot: zoom by dragging, any other button steps back ----

void TForm1::qgraphMouseDown(Qt::MouseButton button, int x, int) {
    ymt::TFastGraph& graph = *qgraph;
    if (button == Qt::LeftButton) {
        comparisonDrag_.press(graph, x);
        return;
    }
    if (const std::optional<ymt::ZoomHistory::Entry> window = comparisonDrag_.stepBack()) {
        graph.XAxis.setMin(window->Low);
        graph.XAxis.setMax(window->High);
    }
}

void TForm1::qgraphMouseMove(Qt::MouseButton, int x, int) {
    comparisonDrag_.move(*qgraph, x);
}

void TForm1::qgraphMouseUp(Qt::MouseButton button, int x, int) {
    ymt::TFastGraph& graph = *qgraph;
    if (button != Qt::LeftButton)
        return;
    const std::optional<ymt::FrequencyBand> band = comparisonDrag_.release(graph, x);
    if (!band)
        return;
    QgraphZoomHistory.push(band->High, band->Low);
    graph.XAxis.setMin(band->Low);
    graph.XAxis.setMax(band->High);
}

void TForm1::qgraphAfterPaint(QPainter&) {
    // A new picture of the plot carries no cursor line or band.
    if (!qgraph->drawingForScreen())
        return;
    qgraph->clearCursorLine();
    qgraph->clearBand();
}

QStringList TForm1::comparisonStateLines() const {
    QStringList lines;
    const ymt::CurveStore& set = qgraph->store();
    for (int entry = 1; entry <= ymt::kComparisonEntries; ++entry) {
        const QCheckBox* box = comparisonChecks[static_cast<size_t>(entry - 1)];
        lines << QStringLiteral("compare.%1=%2|%3|%4|%5|%6")
                     .arg(entry)
                     .arg(box->text())
                     .arg(box->isChecked() ? 1 : 0)
                     .arg(set.pointCount(ymt::ImpedanceCurveOf(entry)))
                     .arg(set.curve(ymt::ImpedanceCurveOf(entry)).Visible ? 1 : 0)
                     .arg(set.curve(ymt::PhaseCurveOf(entry)).Visible ? 1 : 0);
    }
    lines << QStringLiteral("qgraph.XMin=") + QString::asprintf("%.17g", qgraph->XAxis.Min())
          << QStringLiteral("qgraph.XMax=") + QString::asprintf("%.17g", qgraph->XAxis.Max())
          << QStringLiteral("qgraph.XAutoscale=%1").arg(qgraph->XAxis.Autoscale() ? 1 : 0)
          << QStringLiteral("qgraph.YLog=%1").arg(qgraph->YAxis.Log() ? 1 : 0)
          << QStringLiteral("qgraph.YTitle=") + qgraph->YAxis.Title()
          << QStringLiteral("qgraph.ZoomDepth=%1").arg(QgraphZoomHistory.depth())
          << QStringLiteral("tmpgraph.points=%1").arg(tmpgraph->store().pointCount(1));
    return lines;
}

// Save Set...: a picture of the comparison plot (the set itself is not saved).
void TForm1::Button21Click() {
    static const char* const kExtensions[] = {"wmf", "bmp", "jpg"};
    ymt::FileDialogOptions options;
    options.title = ymt::Message(ymt::Msg::SaveSetTitle);
    options.filter = ymt::FileTypeFilter(ymt::Txt::FilterComparisonPicture);
    options.filterIndex = 1;
    options.defaultExtension = QStringLiteral("wmf");
    options.initialDir = WorkDir;
    const ymt::FileDialogResult chosen = dialogs().saveFile(options);
    if (!chosen.accepted || chosen.paths.isEmpty())
        return;
    const int type = std::clamp(chosen.filterIndex, 1, 3);
    QString path = chosen.paths.first();
    // A name typed without extension gets the extension of the chosen type.
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1String(kExtensions[type - 1]);
    useFolderOf(path);
    if (QFileInfo::exists(path) &&
        dialogs().showMessage(ymt::MessageKind::Confirmation,
                              ymt::Message(ymt::Msg::OverwriteExistingFile),
                              ymt::ButtonSet::OKCancel) != ymt::DialogButton::OK)
        return;
    static const ymt::GraphImageType kTypes[] = {ymt::GraphImageType::Emf, ymt::GraphImageType::Bmp,
                                                 ymt::GraphImageType::Jpeg};
    QString error;
    if (!ymt::SaveGraphImage(*qgraph, kTypes[type - 1], path, &error))
        dialogs().showMessage(ymt::MessageKind::Error,
                              ymt::Text(ymt::Txt::ErrorPrefixed).arg(error), ymt::ButtonSet::OK);
    qgraph->replot();
}
