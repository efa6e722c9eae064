// Spectrum files seen from the window: savetotext, "Save Spectrum...", "Open Spectrum...", the
// spectrum backups and the two sample-name fields whose text names files.
#include "app/MainWindow.h"

#include "core/Clock.h"
#include "core/FileWrite.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "core/TextFile.h"
#include "evaluation/Capacitance.h"
#include "evaluation/CouplingFactors.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "measurement/FrequencyRanges.h"
#include "plot/FastGraph.h"
#include "plot/GraphExport.h"
#include "records/OpenedSpectrum.h"
#include "records/SpectrumBackup.h"
#include "records/SpectrumCsvFile.h"
#include "records/SpectrumFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

bool TForm1::fileLanguageIsGerman() {
    // A repeat series fixed its file language ("Ask me" asked once) when it started.
    if (repeat_.schedule.isRunning())
        return repeat_.fileLanguage == 1;
    if (printLanguageGroup->itemIndex() == 2) {
        // Nobody answers when the system ends the program: the last backup is written in
        // English rather than waiting on a question until the program is killed.
        if (unattendedEnd_)
            return false;
        const ymt::DialogButton answer =
            dialogs().showMessage(ymt::MessageKind::Confirmation,
                                  ymt::Message(ymt::Msg::GermanPrintout), ymt::ButtonSet::YesNo);
        printLanguageGroup->setItemIndex(answer == ymt::DialogButton::Yes ? 1 : 0);
    }
    return printLanguageGroup->itemIndex() == 1;
}

bool TForm1::savetotext(const QString& fileName, QString* error, QStringList* notInCp1252,
                        bool backup) {
    ymt::SpectrumFileExtras extras;
    extras.German = fileLanguageIsGerman();
    const QDateTime now = ymt::clock::currentDateTime();
    extras.DateTime = ymt::SpectrumFileDateTime(now);
    extras.FirstDisplayPair = displayPairList->currentIndex() <= 0;
    extras.LeftAxisTitle = fastgraph1->YAxis.Title();
    extras.RightAxisTitle = fastgraph1->Y2Axis.Title();
    const ymt::ResultsSnapshot snapshot = resultsSnapshot();
    std::optional<std::pair<double, double>> visible;
    if (saveTextGroup->itemIndex() == 1)
        visible = std::pair(fastgraph1->XAxis.Min(), fastgraph1->XAxis.Max());
    const QByteArray bytes = ymt::SpectrumFileBytes(snapshot, extras, fastgraph1->store(), visible);
    if (notInCp1252)
        *notInCp1252 = ymt::CharactersNotInCp1252(ymt::SpectrumHeaderLines(snapshot, extras, true));
    if (!backup)
        return ymt::WriteFileReplacing(fileName, bytes, error);
    QString reason;
    if (ymt::ReplaceOwnFileContents(fileName, bytes, &reason))
        return true;
    if (error)
        *error = fileName + QStringLiteral(": ") + reason;
    return false;
}

bool TForm1::savetocsv(const QString& fileName, QString* error) {
    std::optional<std::pair<double, double>> visible;
    if (saveTextGroup->itemIndex() == 1)
        visible = std::pair(fastgraph1->XAxis.Min(), fastgraph1->XAxis.Max());
    const QString date = ymt::clock::currentDateTime().toString(Qt::ISODate);
    return ymt::WriteFileReplacing(
        fileName, ymt::SpectrumCsvBytes(resultsSnapshot(), date, fastgraph1->store(), visible),
        error);
}

bool TForm1::backupSpectrum(const QString& fileName, QString* error) {
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    return savetotext(ymt::FreeBackupName(fileName), error, nullptr, true);
}

void TForm1::runFocusedLeaveHandler() {
    if (QWidget* focused = QApplication::focusWidget())
        leaveHandlers_.run(focused);
}

