// Spectrum files, backups and the settings store through the program, driven by scripts: each
// run is a fresh program on the same home and settings folder, as an operator restarts it. And
// the files under conditions an operator does not plan for: a full disk while a metafile is
// saved, sample names too long for a file name, links in the program's folders, files far
// larger than any real one, a FIFO chosen as a spectrum, and errors that name the file.
#include "tests/app/ProgramProcess.h"
#include "tests/support/SpectrumFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QStringList lines;
    bool has(const QString& line) const { return lines.contains(line); }
    QString text() const { return lines.join(QLatin1Char('\n')); }
    qsizetype count(const QString& part) const { return lines.filter(part).size(); }
    // The points printed by "curve PLOT N".
    QStringList points() const {
        return lines.filter(QRegularExpression(QStringLiteral("^-?[0-9.e+-]+\t-?[0-9.e+-]+$")));
    }
};

class Operator : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QDir().mkpath(home() + QStringLiteral("/data"));
    }
    QString home() const { return dir_.filePath(QStringLiteral("home")); }
    QString data(const QString& name) const { return home() + QStringLiteral("/data/") + name; }
    QString settingsPath() const { return dir_.filePath(QStringLiteral("config/Kvr/Ymt.reg")); }
    QStringList backups() const {
        return QDir(home() + QStringLiteral("/backup")).entryList({"*_dia.txt"}, QDir::Files);
    }

    ProgramRun run(const QString& steps) {
        const ymt::test::ProgramOutput output = ymt::test::RunProgram(
            {QStringLiteral("--fast"), QStringLiteral("--home"), home(), QStringLiteral("--script"),
             ymt::test::WriteScript(dir_.path(), steps)},
            dir_.filePath(QStringLiteral("config")));
        ProgramRun result;
        result.exitCode = output.exitCode;
        result.lines = output.output.split(QLatin1Char('\n'));
        return result;
    }
    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Connect (compensation skipped) and read a spectrum of the simulated sample.
    static QString measure() {
        return QStringLiteral("answer Cancel\nclick Button12\nclick Button6\n");
    }
    QString save(const QString& path, int type = 1) const {
        return QStringLiteral("file %1 #%2\nclick Speichern1\n").arg(path).arg(type);
    }
    static QString open(const QString& path) {
        return QStringLiteral("file %1\nclick ffnen1\n").arg(path);
    }

    QTemporaryDir dir_;
};

QStringList backupFiles(const QString& home) {
    return QDir(home + QStringLiteral("/backup")).entryList(QDir::Files);
}

const QRegularExpression kRow(
    QStringLiteral("^[ -][0-9]\\.[0-9]{7}E[+-][0-9]{4}(\t[ -][0-9]\\.[0-9]{7}E[+-][0-9]{4}){2}$"));

