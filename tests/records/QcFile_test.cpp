// Start-up handling of "QC.txt": first start, old-layout conversion, take-over of a left-behind
// "QC_backup.txt", and file errors that must end in a message instead of a crash.
#include "records/QcFile.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ymt {
namespace {

const QString kVersion = QStringLiteral("2.4.5 ");
const QString kHeader = QStringLiteral("Zelvanor Ymt 2.4.5 Quality Control File");
const QString kStamp = QStringLiteral("20240131-235959");

class QcFileStartup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        programDir_ = home_.path() + QStringLiteral("/");
        backupDir_ = programDir_ + QStringLiteral("backup/");
        ASSERT_TRUE(QDir().mkpath(backupDir_));
    }

    QcStartupResult prepare() { return PrepareQcFile(programDir_, backupDir_, kVersion, kStamp); }

    QString qcPath() const { return programDir_ + QStringLiteral("QC.txt"); }
    QString leftBehindPath() const { return programDir_ + QStringLiteral("QC_backup.txt"); }
    QString movedPath() const { return backupDir_ + QStringLiteral("QC_") + kStamp + ".txt"; }

    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QStringList linesOf(const QString& path) {
        QStringList lines;
        EXPECT_TRUE(ReadTextFile(path, lines));
        return lines;
    }
    static QStringList record(const QString& name) {
        return {name,      "1.0",     "0.1",   "20.0", "2.0", "50.0", "5.0",
                QString(), "200.000", "2.000", "30.0", "3.0", "****"};
    }

    QTemporaryDir home_;
    QString programDir_;
    QString backupDir_;
};

TEST_F(QcFileStartup, FirstStartCreatesFileWithOnlyTheHeaderLine) {
    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.typeNames.isEmpty());
    EXPECT_EQ(bytesOf(qcPath()), QByteArray("Zelvanor Ymt 2.4.5 Quality Control File\r\n"));
    EXPECT_FALSE(QFile::exists(leftBehindPath()));
    EXPECT_TRUE(QDir(backupDir_).entryList(QDir::Files).isEmpty());
}

TEST_F(QcFileStartup, CurrentLayoutIsReadWithoutRewriting) {
    QStringList lines{kHeader};
    lines << record("PZT disc") << record("Ring 10") << record(QStringLiteral("Stab"));
    ASSERT_TRUE(WriteTextFile(qcPath(), lines));
    const QByteArray before = bytesOf(qcPath());

    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.typeNames, QStringList({"PZT disc", "Ring 10", "Stab"}));
    EXPECT_EQ(bytesOf(qcPath()), before);
    EXPECT_TRUE(QDir(backupDir_).entryList(QDir::Files).isEmpty());
}

TEST_F(QcFileStartup, HeaderOfAnotherVersionIsKept) {
    ASSERT_TRUE(WriteTextFile(qcPath(), QStringList{"Zelvanor Ymt 2.3.0 Quality Control File"} +
                                            record("A")));
    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.typeNames, QStringList{"A"});
    EXPECT_EQ(linesOf(qcPath()).first(), QStringLiteral("Zelvanor Ymt 2.3.0 Quality Control File"));
}

TEST_F(QcFileStartup, SixteenLineOldLayoutBecomesTwoThirteenLineRecords) {
    QStringList old;
    for (int i = 1; i <= 16; ++i)
        old << QStringLiteral("old %1").arg(i);
    ASSERT_TRUE(WriteTextFile(qcPath(), old));
    const QByteArray oldBytes = bytesOf(qcPath());

    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok) << result.error.toStdString();

    const QStringList converted = linesOf(qcPath());
    ASSERT_EQ(converted.size(), 1 + 13 + 13);
    EXPECT_EQ(converted[0], kHeader);
    for (int block = 0; block < 2; ++block) {
        const int base = 1 + 13 * block;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(converted[base + i], QStringLiteral("old %1").arg(8 * block + i + 1));
        for (int i = 8; i < 12; ++i)
            EXPECT_EQ(converted[base + i], QStringLiteral("0.000"));
        EXPECT_EQ(converted[base + 12], QStringLiteral("****"));
    }
    EXPECT_EQ(result.typeNames, QStringList({"old 1", "old 9"}));
    EXPECT_EQ(bytesOf(movedPath()), oldBytes);
    EXPECT_FALSE(QFile::exists(leftBehindPath()));
    EXPECT_TRUE(bytesOf(qcPath()).endsWith("****\r\n"));
}

