// The life of the main window: first activation on an empty home, the quality-control file,
// leave handlers and Enter, the directory fields, the close request and the shut-down backups,
// and the set-up of a window that never gets the focus.
#include "tests/app/MainWindowTestSupport.h"

#include "core/TextFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

using ymt::DialogButton;
using ymt::test::WindowOnTempHome;

namespace {

QStringList comboItems(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Swallows every activation, as a desktop does that never focuses new windows.
class NoActivation : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowActivate;
    }
};

void pressEnter(QWidget* field) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(field, &press);
}

} // namespace

TEST(FirstShow, AWindowThatNeverGetsTheFocusStillRunsItsSetUp) {
    ymt::test::WindowOnTempHome fixture;
    NoActivation noActivation;
    fixture.window->installEventFilter(&noActivation);
    fixture.window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(fixture.window->activationCount(), 1);
    EXPECT_EQ(fixture.window->windowTitle(), QStringLiteral("Zelvanor Ymt 2.4.5 "));
    EXPECT_TRUE(QFile::exists(fixture.dirs.programDir + QStringLiteral("QC.txt")));
    fixture.window->removeEventFilter(&noActivation);
}

TEST(MainWindowFirstActivation, EmptyHomeGetsDirectoriesHeaderOnlyQcFileAndCaption) {
    WindowOnTempHome fixture;
    fixture.window->FormActivate();
    const QString home = fixture.dirs.programDir;
    EXPECT_TRUE(QDir(home + QStringLiteral("data")).exists());
    EXPECT_TRUE(QDir(home + QStringLiteral("backup")).exists());
    EXPECT_EQ(fileBytes(home + QStringLiteral("QC.txt")),
              QByteArray("Zelvanor Ymt 2.4.5 Quality Control File\r\n"));
    EXPECT_EQ(comboItems(fixture.control<QComboBox>("ComboBox2")), QStringList{"none"});
    EXPECT_EQ(fixture.window->windowTitle(), QStringLiteral("Zelvanor Ymt 2.4.5 "));
    EXPECT_TRUE(fixture.dialogs.messages.empty());
    EXPECT_EQ(fixture.control<QLineEdit>("Edit30")->text(),
              home + QStringLiteral("data/Protocol.txt"));
    EXPECT_EQ(fixture.control<QLineEdit>("Edit31")->text(), home + QStringLiteral("data/"));
    EXPECT_EQ(fixture.control<QLineEdit>("Edit32")->text(), home + QStringLiteral("backup/"));
    EXPECT_EQ(fixture.control<QLabel>("Label35")->text(), QStringLiteral("tand      [1e-4]"));
    EXPECT_FALSE(fixture.control("ComboBox8")->isEnabled());
    EXPECT_DOUBLE_EQ(fixture.window->OscLevel, 0.5);
    EXPECT_EQ(fixture.window->PointsPerRange, 401);
}

TEST(MainWindowFirstActivation, TypeNamesOfAnExistingQcFileFillTheTypeList) {
    WindowOnTempHome fixture;
    ASSERT_TRUE(ymt::WriteTextFile(fixture.dirs.programDir + QStringLiteral("QC.txt"),
                                   {"Zelvanor Ymt 2.4.5 Quality Control File",
                                    "PZT-A",
                                    "1",
                                    "0.1",
                                    "2",
                                    "0.2",
                                    "3",
                                    "0.3",
                                    "",
                                    "4",
                                    "0.4",
                                    "5",
                                    "0.5",
                                    "****",
                                    "PZT-B",
                                    "1",
                                    "1",
                                    "1",
                                    "1",
                                    "1",
                                    "1",
                                    "",
                                    "1",
                                    "1",
                                    "1",
                                    "1",
                                    "****"}));
    fixture.window->FormActivate();
    EXPECT_EQ(comboItems(fixture.control<QComboBox>("ComboBox2")),
              QStringList({"none", "PZT-A", "PZT-B"}));
    EXPECT_EQ(fixture.control<QComboBox>("ComboBox2")->currentIndex(), 0);
}

TEST(MainWindowFirstActivation, LaterActivationsOnlyRewriteTheLossTangentCaption) {
    WindowOnTempHome fixture;
    fixture.window->FormActivate();
    ASSERT_TRUE(ymt::WriteTextFile(fixture.dirs.programDir + QStringLiteral("QC.txt"),
                                   {"Zelvanor Ymt 2.4.5 Quality Control File", "Late", "****"}));
    fixture.control<QComboBox>("ComboBox10")->setCurrentIndex(0);
    fixture.window->FormActivate();
    EXPECT_EQ(fixture.window->activationCount(), 2);
    EXPECT_EQ(comboItems(fixture.control<QComboBox>("ComboBox2")), QStringList{"none"});
    EXPECT_EQ(fixture.control<QLabel>("Label35")->text(), QStringLiteral("tand      [1e-3]"));
}