TEST_F(Operator, SavedSpectrumHasTheLayoutAndReopensInAFreshProgram) {
    const QString file = data(QStringLiteral("s1.txt"));
    const ProgramRun first =
        run(QStringLiteral("type Edit4 S1\nenter Edit4\n") + measure() + save(file) +
            QStringLiteral("show Form1\ncurve fastgraph1 3\ncurve fastgraph1 4\n"));
    ASSERT_EQ(first.exitCode, 0) << first.lines.join('\n').toStdString();
    EXPECT_TRUE(first.has(QStringLiteral("Form1: Zelvanor Ymt 2.4.5  - s1.txt")) ||
                first.lines.filter(QStringLiteral("Zelvanor Ymt 2.4.5  - s1.txt")).size() == 1);

    const QByteArray bytes = bytesOf(file);
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines)
        line.chop(1);
    const QStringList measured = first.points();
    ASSERT_GT(measured.size(), 800); // two ranges of 401 points (two curves printed)
    ASSERT_EQ(lines.size(), 21 + measured.size() / 2);
    EXPECT_EQ(lines[7], QByteArray("Electrode-Area [mm\xb2]    : 100.000"));
    EXPECT_EQ(lines[3], QByteArray("Sample Description      : S1"));
    for (qsizetype i = 21; i < lines.size(); ++i)
        ASSERT_TRUE(kRow.match(QString::fromLatin1(lines[i])).hasMatch()) << lines[i].data();

    const ProgramRun second =
        run(open(file) + QStringLiteral("show Form1\nshow Edit4\nshow Edit11\n"
                                        "curve fastgraph1 3\ncurve fastgraph1 4\n"));
    ASSERT_EQ(second.exitCode, 0) << second.lines.join('\n').toStdString();
    const QStringList reopened = second.points();
    ASSERT_EQ(reopened.size(), measured.size());
    // Bit for bit after the rounding to 8 digits: the points are the numbers of the rows.
    for (qsizetype i = 21; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        const QString expected = QString::asprintf("%.17g\t%.17g", fields[0].trimmed().toDouble(),
                                                   fields[1].trimmed().toDouble());
        EXPECT_EQ(reopened[i - 21], expected);
    }
    const QString joined = second.lines.join('\n');
    EXPECT_TRUE(joined.contains(QStringLiteral("Zelvanor Ymt 2.4.5  - s1.txt")));
    EXPECT_TRUE(joined.contains(QStringLiteral("S1")));
    EXPECT_TRUE(joined.contains(QStringLiteral("100.000")));
}

TEST_F(Operator, EveryPictureTypeIsWrittenInItsFormat) {
    const ProgramRun saved =
        run(measure() + save(data(QStringLiteral("p")), 2) + save(data(QStringLiteral("p")), 3) +
            save(data(QStringLiteral("p.txt")), 4) + save(data(QStringLiteral("p")), 5) +
            save(data(QStringLiteral("p")), 6) + save(data(QStringLiteral("p")), 7));
    ASSERT_EQ(saved.exitCode, 0) << saved.lines.join('\n').toStdString();
    EXPECT_TRUE(bytesOf(data(QStringLiteral("p.wmf"))).mid(40, 4) == " EMF");
    EXPECT_TRUE(bytesOf(data(QStringLiteral("p.bmp"))).startsWith("BM"));
    EXPECT_TRUE(bytesOf(data(QStringLiteral("p.txt"))).startsWith("\xff\xd8\xff"));
    EXPECT_TRUE(bytesOf(data(QStringLiteral("p.png"))).startsWith("\x89PNG"));
    EXPECT_TRUE(bytesOf(data(QStringLiteral("p.svg"))).contains("<svg"));
    EXPECT_TRUE(bytesOf(data(QStringLiteral("p.pdf"))).startsWith("%PDF"));
}

TEST_F(Operator, SettingsComeBackAfterARestartAndTheStoreHoldsEveryValue) {
    const ProgramRun first = run(QStringLiteral(
        "type Edit17 gpib3\nselect ComboBox10 0\nselect RadioGroup4 1\nselect RadioGroup6 1\n"
        "type Edit36 12.5\nenter Edit36\ncheck CheckBox25 1\ncheck CheckBox27 1\nquit\n"));
    ASSERT_EQ(first.exitCode, 0) << first.lines.join('\n').toStdString();
    const QString store = QString::fromUtf8(bytesOf(settingsPath()));
    for (const char* name :
         {"Version",    "HPIB",      "Adress",   "Color1",        "Color2",    "Width1",
          "Width2",     "Therm",     "COM",      "Analyzer",      "K",         "Range1",
          "Range1min",  "Range1max", "Range2",   "Range2min",     "Range2max", "Range3",
          "Range3min",  "Range3max", "Points",   "GetCouple",     "WorkDir",   "BackupDir",
          "ShowCont",   "MergePts",  "Language", "PrintLanguage", "Printer",   "Autoprot",
          "Autobackup", "kpoints",   "qpoints",  "tandunit",      "FreqLog"})
        EXPECT_TRUE(store.contains(QStringLiteral("\"%1\"=").arg(QLatin1String(name)))) << name;
    // The switch applied German.lng, so the stored item text is the German one.
    EXPECT_TRUE(store.contains(QStringLiteral("\"Language\"=\"Deutsch\"")));
    EXPECT_TRUE(store.contains(QStringLiteral("\"FreqLog\"=dword:00000001")));

    const ProgramRun second =
        run(QStringLiteral("expect Edit17 gpib3\nexpect ComboBox10 [1e-3]\n"
                           "expect RadioGroup4 Deutsch\n"
                           "expect RadioGroup6 \"Sicherung nur bei größeren Änderungen\"\n"
                           "expect Edit36 12.500\nexpect CheckBox25 1\nexpect CheckBox27 1\n"));
    EXPECT_EQ(second.exitCode, 0) << second.lines.join('\n').toStdString();
}

