// Code page 1252 conversion, line splitting and the reading, replacing and appending of text
// files with CR LF line ends.
#include "core/FileWrite.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ymt;

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(Cp1252, DecodesTheHighControlRangeToItsPrintableCharacters) {
    const QString text = DecodeCp1252(QByteArray("\x80\x8A\x96\x99\x9F\xB0\xE4\xFC\xDF"));
    EXPECT_EQ(text, QString::fromUtf8("€Š–™Ÿ°äüß"));
}

TEST(Cp1252, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString decoded = DecodeCp1252(all);
    ASSERT_EQ(decoded.size(), 256);
    EXPECT_EQ(EncodeCp1252(decoded), all);
}

TEST(Cp1252, Bytes80To9FRoundTripOneByOne) {
    for (int b = 0x80; b <= 0x9F; ++b) {
        const QByteArray byte(1, static_cast<char>(b));
        const QString decoded = DecodeCp1252(byte);
        ASSERT_EQ(decoded.size(), 1);
        EXPECT_EQ(EncodeCp1252(decoded), byte) << "byte 0x" << std::hex << b;
    }
    // The five bytes the code page leaves undefined come back as the C1 control of that value.
    EXPECT_EQ(DecodeCp1252(QByteArray("\x81")), QString(QChar(0x81)));
    EXPECT_EQ(DecodeCp1252(QByteArray("\x9D")), QString(QChar(0x9D)));
}

TEST(Cp1252, DegreeSignIsOneByte) {
    EXPECT_EQ(EncodeCp1252(QString::fromUtf8("23.4 °C")), QByteArray("23.4 \xB0"
                                                                     "C"));
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(EncodeCp1252(QString::fromUtf8("Ω=1")), QByteArray("?=1"));
    // A character outside the basic plane is two UTF-16 units, each replaced.
    EXPECT_EQ(EncodeCp1252(QString::fromUtf8("a\U0001F600b")), QByteArray("a??b"));
    EXPECT_EQ(EncodeCp1252(QString()), QByteArray());
    // Each lost character is named once, a character outside the basic plane whole.
    EXPECT_EQ(
        CharactersNotInCp1252({QString::fromUtf8("Ω=1?"), QString::fromUtf8("a\U0001F600b Ω €")}),
        QStringList({QString::fromUtf8("Ω"), QString::fromUtf8("\U0001F600")}));
}

TEST(SplitLines, SplitsAtCrLfLoneCrAndLoneLf) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), QStringList({"a", "b", "c", "d"}));
    // LF followed by CR is two line ends, not one.
    EXPECT_EQ(SplitLines("a\n\rb"), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\r\rb"), QStringList({"a", "", "b"}));
}