void TForm1::useFolderOf(const QString& path) {
    WorkDir = ymt::WithTrailingSlash(QFileInfo(path).absolutePath());
    OpenDialog1.initialDir = WorkDir;
    SaveDialog1.initialDir = WorkDir;
}

void TForm1::Speichern1Click() {
    runFocusedLeaveHandler();
    SaveDialog1.title = ymt::Message(ymt::Msg::SaveSpectrumTitle);
    SaveDialog1.filter = ymt::SpectrumSaveFilter();
    SaveDialog1.filterIndex = 1;
    SaveDialog1.defaultExtension = QStringLiteral("txt");
    SaveDialog1.fileName = measurementNameEdit->text() + QStringLiteral(".txt");
    SaveDialog1.multipleSelection = false;
    const ymt::FileDialogResult chosen = dialogs().saveFile(SaveDialog1);
    if (!chosen.accepted || chosen.paths.isEmpty())
        return;
    const ymt::SpectrumSaveType type = ymt::SpectrumSaveTypeAt(chosen.filterIndex);
    const QString path = ymt::WithSaveExtension(chosen.paths.first(), type);
    useFolderOf(path);
    if (QFileInfo::exists(path) &&
        dialogs().showMessage(ymt::MessageKind::Warning,
                              ymt::Message(ymt::Msg::FileExistsOverwrite),
                              ymt::ButtonSet::OKCancel) != ymt::DialogButton::OK)
        return;

    QString error;
    bool written = false;
    if (type.csv) {
        written = savetocsv(path, &error);
        if (written)
            setCaption(QStringLiteral("Zelvanor Ymt ") + VersionText + QStringLiteral(" - ") +
                       QFileInfo(path).fileName());
    } else if (!type.image) {
        QStringList notInCp1252;
        written = savetotext(path, &error, &notInCp1252);
        if (written) {
            setCaption(QStringLiteral("Zelvanor Ymt ") + VersionText + QStringLiteral(" - ") +
                       QFileInfo(path).fileName());
            warnOfCharactersNotInCp1252(notInCp1252);
        }
    } else {
        written = ymt::SaveGraphImage(*fastgraph1, *type.image, path, &error);
    }
    if (!written)
        dialogs().showMessage(ymt::MessageKind::Error, error, ymt::ButtonSet::OK);
    fastgraph1->replot();
}

bool TForm1::backUpBeforeOpen() {
    const auto option = static_cast<ymt::BackupOption>(autoBackupGroup->itemIndex());
    if (!ymt::ShouldBackUp(option, ymt::SpectrumChange::Major, fastgraph1->store().pointCount(3)))
        return true;
    return backUpOrAsk(
        ymt::SpectrumBackupName(BackupDir, ymt::TimestampText(), sampleNameEdit->text()));
}

bool TForm1::backUpOrAsk(const QString& fileName) {
    QString error;
    if (backupSpectrum(fileName, &error))
        return true;
    // The operator decides whether the spectrum may change without a copy of it.
    return dialogs().showMessage(ymt::MessageKind::Warning,
                                 ymt::Text(ymt::Txt::BackupFailed) + QLatin1Char('\n') + error +
                                     QLatin1Char('\n') + ymt::Text(ymt::Txt::ChangeSpectrumAnyway),
                                 ymt::ButtonSet::OKCancel) == ymt::DialogButton::OK;
}