TEST_F(Operator, AStoredValueThatCannotBeReadIsNamedAndTakesItsDefault) {
    QDir().mkpath(QFileInfo(settingsPath()).absolutePath());
    write(settingsPath(), "Windows Registry Editor Version 5.00\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Kvr\\Ymt]\r\n"
                          "\"K\"=dword:00000007\r\n\"Range1min\"=hex:00,00,00,00,00,00,f0,7f\r\n"
                          "\"HPIB\"=\"gpib5\"\r\n");
    const ProgramRun started =
        run(QStringLiteral("answer OK\ntick\nexpect Edit17 gpib5\n"
                           "expect ComboBox4 k31 - Transversal Mode\nexpect Edit36 0.040\n"));
    EXPECT_EQ(started.exitCode, 0) << started.lines.join('\n').toStdString();
    EXPECT_TRUE(started.has(QStringLiteral(
        "message none \"Warning: Registry access error!\\nSkipped: K, Range1min\" -> OK")))
        << started.lines.join('\n').toStdString();
}

TEST_F(Operator, StoredFoldersGetTheirSlashAndAreCreatedAndAnEmptyOneTakesTheDefault) {
    QDir().mkpath(QFileInfo(settingsPath()).absolutePath());
    const QString work = dir_.filePath(QStringLiteral("new/work"));
    write(settingsPath(), "Windows Registry Editor Version 5.00\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Kvr\\Ymt]\r\n"
                          "\"WorkDir\"=\"" +
                              work.toUtf8() + "\"\r\n\"BackupDir\"=\"\"\r\n");
    const ProgramRun started =
        run(QStringLiteral("expect Edit31 %1/\nexpect Edit32 %2/backup/\n").arg(work, home()));
    EXPECT_EQ(started.exitCode, 0) << started.lines.join('\n').toStdString();
    EXPECT_TRUE(QDir(work).exists());
}

// Read New Spectrum, Read More Points, Read New Spectrum, Delete all points, Read New Spectrum,
// Open Spectrum..., shut-down; all within one second of the virtual clock.
TEST_F(Operator, BackupLevelsDecideWhichOperationsWriteABackup) {
    const int expected[] = {0, 4, 5};
    for (int option = 0; option < 3; ++option) {
        QDir(home() + QStringLiteral("/backup")).removeRecursively();
        const QString file = data(QStringLiteral("b%1.txt").arg(option));
        const ProgramRun done =
            run(QStringLiteral("select RadioGroup6 %1\n").arg(option) + measure() + save(file) +
                QStringLiteral("click Button7\nclick Button6\n"
                               "answer Yes\nclick DeletePoints1\n"
                               "click Button6\n") +
                open(file) + QStringLiteral("quit\n"));
        ASSERT_EQ(done.exitCode, 0) << done.lines.join('\n').toStdString();
        // Backups of the same second get "-1", "-2" ... instead of replacing each other.
        EXPECT_EQ(backups().size(), expected[option])
            << option << ": " << backups().join(' ').toStdString();
    }
}