TEST(SplitLines, FinalLineEndAddsNoEmptyLine) {
    EXPECT_EQ(SplitLines("a\r\n"), QStringList({"a"}));
    EXPECT_EQ(SplitLines("a\r"), QStringList({"a"}));
    EXPECT_EQ(SplitLines("a\n"), QStringList({"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), QStringList({"a", ""}));
    EXPECT_EQ(SplitLines("last without end"), QStringList({"last without end"}));
}

TEST(SplitLines, EmptyAndBlankTexts) {
    EXPECT_TRUE(SplitLines("").isEmpty());
    EXPECT_EQ(SplitLines("\r\n"), QStringList({""}));
    EXPECT_EQ(SplitLines("\n\n"), QStringList({"", ""}));
    EXPECT_EQ(SplitLines(" \t "), QStringList({" \t "}));
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir dir_;
};

TEST_F(TextFileTest, WriteUsesCp1252AndCrLf) {
    const QString file = path("spectrum_dia.txt");
    ASSERT_TRUE(
        WriteTextFile(file, {QString::fromUtf8("T = 23.4 °C"), "", QString::fromUtf8("€")}));
    EXPECT_EQ(readBytes(file), QByteArray("T = 23.4 \xB0"
                                          "C\r\n\r\n\x80\r\n"));
}

TEST_F(TextFileTest, WriteOfNoLinesGivesAnEmptyFile) {
    const QString file = path("empty.txt");
    ASSERT_TRUE(WriteTextFile(file, {}));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(readBytes(file), QByteArray());
}

TEST_F(TextFileTest, WriteReplacesTheWholeFileByRenaming) {
    const QString file = path("QC.txt");
    ASSERT_TRUE(WriteTextFile(file, {"a long first version of the file", "second line"}));
    QFile oldHandle(file);
    ASSERT_TRUE(oldHandle.open(QIODevice::ReadOnly));

    ASSERT_TRUE(WriteTextFile(file, {"new"}));
    EXPECT_EQ(readBytes(file), QByteArray("new\r\n"));
    // A reader that had the old file open still sees it whole: the new content went to
    // another file that was renamed into place, not into the old one.
    EXPECT_EQ(oldHandle.readAll(),
              QByteArray("a long first version of the file\r\nsecond line\r\n"));
    EXPECT_EQ(entries(), QStringList({"QC.txt"})) << "no temporary file may be left behind";
}

TEST_F(TextFileTest, FailedWriteReportsAndLeavesNothingBehind) {
    QString error;
    EXPECT_FALSE(WriteTextFile(path("no/such/dir/file.txt"), {"x"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(entries().isEmpty());
}

// A full disk as the program meets it: the system writes part of a buffer and reports no
// error. Here a child process may not write more than 4 KiB into any file.
TEST_F(TextFileTest, AFullDiskIsAFailureAndTheReplacedOrAppendedFileStaysWhole) {
    const QString kept = path("kept.txt");
    writeBytes(kept, "old contents\r\n");
    const QString rows = path("rows.txt");
    writeBytes(rows, "row 1\r\n");
    const QStringList big(200, QString(100, 'x'));
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString replaceError, appendError;
        const bool replaced = WriteTextFile(kept, big, &replaceError);
        const bool appended = AppendTextFile(path("log.txt"), big, &appendError);
        const bool appendedToRows = AppendTextFile(rows, big);
        _exit(!replaced && replaceError.contains("disk full") && !appended &&
                      appendError.contains("disk full") && !appendedToRows
                  ? 0
                  : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "both writes must fail";
    EXPECT_EQ(readBytes(kept), "old contents\r\n");
    // An append goes in whole or not at all: no cut-off line for the next one to glue onto,
    // and no file where there was none.
    EXPECT_EQ(readBytes(rows), "row 1\r\n");
    EXPECT_EQ(entries(), QStringList({"kept.txt", "rows.txt"})) << "no temporary file is left";
}

TEST_F(TextFileTest, WriteOntoADirectoryFailsAndKeepsIt) {
    ASSERT_TRUE(QDir(path("")).mkdir("target"));
    QString error;
    EXPECT_FALSE(WriteTextFile(path("target"), {"x"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(path("target")).isDir());
    EXPECT_EQ(entries(), QStringList({"target"}));
}

TEST_F(TextFileTest, ReadSplitsEveryKindOfLineEndAndDecodesCp1252) {
    const QString file = path("mixed.txt");
    writeBytes(file, QByteArray("f/kHz\t|Z|\r\n1.0\t\x80\r2.0\t\xB0\n\x81\x9F"));
    QStringList lines;
    ASSERT_TRUE(ReadTextFile(file, lines));
    EXPECT_EQ(lines, QStringList({"f/kHz\t|Z|", QString::fromUtf8("1.0\t€"),
                                  QString::fromUtf8("2.0\t°"), QString(QChar(0x81)) + "Ÿ"}));
}

TEST_F(TextFileTest, WrittenLinesReadBackUnchanged) {
    const QString file = path("roundtrip.txt");
    QString allHigh;
    for (int b = 0x80; b <= 0xFF; ++b)
        allHigh += DecodeCp1252(QByteArray(1, static_cast<char>(b)));
    const QStringList lines = {"Material: PZT", allHigh, "", "  indented  "};
    ASSERT_TRUE(WriteTextFile(file, lines));
    QStringList back;
    ASSERT_TRUE(ReadTextFile(file, back));
    EXPECT_EQ(back, lines);
}

TEST_F(TextFileTest, ReadOfEmptyFileGivesNoLines) {
    const QString file = path("empty.txt");
    writeBytes(file, QByteArray());
    QStringList lines = {"stale"};
    ASSERT_TRUE(ReadTextFile(file, lines));
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(TextFileTest, ReadOfMissingFileFailsWithMessageAndKeepsLines) {
    QStringList lines = {"kept"};
    QString error;
    EXPECT_FALSE(ReadTextFile(path("missing.txt"), lines, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(lines, QStringList({"kept"}));
    EXPECT_FALSE(ReadTextFile(path("missing.txt"), lines)); // no error text wanted
}

TEST_F(TextFileTest, ReadOfADirectoryFails) {
    QStringList lines;
    QString error;
    EXPECT_FALSE(ReadTextFile(path(""), lines, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(TextFileTest, ReadKeepsNulBytesAsCharacters) {
    const QString file = path("nul.txt");
    writeBytes(file, QByteArray("a\0b\r\nc", 6));
    QStringList lines;
    ASSERT_TRUE(ReadTextFile(file, lines));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString("a") + QChar(0) + "b");
    EXPECT_EQ(lines[1], "c");
}

TEST_F(TextFileTest, AppendCreatesThenExtendsWithCrLf) {
    const QString file = path("protocol_prt.txt");
    ASSERT_TRUE(AppendTextFile(file, {"first"}));
    ASSERT_TRUE(AppendTextFile(file, {QString::fromUtf8("second °"), "third"}));
    EXPECT_EQ(readBytes(file), QByteArray("first\r\nsecond \xB0\r\nthird\r\n"));
}

TEST_F(TextFileTest, AppendIntoMissingDirectoryFails) {
    QString error;
    EXPECT_FALSE(AppendTextFile(path("none/x.txt"), {"x"}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(FileWrite, AFailedWriteIsReportedAndAReplacementLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.txt"));
    ASSERT_TRUE(WriteFileReplacing(path, "old", nullptr));
    QString error;
    EXPECT_FALSE(WriteFileReplacing(dir.filePath(QStringLiteral("missing/s.txt")), "new", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing/s.txt")));
    ASSERT_TRUE(WriteFileReplacing(path, "new", nullptr));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"s.txt"});
}