TEST(MainWindowFirstActivation, UnreadableQcFileGivesAnErrorBoxAndEndsTheSetUp) {
    WindowOnTempHome fixture;
    // A folder where the file should be cannot be read as a file, not even by root.
    ASSERT_TRUE(QDir().mkdir(fixture.dirs.programDir + QStringLiteral("QC.txt")));
    fixture.window->FormActivate();
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].kind, ymt::MessageKind::Error);
    EXPECT_FALSE(fixture.dialogs.messages[0].text.isEmpty());
    EXPECT_EQ(fixture.dialogs.messages[0].buttons, ymt::ButtonSet::OK);
    EXPECT_EQ(fixture.window->windowTitle(), QStringLiteral("Zelvanor Ymt 2.4.5 "));
    // The activation after the box does not try again.
    fixture.window->FormActivate();
    EXPECT_EQ(fixture.dialogs.messages.size(), 1u);
}

TEST(MainWindowFields, EnterRunsTheLeaveHandlerOfTheField) {
    WindowOnTempHome fixture;
    auto* workDir = fixture.control<QLineEdit>("Edit31");
    workDir->setText(fixture.dirs.programDir + QStringLiteral("meas"));
    pressEnter(workDir);
    EXPECT_EQ(workDir->text(), fixture.dirs.programDir + QStringLiteral("meas/"));
    EXPECT_EQ(fixture.window->WorkDir, fixture.dirs.programDir + QStringLiteral("meas/"));
}

TEST(MainWindowFields, RunExitHandlerReachesEveryFieldWithAHandlerOnly) {
    WindowOnTempHome fixture;
    auto* backupDir = fixture.control<QLineEdit>("Edit32");
    backupDir->setText(QStringLiteral("/var/tmp/bk"));
    EXPECT_TRUE(fixture.window->runExitHandler(backupDir));
    EXPECT_EQ(fixture.window->BackupDir, QStringLiteral("/var/tmp/bk/"));
    for (const char* name : {"Edit1", "Edit2", "Edit4", "Edit9", "Edit12", "Edit14", "Edit25",
                             "Edit27", "Edit36", "Edit41", "Edit47", "Edit49"})
        EXPECT_TRUE(fixture.window->runExitHandler(fixture.control(name))) << name;
    EXPECT_FALSE(fixture.window->runExitHandler(fixture.control("Edit3"))); // Material
    EXPECT_FALSE(fixture.window->runExitHandler(fixture.control("Memo2")));
}

TEST(MainWindowFields, DirectoryFieldKeepsATrailingSlashAndAnEmptyFieldKeepsTheDirectory) {
    WindowOnTempHome fixture;
    auto* workDir = fixture.control<QLineEdit>("Edit31");
    workDir->setText(QStringLiteral("/data/already/"));
    fixture.window->Edit31Exit();
    EXPECT_EQ(fixture.window->WorkDir, QStringLiteral("/data/already/"));
    workDir->clear();
    fixture.window->Edit31Exit();
    EXPECT_EQ(fixture.window->WorkDir, QStringLiteral("/data/already/"));
    EXPECT_EQ(workDir->text(), QStringLiteral("/data/already/"));
    EXPECT_EQ(fixture.window->OpenDialog1.initialDir, QStringLiteral("/data/already/"));
}