TEST_F(Operator, AFileThatIsNoSpectrumChangesNothing) {
    write(data(QStringLiteral("random.txt")), QByteArray("\x13\x37\0\xff garbage\n1 2 3\n", 20));
    write(data(QStringLiteral("empty.txt")), QByteArray());
    QDir().mkpath(data(QStringLiteral("folder.txt")));
    QString steps = measure() + QStringLiteral("curve fastgraph1 3\nshow Edit1\n");
    for (const char* name : {"random.txt", "empty.txt", "folder.txt", "gone.txt"})
        steps +=
            QStringLiteral("file %1\nanswer OK\nclick ffnen1\n").arg(data(QLatin1String(name)));
    const ProgramRun done = run(steps + QStringLiteral("curve fastgraph1 3\nshow Edit1\n"));
    ASSERT_EQ(done.exitCode, 0) << done.lines.join('\n').toStdString();
    EXPECT_EQ(done.lines.filter(QStringLiteral("Error! Unknown file format!")).size(), 2);
    EXPECT_EQ(done.lines.filter(QStringLiteral("is a folder, not a file")).size(), 1);
    EXPECT_EQ(done.lines.filter(QStringLiteral("File not found.")).size(), 1);
    const QStringList points = done.points();
    ASSERT_EQ(points.size() % 2, 0);
    EXPECT_EQ(points.mid(0, points.size() / 2), points.mid(points.size() / 2));
    // Nothing was replaced, so the only backup is the one of the shut-down.
    EXPECT_EQ(backups().size(), 1);
}

TEST_F(Operator, OpenedNamesAreCleanedAndShortFilesKeepTheRange) {
    write(data(QStringLiteral("x.txt")),
          "Low Field Impedance Analysis  d / t -- Anna von Stein\r\n\r\nMaterial : m\r\n"
          "Sample Description      : ../x\r\nNotes : n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
          "tand              [1e-4]: ---\r\n\r\n\r\n\r\n\r\nk31  [%]: ---\r\n\r\n"
          "Frequency [kHz]\t|Z| [Ohm]\ttheta [\xb0]\r\n 1.0E+0002\t 5.0E+0002\t-8.0E+0001\r\n"
          " 2.0E+0002\t 1.0E+0003\r\n\r\n");
    const ProgramRun done = run(
        QStringLiteral("show Edit1\nshow Edit2\n") +
        QStringLiteral("file %1\nanswer OK\nclick ffnen1\n").arg(data(QStringLiteral("x.txt"))) +
        QStringLiteral("expect Edit4 .._x\nexpect Edit8 Anna von Stein\nexpect Label46 ---\n"
                       "show Edit1\nshow Edit2\ncurve fastgraph1 3\nquit\n"));
    ASSERT_EQ(done.exitCode, 0) << done.lines.join('\n').toStdString();
    EXPECT_EQ(done.points(), QStringList{QStringLiteral("100\t500")});
    EXPECT_TRUE(done.lines.join('\n').contains(QStringLiteral("1 incomplete data rows")));
    const QStringList ranges = done.lines.filter(QRegularExpression(QStringLiteral("^Edit[12]")));
    ASSERT_EQ(ranges.size(), 4);
    EXPECT_EQ(ranges.mid(0, 2), ranges.mid(2, 2));
    // The shut-down backup of the opened spectrum lies inside the backup folder.
    ASSERT_EQ(backups().size(), 1);
    EXPECT_TRUE(backups().first().endsWith(QStringLiteral("-.._x_dia.txt")));
}

TEST_F(Operator, SampleNameOnTabMeasurementNamesTheSeriesFileInTheWorkingDirectory) {
    const ProgramRun done =
        run(QStringLiteral("check CheckBox21 1\ntype Edit27 a/b:c?\nenter Edit27\n"
                           "expect Edit4 a_b_c_\nexpect Edit30 %1\n")
                .arg(data(QStringLiteral("a_b_c__series.txt"))));
    EXPECT_EQ(done.exitCode, 0) << done.lines.join('\n').toStdString();
}

