// Files under conditions an operator does not plan for, through the program: a full disk while
// a metafile is saved, sample names too long for a file name, links in the program's folders,
// files far larger than any real one, a FIFO chosen as a spectrum, and errors that name the file.
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
    QString text() const { return lines.join(QLatin1Char('\n')); }
    qsizetype count(const QString& part) const { return lines.filter(part).size(); }
};

class FileSafety : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir().mkpath(home() + QStringLiteral("/data")));
    }
    QString home() const { return dir_.filePath(QStringLiteral("home")); }
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
    static QByteArray bytesOf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static QString measure() {
        return QStringLiteral("answer Cancel\nclick Button12\nclick Button6\n");
    }

    QTemporaryDir dir_;
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