void TForm1::ffnen1Click() {
    runFocusedLeaveHandler();
    OpenDialog1.title = ymt::Message(ymt::Msg::OpenSpectrumTitle);
    OpenDialog1.filter = ymt::SpectrumOpenFilter();
    OpenDialog1.filterIndex = 1;
    OpenDialog1.defaultExtension = QStringLiteral("txt");
    OpenDialog1.fileName.clear();
    OpenDialog1.multipleSelection = false;
    const ymt::FileDialogResult chosen = dialogs().openFile(OpenDialog1);
    if (!chosen.accepted || chosen.paths.isEmpty()) {
        fastgraph1->replot();
        return;
    }
    const QString path = chosen.paths.first();
    if (!QFileInfo::exists(path)) {
        dialogs().showMessage(ymt::MessageKind::Error, ymt::Text(ymt::Txt::FileNotFound),
                              ymt::ButtonSet::OK);
        return;
    }
    useFolderOf(path);

    // The whole file is read and checked before anything changes.
    const ymt::SpectrumFileRead read = ymt::ReadAnySpectrumFile(path);
    QString problem;
    switch (read.status) {
    case ymt::SpectrumReadStatus::Ok:
        break;
    case ymt::SpectrumReadStatus::NotFound:
        problem = ymt::Text(ymt::Txt::FileNotFound);
        break;
    case ymt::SpectrumReadStatus::NotAFile:
        problem = ymt::Text(ymt::Txt::IsAFolder).arg(path);
        break;
    case ymt::SpectrumReadStatus::NotARegularFile:
        problem = ymt::Text(ymt::Txt::NotARegularFile).arg(path);
        break;
    case ymt::SpectrumReadStatus::CannotRead:
    case ymt::SpectrumReadStatus::Refused:
        problem = read.error;
        break;
    case ymt::SpectrumReadStatus::UnknownFormat:
        problem = ymt::Message(ymt::Msg::UnknownFileFormat);
        break;
    case ymt::SpectrumReadStatus::TooManyRows:
        problem = ymt::Message(ymt::Msg::FileTooLarge) +
                  ymt::Text(ymt::Txt::MorePointsThan).arg(ymt::kMaxSpectrumRows);
        break;
    }
    if (!problem.isEmpty()) {
        dialogs().showMessage(ymt::MessageKind::Error, problem, ymt::ButtonSet::OK);
        return;
    }
    if (!backUpBeforeOpen())
        return;
    applyOpenedSpectrum(read.content);
    setCaption(QStringLiteral("Zelvanor Ymt ") + VersionText + QStringLiteral(" - ") +
               QFileInfo(path).fileName());
    fastgraph1->replot();
    warnOfPhasesOutside90(read.phasesOutside90);
    const ymt::SpectrumRows& rows = read.content.rows;
    if (rows.incompleteRows > 0)
        dialogs().showMessage(ymt::MessageKind::Warning,
                              ymt::Text(ymt::Txt::IncompleteRowsLeftOut)
                                  .arg(rows.incompleteRows)
                                  .arg(rows.firstIncompleteRow),
                              ymt::ButtonSet::OK);
}