TEST_F(Operator, AFailedBackupIsReportedAndTheSpectrumStaysWhenTheOperatorSaysSo) {
    write(dir_.filePath(QStringLiteral("blocker")), "a file, not a folder");
    const ProgramRun done = run(QStringLiteral("type Edit32 %1/sub\nenter Edit32\n")
                                    .arg(dir_.filePath(QStringLiteral("blocker"))) +
                                measure() +
                                QStringLiteral("curve fastgraph1 3\nanswer Cancel\n"
                                               "click Button6\ncurve fastgraph1 3\n"
                                               "answer OK\n"));
    ASSERT_EQ(done.exitCode, 0) << done.lines.join('\n').toStdString();
    EXPECT_EQ(done.lines.filter(QStringLiteral("The spectrum could not be backed up")).size(), 1);
    const QStringList points = done.points();
    EXPECT_EQ(points.mid(0, points.size() / 2), points.mid(points.size() / 2));
}

TEST_F(Operator, AskMeAnsweredNoWritesEnglishAndKeepsEnglish) {
    const ProgramRun done = run(QStringLiteral("select RadioGroup5 2\n") + measure() +
                                QStringLiteral("file %1 #1\nanswer No\nclick Speichern1\n"
                                               "expect RadioGroup5 English\n")
                                    .arg(data(QStringLiteral("e.txt"))));
    ASSERT_EQ(done.exitCode, 0) << done.lines.join('\n').toStdString();
    EXPECT_TRUE(bytesOf(data(QStringLiteral("e.txt"))).startsWith("Low Field Impedance Analysis"));
}

TEST(Backups, ASampleNameWithSlashAndColonStillGetsItsBackup) {
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    program.setProcessEnvironment(environment);
    const QString script = home.filePath(QStringLiteral("steps.txt"));
    QFile steps(script);
    ASSERT_TRUE(steps.open(QIODevice::WriteOnly));
    steps.write("type Edit4 \"PZT/5:A\"\ntype Memo2 line\nanswer No\nquit\n");
    steps.close();
    program.start(QStringLiteral(YMT_EXECUTABLE),
                  {QStringLiteral("--fast"), QStringLiteral("--home"), home.path(),
                   QStringLiteral("--script"), script});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardOutput().toStdString();
    const QStringList files = backupFiles(home.path());
    ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
    EXPECT_TRUE(files[0].endsWith(QStringLiteral("-PZT_5_A_prt.txt"))) << files[0].toStdString();
}

// The operator's files where the disk, the folders or the files themselves are not as expected.
class FileSafety : public Operator {
protected:
    QString path(const QString& name) const { return home() + QLatin1Char('/') + name; }

    // The script on the virtual clock; limitKiB > 0 limits the size of every file the program
    // writes, which it meets as a full disk does (a short write, no error).
    ProgramRun run(const QString& steps, int limitKiB = 0) {
        const QString script = ymt::test::WriteScript(dir_.path(), steps);
        QStringList arguments = {QStringLiteral("--fast"), QStringLiteral("--home"), home(),
                                 QStringLiteral("--script"), script};
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           dir_.filePath(QStringLiteral("config")));
        environment.remove(QStringLiteral("ZELVANOR_HOME"));
        process.setProcessEnvironment(environment);
        if (limitKiB > 0) {
            const QString command =
                QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(limitKiB);
            process.start(QStringLiteral("bash"), QStringList{QStringLiteral("-c"), command,
                                                              QStringLiteral(YMT_EXECUTABLE)} +
                                                      arguments);
        } else {
            process.start(QStringLiteral(YMT_EXECUTABLE), arguments);
        }
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(5000);
        }
        ProgramRun result;
        if (process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
        return result;
    }
};

