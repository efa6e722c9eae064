// The one reader of spectrum rows: what it takes, what it refuses, and line ends of both kinds.
#include "core/SpectrumRows.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace ymt {
namespace {

SpectrumRows readAll(const QByteArray& bytes, qint64 maxRows = kMaxSpectrumRows) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadSpectrumRows(buffer, maxRows);
}

TEST(SpectrumRowParse, TakesTheThreeNumbersOfAWrittenRowAndIgnoresFurtherColumns) {
    const auto point = ParseSpectrumRow(
        " 1.2345000E+0003\t 4.0000000E-0002\t-4.5300000E+0001\t 1.0E+0000\t 2.0E+0000");
    ASSERT_TRUE(point);
    EXPECT_EQ(point->frequency, 1234.5);
    EXPECT_EQ(point->magnitude, 0.04);
    EXPECT_EQ(point->phase, -45.3);
}

TEST(SpectrumRowParse, RefusesIncompleteAndNonFiniteRows) {
    for (const char* row : {"", "1 2", "1 2 x", "1 nan 3", "inf 2 3", "1 2 -inf", "1,5 2 3",
                            "1.5kHz 2 3", "abc", "1 2 3e999"})
        EXPECT_FALSE(ParseSpectrumRow(row)) << row;
}

TEST(SpectrumRowParse, AcceptsPlusSignsAndPlainNumbers) {
    const auto point = ParseSpectrumRow("+100 2.5e3 -90");
    ASSERT_TRUE(point);
    EXPECT_EQ(point->frequency, 100.0);
    EXPECT_EQ(point->magnitude, 2500.0);
    EXPECT_EQ(point->phase, -90.0);
}

TEST(SpectrumRowsRead, ReadsCrLfAndLfRowsAndPassesOverBlankLines) {
    const SpectrumRows rows = readAll("1 2 3\r\n4 5 6\n\r\n7 8 9\r\n\r\n");
    ASSERT_EQ(rows.points.size(), 3u);
    EXPECT_EQ(rows.points[2].frequency, 7.0);
    EXPECT_EQ(rows.points[2].phase, 9.0);
    EXPECT_EQ(rows.incompleteRows, 0);
}

TEST(SpectrumRowsRead, CountsIncompleteRowsAndNamesTheFirst) {
    const SpectrumRows rows = readAll("1 2 3\n1 2\n4 5 6\nnan 1 1\n7 8 9");
    EXPECT_EQ(rows.points.size(), 3u);
    EXPECT_EQ(rows.incompleteRows, 2);
    EXPECT_EQ(rows.firstIncompleteRow, 2);
}

TEST(SpectrumRowsRead, StopsAtTheRowLimit) {
    const SpectrumRows rows = readAll("1 2 3\n4 5 6\n7 8 9\n", 2);
    EXPECT_EQ(rows.points.size(), 2u);
    EXPECT_TRUE(rows.tooManyRows);
}

TEST(SpectrumRowsRead, SurvivesNulBytesAndVeryLongLines) {
    QByteArray bytes("1 2 3\n");
    bytes.append(QByteArray(3 * 1024 * 1024, 'x'));
    bytes.append("\n4 5 6\n");
    bytes.append(QByteArray("\0\0\0 7 8 9\n", 10));
    const SpectrumRows rows = readAll(bytes);
    ASSERT_EQ(rows.points.size(), 2u);
    EXPECT_EQ(rows.points[1].frequency, 4.0);
    EXPECT_EQ(rows.incompleteRows, 2);
}

TEST(SpectrumFileLine, DropsCrLfAndCutsOverlongLines) {
    QBuffer buffer;
    QByteArray bytes("ab\r\n");
    bytes.append(QByteArray(kMaxKeptLineLength + 10, 'y'));
    bytes.append("\ncd");
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QByteArray line;
    ASSERT_TRUE(ReadFileLine(buffer, line));
    EXPECT_EQ(line, "ab");
    ASSERT_TRUE(ReadFileLine(buffer, line));
    EXPECT_EQ(line.size(), kMaxKeptLineLength);
    ASSERT_TRUE(ReadFileLine(buffer, line));
    EXPECT_EQ(line, "cd");
    EXPECT_FALSE(ReadFileLine(buffer, line));
}

} // namespace
} // namespace ymt