TEST_F(QcFileStartup, ShortLastOldBlockIsFilledWithEmptyLines) {
    ASSERT_TRUE(WriteTextFile(qcPath(), {"T1", "a", "b", "c", "d", "e", "f", "g", "T2", "x"}));
    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok);
    const QStringList converted = linesOf(qcPath());
    ASSERT_EQ(converted.size(), 27);
    EXPECT_EQ(converted[14], QStringLiteral("T2"));
    EXPECT_EQ(converted[15], QStringLiteral("x"));
    for (int i = 16; i < 22; ++i)
        EXPECT_TRUE(converted[i].isEmpty()) << i;
    EXPECT_EQ(converted[22], QStringLiteral("0.000"));
    EXPECT_EQ(converted[26], QStringLiteral("****"));
    EXPECT_EQ(result.typeNames, QStringList({"T1", "T2"}));
}

TEST_F(QcFileStartup, EmptyFileGainsTheHeaderAndIsKeptInBackup) {
    ASSERT_TRUE(WriteTextFile(qcPath(), {}));
    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(linesOf(qcPath()), QStringList{kHeader});
    EXPECT_TRUE(QFile::exists(movedPath()));
    EXPECT_TRUE(result.typeNames.isEmpty());
}

TEST_F(QcFileStartup, LeftBehindBackupIsTakenOverAndOldFileKept) {
    ASSERT_TRUE(WriteTextFile(qcPath(), QStringList{kHeader} + record("Before")));
    const QByteArray before = bytesOf(qcPath());
    ASSERT_TRUE(
        WriteTextFile(leftBehindPath(), QStringList{kHeader} + record("Before") + record("Added")));

    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.typeNames, QStringList({"Before", "Added"}));
    EXPECT_FALSE(QFile::exists(leftBehindPath()));
    EXPECT_EQ(bytesOf(movedPath()), before);
    EXPECT_EQ(linesOf(qcPath()).size(), 27);
}

TEST_F(QcFileStartup, RecordWithoutEndMarkerEndsTheList) {
    ASSERT_TRUE(WriteTextFile(qcPath(), {kHeader, "Only", "1", "2"}));
    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.typeNames, QStringList{"Only"});
}

TEST_F(QcFileStartup, GarbageWithoutHeaderIsConvertedAndTheOriginalBytesKept) {
    QByteArray garbage;
    for (int i = 0; i < 256; ++i)
        garbage.append(static_cast<char>(i));
    {
        QFile file(qcPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    const QcStartupResult result = prepare();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(linesOf(qcPath()).first(), kHeader);
    EXPECT_EQ(bytesOf(movedPath()), garbage);
}

TEST_F(QcFileStartup, UnreadableQcFileReportsPlatformErrorWithThePath) {
    ASSERT_TRUE(QDir().mkdir(qcPath())); // exists, but cannot be read as a file
    const QcStartupResult result = prepare();
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(qcPath() + QStringLiteral(": ")))
        << result.error.toStdString();
    EXPECT_GT(result.error.size(), qcPath().size() + 2);
    EXPECT_TRUE(result.typeNames.isEmpty());
}

TEST_F(QcFileStartup, ProgramDirectoryThatCannotHoldFilesReportsErrorNamingTheQcFile) {
    // A program directory below a regular file takes no file, whoever runs the test (file
    // permissions do not stop an administrator).
    QFile blocker(programDir_ + QStringLiteral("not-a-dir"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString blockedDir = blocker.fileName() + "/";
    const QcStartupResult result = PrepareQcFile(blockedDir, backupDir_, kVersion, kStamp);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(blockedDir + QStringLiteral("QC.txt: ")))
        << result.error.toStdString();
    EXPECT_GT(result.error.size(), blockedDir.size() + 8);
    EXPECT_TRUE(result.typeNames.isEmpty());
    EXPECT_EQ(QDir(programDir_).entryList(QDir::Files), QStringList{"not-a-dir"});
}

TEST_F(QcFileStartup, MissingBackupDirectoryKeepsTheLeftBehindFile) {
    ASSERT_TRUE(WriteTextFile(qcPath(), QStringList{kHeader} + record("Old")));
    ASSERT_TRUE(WriteTextFile(leftBehindPath(), QStringList{kHeader} + record("New")));
    const QcStartupResult result =
        PrepareQcFile(programDir_, programDir_ + "missing/", kVersion, kStamp);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    // Nothing lost: both files stay where they were for the next start.
    EXPECT_EQ(linesOf(qcPath())[1], QStringLiteral("Old"));
    EXPECT_EQ(linesOf(leftBehindPath())[1], QStringLiteral("New"));
}

} // namespace
} // namespace ymt