TEST_F(FileSafety, MetafilesOnAFullDiskAreReportedLikeEveryFailedSave) {
    ymt::test::SpectrumFileOptions options;
    options.points = 401;
    const QString set = dir_.filePath(QStringLiteral("a.txt"));
    ASSERT_TRUE(ymt::test::WriteSpectrumFile(set, options));
    const QString wmf = path(QStringLiteral("data/plot.wmf"));
    const QString setWmf = path(QStringLiteral("data/set.wmf"));
    const ProgramRun done = run(QStringLiteral("select RadioGroup6 0\n") + measure() +
                                    QStringLiteral("file %1 #2\nanswer OK\nclick Speichern1\n"
                                                   "tab TabSheet5\nfile %2\nclick Button19\n"
                                                   "file %3 #1\nanswer OK\nclick Button21\nquit\n")
                                        .arg(wmf, set, setWmf),
                                8);
    ASSERT_EQ(done.exitCode, 0) << done.text().toStdString();
    const QStringList errors = done.lines.filter(QStringLiteral("message error"));
    ASSERT_EQ(errors.size(), 2) << done.text().toStdString();
    EXPECT_TRUE(errors[0].contains(wmf)) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].contains(setWmf)) << errors[1].toStdString();
    for (const QString& error : errors)
        EXPECT_TRUE(error.contains(QStringLiteral("bytes could be written (is the disk full?)")))
            << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(wmf));
    EXPECT_FALSE(QFileInfo::exists(setWmf));
    EXPECT_EQ(QDir(path(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden),
              QStringList())
        << "no temporary file is left";
}

TEST_F(FileSafety, LongSampleNamesStillGetDistinctReadableBackups) {
    // 6 + 3 x 120 bytes in UTF-8: longer than a file name may be.
    const QString name = QStringLiteral("Probe-") + QString(120, QChar(0x20AC));
    const ProgramRun done =
        run(QStringLiteral("select RadioGroup6 2\ntype Edit4 %1\nenter Edit4\n").arg(name) +
            measure() + QStringLiteral("click Button6\nquit\n"));
    ASSERT_EQ(done.exitCode, 0) << done.text().toStdString();
    EXPECT_EQ(done.count(QStringLiteral("could not be backed up")), 0) << done.text().toStdString();
    const QStringList backups =
        QDir(path(QStringLiteral("backup"))).entryList({QStringLiteral("*_dia.txt")}, QDir::Files);
    ASSERT_EQ(backups.size(), 2) << backups.join(' ').toStdString();
    for (const QString& backup : backups) {
        EXPECT_LE(QFile::encodeName(backup).size(), 200) << backup.toStdString();
        EXPECT_TRUE(backup.contains(QStringLiteral("-Probe-") + QString(20, QChar(0x20AC))))
            << backup.toStdString();
        EXPECT_TRUE(bytesOf(path(QStringLiteral("backup/")) + backup).startsWith("Low Field"));
    }
}