void TForm1::applyOpenedSpectrum(const ymt::SpectrumFileContent& file) {
    // The results of the previous spectrum do not describe this one.
    Results = ymt::EvaluationResults{};
    clearResultLabels();
    // The next "On C measurement" line is appended, not written over a line of another sample.
    forgetProtocolledLine();
    PageControl1->setCurrentWidget(TabSheet3);
    fastgraph1->store().ClearAll();
    // The file's notes say whether its points were simulated.
    SpectrumSimulated = false;

    measuredByEdit->setText(file.measuredBy);
    materialEdit->setText(file.material);
    notesEdit->setText(file.notes);
    showSampleName(ymt::CleanSampleName(file.sampleName));

    geometryList->setCurrentIndex(0);
    geometryListGerman->setCurrentIndex(0);
    ComboBox3Change();
    // A file's geometry is read tolerantly (an empty value takes the default); only typed text
    // that is no number is refused.
    auto fileValue = [](const QString& text, double fallback) {
        return ymt::FixedText(ymt::PositiveOr(ymt::ParseNumber(text), fallback), 1, 3);
    };
    distanceEdit->setText(fileValue(file.electrodeDistance, 1.0));
    Edit9Exit();
    areaEdit->setText(fileValue(file.electrodeArea, 100.0));
    Edit11Exit();

    capFrequencyEdit->setText(file.capacitanceFrequency);
    const ymt::OpenedSpectrumResults opened =
        ymt::ResultsOfSpectrumFile(file, tandUnitList->currentIndex() == 0);
    Shown.Cap = opened.Shown.Cap;
    Shown.TanD = opened.Shown.TanD;
    Shown.Eps = opened.Shown.Eps;
    Shown.FMin = opened.Shown.FMin;
    Shown.FMax = opened.Shown.FMax;
    Shown.KEff = opened.Shown.KEff;
    Results.CapNF = opened.Values.CapNF;
    Results.TanD = opened.Values.TanD;
    Results.EpsRel = opened.Values.EpsRel;
    Results.FMin = opened.Values.FMin;
    Results.FMax = opened.Values.FMax;
    Results.KEff = opened.Values.KEff;

    if (file.couplingType >= 0) {
        const QString type = ymt::ModeName(file.couplingType);
        couplingModeList->setCurrentIndex(file.couplingType);
        modeCaption->setText(type + QStringLiteral("       [%]"));
        qcModeCaption->setText(type + QStringLiteral("[%]"));
        qcModeVerdictCaption->setText(type);
    }
    Shown.KMode = opened.Shown.KMode;
    Results.KMode = opened.Values.KMode;
    if (opened.HasQuality) {
        Shown.Q3dB = opened.Shown.Q3dB;
        Results.Q3dB = opened.Values.Q3dB;
        Shown.B3dB = opened.Shown.B3dB;
        Results.B3dB = opened.Values.B3dB;
    }
    showResults();
    fastgraph1->YAxis.setTitle(file.leftAxisTitle);
    fastgraph1->Y2Axis.setTitle(file.rightAxisTitle);

    ymt::CurveStore& store = fastgraph1->store();
    ymt::LoadSpectrumPoints(file, store);

    displayPairList->setCurrentIndex(0);
    DisplayCode = 1;
    // Fewer than two points (or one frequency only) give no range: the current one stays.
    const ymt::Curve& spectrum = store.curve(3);
    if (spectrum.Points.size() >= 2 && spectrum.MinX < spectrum.MaxX) {
        fastgraph1->XAxis.setMin(spectrum.MinX);
        fastgraph1->XAxis.setMax(spectrum.MaxX);
        ZoomHistory.setEntry(1, spectrum.MaxX, spectrum.MinX);
        const QString low = ymt::FixedText(spectrum.MinX, 1, 3);
        const QString high = ymt::FixedText(spectrum.MaxX, 1, 3);
        for (QLineEdit* field : {rangeStartEdit, repeatStartEdit})
            field->setText(low);
        for (QLineEdit* field : {rangeStopEdit, repeatStopEdit})
            field->setText(high);
    }
    Edit1Exit();
    Edit2Exit();
    Edit33Exit();
    Edit34Exit();
    Edit7Exit();
    Edit9Exit();
    Edit11Exit();
    qcontrol();
}

void TForm1::warnOfPhasesOutside90(int points) {
    if (points <= 0)
        return;
    dialogs().showMessage(ymt::MessageKind::Warning,
                          ymt::Text(ymt::Txt::PhasesOutside90).arg(points), ymt::ButtonSet::OK);
}

void TForm1::warnOfCharactersNotInCp1252(const QStringList& characters) {
    if (characters.isEmpty())
        return;
    dialogs().showMessage(ymt::MessageKind::Warning,
                          ymt::Text(ymt::Txt::NotInCp1252).arg(characters.join(QLatin1Char(' '))),
                          ymt::ButtonSet::OK);
}

void TForm1::showSampleName(const QString& cleaned) {
    sampleNameEdit->setText(cleaned);
    measurementNameEdit->setText(cleaned);
    Sample.SampleName = cleaned;
    fastgraph1->setTitle(cleaned.left(255));
    fastgraph1->replot();
}
