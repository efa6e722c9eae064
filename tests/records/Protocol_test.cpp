// Column titles, result lines and the reading of protocol files.
#include "records/Protocol.h"
#include "records/ProtocolBook.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ymt;

namespace {

QString titleOfSample(const QString& sampleName) {
    return ProtocolColumnTitles(QStringLiteral("Sample"), sampleName, QStringLiteral("10.000"),
                                QStringLiteral("[1e-3]"), QStringLiteral("k33       [%]"))
        .section(QLatin1Char('\t'), 0, 0);
}

void writeBytes(const QString& path, qint64 size) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(size, 'a'));
}

} // namespace

TEST(Protocol, SampleTitleIsPaddedToTheNameLength) {
    EXPECT_EQ(titleOfSample(QStringLiteral("0123456789")), QStringLiteral("Sample    "));
    EXPECT_EQ(titleOfSample(QStringLiteral("abc")), QStringLiteral("Sample   "));
    EXPECT_EQ(titleOfSample(QString()), QStringLiteral("Sample "));
}

TEST(Protocol, HeaderHasADensityLineOnlyWhenOneWasTyped) {
    ResultsSnapshot snapshot;
    snapshot.Sample.Material = QStringLiteral("PZT");
    const auto header = [&] {
        return ProtocolHeaderBlock(snapshot, QStringLiteral("Notes"), QStringLiteral("Date"),
                                   QStringLiteral("d"), QStringLiteral("t"),
                                   QStringLiteral("titles"));
    };
    const QStringList without = header();
    snapshot.Sample.DensityKgM3 = 7750;
    const QStringList with = header();
    ASSERT_EQ(with.size(), without.size() + 1);
    EXPECT_EQ(with[3], QStringLiteral("Density          : 7750 kg/m^3"));
    // The lines around it stay where they were.
    EXPECT_EQ(with.mid(0, 3), without.mid(0, 3));
    EXPECT_EQ(with.mid(4), without.mid(3));
}

TEST(Protocol, ColumnTitlesNameFrequencyUnitAndMode) {
    const QStringList titles =
        ProtocolColumnTitles(QStringLiteral("Sample"), QStringLiteral("x"),
                             QStringLiteral("10.000"), QStringLiteral("[1e-3]"),
                             QStringLiteral("k33       [%]"))
            .split(QLatin1Char('\t'));
    ASSERT_EQ(titles.size(), 11);
    EXPECT_EQ(titles[4], QStringLiteral("C(10.000kHz)[nF]"));
    EXPECT_EQ(titles[5], QStringLiteral("tand [1e-3]"));
    EXPECT_EQ(titles[8], QStringLiteral("k33 [%]"));
}

TEST(Protocol, ResultFieldsArePaddedToTheirWidths) {
    ResultsSnapshot texts;
    texts.Sample.SampleName = QStringLiteral("S");
    texts.Shown.FMax = ResultValue::FromText(QStringLiteral("12345.67890"),
                                             12345.6789); // 11 characters: 11 blanks more
    texts.Values.ZMin = 1;
    for (ResultValue* field :
         {&texts.Shown.Rs, &texts.Shown.Cap, &texts.Shown.TanD, &texts.Shown.Eps, &texts.Shown.KEff,
          &texts.Shown.KMode, &texts.Shown.Q3dB, &texts.Shown.B3dB})
        *field = ResultValue(1, 0);
    const QStringList fields = ProtocolResultLine(texts).split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), 11);
    EXPECT_EQ(fields[0], QStringLiteral("S"));
    EXPECT_EQ(fields[1], QStringLiteral("---") + QString(8, QLatin1Char(' ')));
    EXPECT_EQ(fields[2], QStringLiteral("12345.67890") + QString(11, QLatin1Char(' ')));
    const int widths[] = {8, 15, 10, 8, 9, 7, 7, 7};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(fields[3 + i].size(), widths[i]) << i;
}

TEST(Protocol, LoadLimitIsSixteenMebibytes) {
    QTemporaryDir dir;
    const QString fits = dir.filePath(QStringLiteral("fits.txt"));
    const QString above = dir.filePath(QStringLiteral("above.txt"));
    writeBytes(fits, 16 * 1024 * 1024 + 1023);
    writeBytes(above, 16 * 1024 * 1024 + 1024);
    EXPECT_EQ(LoadProtocolFile(fits).Status, ProtocolLoadStatus::Loaded);
    EXPECT_EQ(LoadProtocolFile(above).Status, ProtocolLoadStatus::TooLarge);
    EXPECT_EQ(LoadProtocolFile(dir.path()).Status, ProtocolLoadStatus::Failed);
    const ProtocolLoad missing = LoadProtocolFile(dir.filePath(QStringLiteral("none.txt")));
    EXPECT_EQ(missing.Status, ProtocolLoadStatus::Failed);
    EXPECT_FALSE(missing.Error.isEmpty());
}

// "On C measurement": the line of the same capacitance is updated only while it stands as the
// book wrote it; titles come first after a header change, and then the line is a new one.
TEST(ProtocolBook, ReplacesOnlyItsOwnLastLineOfTheSameCapacitance) {
    ProtocolBook book;
    book.headerAdded();
    QStringList lines = book.addResultLine({"head"}, "titles", "a", 2.0, true);
    lines = book.addResultLine(lines, "titles", "b", 2.0, true);
    EXPECT_EQ(lines, (QStringList{"head", "b"}));
    lines = book.addResultLine(lines, "titles", "c", 3.0, true);
    EXPECT_EQ(lines, (QStringList{"head", "b", "c"}));
    EXPECT_EQ(book.addResultLine(lines, "titles", "d", 3.0, false).size(), 4);
    EXPECT_EQ(book.addResultLine({"edited"}, "titles", "e", 3.0, true).size(), 2);
    book.forgetLine();
    EXPECT_EQ(book.addResultLine({"e"}, "titles", "f", 3.0, true).size(), 2);
    // A reset of the remembered capacitance to 0 does not let a 0 nF result replace the line.
    book.LastProtocolledCap = 0;
    EXPECT_EQ(book.addResultLine({"f"}, "titles", "g", 0.0, true).size(), 2);
    book.HeaderChanged = true;
    EXPECT_EQ(book.addResultLine({"g"}, "titles", "h", 0.0, true),
              (QStringList{"g", " ", "titles", " ", "h"}));
    EXPECT_FALSE(book.HeaderChanged);
}