TEST_F(FileSafety, LinksInTheBackupFolderAreReplacedAndALinkedQcFileKeepsItsLink) {
    // The program's own copy in the backup folder: a link planted there is never written through.
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("backup"))));
    const QString victim = dir_.filePath(QStringLiteral("victim.txt"));
    write(victim, "keep me\r\n");
    const QString crashCopy = path(QStringLiteral("backup/protocol_before_crash.txt"));
    ASSERT_TRUE(QFile::link(victim, crashCopy));
    // QC.txt linked on purpose to a file kept elsewhere: it is updated where it lies.
    const ProgramRun first = run(QStringLiteral("quit\n"));
    ASSERT_EQ(first.exitCode, 0) << first.text().toStdString();
    ASSERT_TRUE(QDir().mkpath(dir_.filePath(QStringLiteral("shared"))));
    const QString sharedQc = dir_.filePath(QStringLiteral("shared/QC.txt"));
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("QC.txt")), sharedQc));
    ASSERT_TRUE(QFile::link(sharedQc, path(QStringLiteral("QC.txt"))));

    const ProgramRun done = run(QStringLiteral("click Button2\ntype ComboBox2 Linked\nanswer OK\n"
                                               "click Button22\nanswer No\nquit\n"));
    ASSERT_EQ(done.exitCode, 0) << done.text().toStdString();
    EXPECT_EQ(bytesOf(victim), QByteArray("keep me\r\n"));
    const QFileInfo copy(crashCopy);
    EXPECT_FALSE(copy.isSymLink());
    EXPECT_TRUE(copy.isFile());
    EXPECT_FALSE(bytesOf(crashCopy).isEmpty());

    EXPECT_TRUE(QFileInfo(path(QStringLiteral("QC.txt"))).isSymLink());
    EXPECT_TRUE(bytesOf(sharedQc).contains("\r\nLinked\r\n")) << bytesOf(sharedQc).toStdString();
    EXPECT_EQ(QDir(path(QStringLiteral("backup"))).entryList({QStringLiteral("QC_*.txt")}).size(),
              1);
    EXPECT_EQ(QDir(dir_.filePath(QStringLiteral("shared"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("QC.txt")});
}

TEST_F(FileSafety, AFileFarBeyondAnyRealSizeIsRefusedNamingItAndTheLimit) {
    // An old-layout QC.txt of 40 MB (a sparse file: no disk is filled for it).
    QFile qc(path(QStringLiteral("QC.txt")));
    ASSERT_TRUE(qc.open(QIODevice::WriteOnly));
    qc.write("TypeA\r\n");
    ASSERT_TRUE(qc.resize(40 * 1024 * 1024));
    qc.close();
    const ProgramRun done = run(QStringLiteral("answer OK\nshow ComboBox2\nquit\n"));
    ASSERT_EQ(done.exitCode, 0) << done.text().toStdString();
    const QStringList refused = done.lines.filter(QStringLiteral("message error"));
    ASSERT_EQ(refused.size(), 1) << done.text().toStdString();
    EXPECT_TRUE(refused[0].contains(path(QStringLiteral("QC.txt")))) << refused[0].toStdString();
    EXPECT_TRUE(refused[0].contains(QStringLiteral("32 MB"))) << refused[0].toStdString();
    EXPECT_EQ(QFileInfo(path(QStringLiteral("QC.txt"))).size(), 40 * 1024 * 1024);
}

TEST_F(FileSafety, OpenSpectrumReadsRegularFilesOnly) {
    const QString fifo = path(QStringLiteral("data/pipe.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const ProgramRun done = run(QStringLiteral("file %1\nanswer OK\nclick ffnen1\n"
                                               "file /dev/zero\nanswer OK\nclick ffnen1\nquit\n")
                                    .arg(fifo));
    ASSERT_EQ(done.exitCode, 0) << done.text().toStdString();
    EXPECT_EQ(done.count(QStringLiteral("is not a regular file")), 2) << done.text().toStdString();
}

TEST_F(FileSafety, FileErrorsNameTheFileAndLimitsAreSaid) {
    // A file stands where the backup folder should be; QC.txt is a folder.
    write(dir_.filePath(QStringLiteral("blocker")), "a file, not a folder");
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("QC.txt"))));
    const QString backupDir = dir_.filePath(QStringLiteral("blocker/sub"));
    const ProgramRun done = run(QStringLiteral("answer OK\ntype Edit32 %1\nenter Edit32\n"
                                               "answer OK\nclick Button2\n"
                                               "type ComboBox2 T1\nanswer OK\nclick Button22\n"
                                               "answer OK\ntype Edit35 3000000\nenter Edit35\n"
                                               "expect Edit35 2147483\n"
                                               "answer No\nanswer OK\nquit\n")
                                    .arg(backupDir));
    ASSERT_EQ(done.exitCode, 0) << done.text().toStdString();
    const QStringList errors = done.lines.filter(QStringLiteral("message error"));
    ASSERT_EQ(errors.size(), 4) << done.text().toStdString();
    // Start-up, Add Measured Data, Add/Replace Type, the shut-down protocol backup.
    EXPECT_TRUE(errors[0].contains(path(QStringLiteral("QC.txt")))) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].contains(backupDir + QStringLiteral("/protocol_before_crash.txt")))
        << errors[1].toStdString();
    EXPECT_TRUE(errors[2].contains(path(QStringLiteral("QC.txt")))) << errors[2].toStdString();
    EXPECT_TRUE(errors[3].contains(backupDir + QLatin1Char('/')) && errors[3].contains("_prt.txt"))
        << errors[3].toStdString();
    EXPECT_EQ(done.count(QStringLiteral("limited to 2147483 s")), 1) << done.text().toStdString();
}