TEST(MainWindowFields, BrowseTakesTheFolderOfTheChosenPathAndCancelChangesNothing) {
    WindowOnTempHome fixture;
    fixture.dialogs.fileResult = {true, {QStringLiteral("/srv/meas/series/x.txt")}, 1};
    fixture.control<QPushButton>("Button29")->click();
    ASSERT_EQ(fixture.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(fixture.dialogs.fileDialogs[0].title, QStringLiteral("Choose working directory..."));
    EXPECT_EQ(fixture.dialogs.fileDialogs[0].fileName, QStringLiteral("*.*"));
    EXPECT_TRUE(fixture.dialogs.fileDialogs[0].filter.isEmpty());
    EXPECT_EQ(fixture.window->WorkDir, QStringLiteral("/srv/meas/series/"));
    EXPECT_EQ(fixture.control<QLineEdit>("Edit31")->text(), QStringLiteral("/srv/meas/series/"));

    const QString backupBefore = fixture.window->BackupDir;
    fixture.dialogs.fileResult = {};
    fixture.control<QPushButton>("Button30")->click();
    EXPECT_EQ(fixture.dialogs.fileDialogs.back().title,
              QStringLiteral("Choose backup directory..."));
    EXPECT_EQ(fixture.window->BackupDir, backupBefore);

    // Browsing for the backup folder starts there, but Save Spectrum keeps the working folder.
    fixture.dialogs.fileResult = {true, {QStringLiteral("/srv/keep/old/y.txt")}, 1};
    fixture.control<QPushButton>("Button30")->click();
    EXPECT_EQ(fixture.dialogs.fileDialogs.back().initialDir, backupBefore);
    EXPECT_EQ(fixture.window->BackupDir, QStringLiteral("/srv/keep/old/"));
    EXPECT_EQ(fixture.window->SaveDialog1.initialDir, QStringLiteral("/srv/meas/series/"));
}

TEST(MainWindowShutDown, ProtocolBackupWithEmptySampleNameIsTimestampDashPrt) {
    WindowOnTempHome fixture;
    fixture.window->FormActivate();
    fixture.control<QPlainTextEdit>("Memo2")->setPlainText(
        QStringLiteral("Sample\tf(min)\nA1\t200.0"));
    const QString backupDir = fixture.dirs.backupDir;
    fixture.destroyWindow();
    const QStringList files = QDir(backupDir).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1) << files.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d{8}-\\d{6}-_prt\\.txt$")).match(files[0]).hasMatch())
        << files[0].toStdString();
    EXPECT_EQ(fileBytes(backupDir + files[0]), QByteArray("Sample\tf(min)\r\nA1\t200.0\r\n"));
    // The typed protocol is unsaved: the shut-down offers to save it once.
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].text, QStringLiteral("Save changes in protocol?"));
}

TEST(MainWindowShutDown, SampleNameJoinsTheBackupNameAndAnEmptyProtocolWritesNothing) {
    WindowOnTempHome named;
    named.control<QLineEdit>("Edit4")->setText(QStringLiteral("PZT_7"));
    named.control<QPlainTextEdit>("Memo2")->setPlainText(QStringLiteral("x"));
    const QString backupDir = named.dirs.backupDir;
    named.destroyWindow();
    const QStringList files = QDir(backupDir).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].endsWith(QStringLiteral("-PZT_7_prt.txt")));

    WindowOnTempHome empty;
    const QString emptyBackupDir = empty.dirs.backupDir;
    empty.destroyWindow();
    EXPECT_TRUE(QDir(emptyBackupDir).entryList(QDir::Files).isEmpty());
}

TEST(MainWindowShutDown, CloseAsksAboutAChangedProtocolOnly) {
    WindowOnTempHome fixture;
    fixture.window->close();
    EXPECT_TRUE(fixture.dialogs.messages.empty());

    fixture.window->ProtocolChanged = true;
    fixture.dialogs.answers = {DialogButton::No};
    fixture.window->FormClose();
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].text, QStringLiteral("Save changes in protocol?"));
    EXPECT_EQ(fixture.dialogs.messages[0].kind, ymt::MessageKind::Confirmation);
    EXPECT_EQ(fixture.dialogs.messages[0].buttons, ymt::ButtonSet::YesNo);
}

TEST(MainWindowShutDown, ExitAsksWithCancelBeforeRequestingTheClose) {
    WindowOnTempHome fixture;
    fixture.window->ProtocolChanged = true;
    fixture.dialogs.answers = {DialogButton::Cancel, DialogButton::No};
    fixture.window->Beenden1Click();
    ASSERT_GE(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].buttons, ymt::ButtonSet::YesNoCancel);
}

TEST(MainWindowState, StateLinesNameEveryKeyWithFullPrecision) {
    WindowOnTempHome fixture;
    fixture.window->FormActivate();
    const QStringList lines = fixture.window->stateLines();
    for (const char* key :
         {"FMin=0", "ThetaAvg=0", "AnalyzerHandle=0", "AnalyzerMin=0.040000000000000001",
          "AnalyzerMax=110000", "PointsPerRange=401", "CompletionTimeout=30000", "OscLevel=0.5",
          "DisplayCode=1", "ShowMarkers=0", "PlotPrompt=", "ZoomDepth=0", "AwaitMinClick=0",
          "label.C=---", "label.D=---", "qc.fmin=---"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(key))) << key;
    EXPECT_TRUE(lines.contains(QStringLiteral("ProgramDir=") + fixture.dirs.programDir));
    EXPECT_TRUE(lines.contains(QStringLiteral("BackupDir=") + fixture.dirs.backupDir));
}
