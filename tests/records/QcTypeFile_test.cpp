// The records of "QC.txt" and its rewrite with history copies.
#include "records/QcTypeFile.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ymt;

namespace {

const QString kHeader = QStringLiteral("Zelvanor Ymt 2.4.5 Quality Control File");

QcTypeRecord record(const QString& name, const QString& capRef) {
    QStringList values;
    for (int i = 0; i < kQcValueLines; ++i)
        values << (i == QcLineCapRef ? capRef : QStringLiteral("0.0"));
    return {name, values};
}

QStringList readLines(const QString& path) {
    QStringList lines;
    ReadTextFile(path, lines);
    return lines;
}

} // namespace

TEST(QcTypeFile, RecordsRoundTripAndReplaceInPlace) {
    QcFileContent content = ParseQcLines({});
    EXPECT_FALSE(AddOrReplaceQcType(content, record(QStringLiteral("A"), QStringLiteral("1"))));
    EXPECT_FALSE(AddOrReplaceQcType(content, record(QStringLiteral("B"), QStringLiteral("2"))));
    EXPECT_TRUE(AddOrReplaceQcType(content, record(QStringLiteral("A"), QStringLiteral("3"))));
    const QStringList lines = QcFileLines(content, kHeader);
    ASSERT_EQ(lines.size(), 1 + 2 * 13);
    EXPECT_EQ(lines[0], kHeader);
    EXPECT_EQ(lines[1], QStringLiteral("A"));
    EXPECT_EQ(lines[2], QStringLiteral("3"));
    EXPECT_EQ(lines[13], QStringLiteral("****"));
    const QcFileContent back = ParseQcLines(lines);
    ASSERT_EQ(back.Records.size(), 2);
    EXPECT_EQ(FindQcType(back, QStringLiteral("B"))->Values[QcLineCapRef], QStringLiteral("2"));
    EXPECT_FALSE(FindQcType(back, QStringLiteral("b")));
}

TEST(QcTypeFile, TruncatedRecordsAndTheOldHeaderAreKept) {
    const QcFileContent content =
        ParseQcLines({QStringLiteral("my own header"), QStringLiteral("A"), QStringLiteral("5")});
    ASSERT_EQ(content.Records.size(), 1);
    EXPECT_EQ(content.Records[0].Values, QStringList{QStringLiteral("5")});
    const QStringList lines = QcFileLines(content, kHeader);
    EXPECT_EQ(lines[0], QStringLiteral("my own header"));
    EXPECT_EQ(lines.size(), 14);
}

TEST(QcTypeFile, InvalidNames) {
    for (const QString& name : {QString(), QStringLiteral("none"), QStringLiteral("NoNe"),
                                QStringLiteral("****"), QStringLiteral("a\nb")})
        EXPECT_FALSE(IsValidQcTypeName(name)) << name.toStdString();
    EXPECT_TRUE(IsValidQcTypeName(QStringLiteral("none2")));
    EXPECT_TRUE(IsValidQcTypeName(QStringLiteral("a|b;c\td")));
}

TEST(QcTypeFile, RewritesInOneSecondKeepEveryVersionAndCreateTheBackupFolder) {
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/");
    const QString backup = program + QStringLiteral("not/yet/there/");
    ASSERT_TRUE(WriteTextFile(program + QStringLiteral("QC.txt"), {kHeader}));
    const QString ts = QStringLiteral("20260101-120000");
    QString error;
    ASSERT_TRUE(RewriteQcFile(program, backup, ts, {kHeader, QStringLiteral("1")}, &error))
        << error.toStdString();
    ASSERT_TRUE(RewriteQcFile(program, backup, ts, {kHeader, QStringLiteral("2")}, &error));
    EXPECT_EQ(readLines(program + QStringLiteral("QC.txt")),
              (QStringList{kHeader, QStringLiteral("2")}));
    EXPECT_EQ(readLines(backup + QStringLiteral("QC_20260101-120000.txt")), QStringList{kHeader});
    EXPECT_EQ(readLines(backup + QStringLiteral("QC_20260101-120000-1.txt")),
              (QStringList{kHeader, QStringLiteral("1")}));
    EXPECT_FALSE(QFile::exists(program + QStringLiteral("QC_backup.txt")));
}

TEST(QcTypeFile, AFailedRewriteLeavesTheFileAndNoPartialBackup) {
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/");
    ASSERT_TRUE(WriteTextFile(program + QStringLiteral("QC.txt"), {kHeader}));
    // The backup folder cannot be made: a file stands where it should be.
    ASSERT_TRUE(WriteTextFile(program + QStringLiteral("blocked"), {QStringLiteral("x")}));
    QString error;
    EXPECT_FALSE(RewriteQcFile(program, program + QStringLiteral("blocked/"),
                               QStringLiteral("20260101-120000"), {kHeader, QStringLiteral("1")},
                               &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readLines(program + QStringLiteral("QC.txt")), QStringList{kHeader});
    EXPECT_FALSE(QFile::exists(program + QStringLiteral("QC_backup.txt")));
}

TEST(QcTypeFile, LimitFieldsGoToTheirValueLines) {
    std::array<QString, 10> fields;
    for (int field = 0; field < 10; ++field)
        fields[std::size_t(field)] = QStringLiteral("f%1").arg(field);
    const QStringList values = QcRecordValues(fields, QStringLiteral("hull.txt"));
    ASSERT_EQ(values.size(), kQcValueLines);
    // The file keeps f(min) before mode k, the window the other way round.
    EXPECT_EQ(values, (QStringList{"f0", "f1", "f2", "f3", "f4", "f5", "hull.txt", "f8", "f9", "f6",
                                   "f7"}));
}