TEST_F(FileSafety, AnOpenedFrequencyBeyondAnyAnalyzerGivesAShortMessage) {
    ymt::test::SpectrumFileOptions options;
    options.points = 3;
    options.extraRows = {QStringLiteral(" 1.7970000E+0308\t 1.0000000E+0003\t-8.0000000E+0001")};
    const QString file = path(QStringLiteral("data/huge.txt"));
    ASSERT_TRUE(ymt::test::WriteSpectrumFile(file, options));
    const ProgramRun done = run(QStringLiteral("file %1\nanswer OK\nclick ffnen1\n"
                                               "curve fastgraph1 3\nshow Edit2\nquit\n")
                                    .arg(file));
    ASSERT_EQ(done.exitCode, 0) << done.text().toStdString();
    const QStringList warnings = done.lines.filter(QStringLiteral("message warning"));
    ASSERT_EQ(warnings.size(), 1) << done.text().toStdString();
    EXPECT_LT(warnings[0].size(), 160) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("data row 4"))) << warnings[0].toStdString();
    EXPECT_EQ(
        done.lines.filter(QRegularExpression(QStringLiteral("^[0-9.e+]+\t[0-9.e+]+$"))).size(), 3);
}

} // namespace

TEST_F(Operator, AHandEditedFileKeepsItsResultTextsInTheLabelsAndWhenSavedAgain) {
    const QByteArray results = "Capacitance [nF]        : 1.5\r\n"
                               "tand              [1e-4]: 15.0\r\n"
                               "eps(rel)                : 1694.25\r\n"
                               "f(min)             [kHz]: 199.8\r\n"
                               "f(max)             [kHz]: 219.00000\r\n"
                               "keff                 [%]: 41.2\r\n"
                               "kt                   [%]: ---\r\n"
                               "Q(3dB)                  : 480\r\n"
                               "B(3dB)             [kHz]: 0.416 (f=199.8)\r\n";
    write(data(QStringLiteral("edited.txt")),
          "Low Field Impedance Analysis  d / t -- A\r\n\r\nMaterial                : m\r\n"
          "Sample Description      : e\r\nNotes                   : n\r\n"
          "Sample Geometry         : Arbitrary Geometry\r\n"
          "Electrode-Distance [mm] : 1.000\r\nElectrode-Area [mm\xb2]    : 100.000\r\n\r\n"
          "Frequency [kHz]         : 1.000\r\n" +
              results +
              "\r\nFrequency [kHz]\t|Z| [Ohm]\ttheta [\xb0]\r\n"
              " 1.0000000E+0002\t 5.0000000E+0002\t-8.0000000E+0001\r\n"
              " 2.0000000E+0002\t 1.0000000E+0003\t-7.0000000E+0001\r\n");
    const QString again = data(QStringLiteral("again.txt"));
    const ProgramRun done =
        run(open(data(QStringLiteral("edited.txt"))) +
            QStringLiteral("expect Label45 1.5\nexpect Label50 219.00000\n"
                           "expect Label53 ---\nexpect Label55 0.416 (f=199.8)\n") +
            save(again) + QStringLiteral("quit\n"));
    ASSERT_EQ(done.exitCode, 0) << done.lines.join('\n').toStdString();
    const QList<QByteArray> written = bytesOf(again).split('\n');
    ASSERT_GT(written.size(), 19);
    const QList<QByteArray> expected = results.split('\n');
    // tand follows the unit the tab shows, eps(rel) is computed anew from C and the geometry.
    for (int i : {0, 3, 4, 5, 6, 7, 8})
        EXPECT_EQ(written[10 + i], expected[i]) << i;
}
