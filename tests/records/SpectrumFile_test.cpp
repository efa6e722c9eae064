// The spectrum text file: number layout, header lines, columns of both kinds of display pair,
// visible points, and reading back what was written (including files of older programs).
#include "records/SpectrumFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cmath>

namespace ymt {
namespace {

// A snapshot and what the file takes beside it.
struct SampleFile {
    ResultsSnapshot snapshot;
    SpectrumFileExtras extras;
    QByteArray bytes(const CurveStore& store,
                     std::optional<std::pair<double, double>> range = std::nullopt) const {
        return SpectrumFileBytes(snapshot, extras, store, range);
    }
};

SampleFile sampleFile() {
    SampleFile file;
    ResultsSnapshot& s = file.snapshot;
    s.Sample.MeasuredBy = QStringLiteral("Anna von Stein");
    s.Sample.Material = QStringLiteral("PZT-5H");
    s.SampleNameText = QStringLiteral("S1");
    s.NotesText = QStringLiteral("poled");
    s.Sample.Geometry = GeometryKind::CircularDisc;
    s.ElectrodeDistanceText = QStringLiteral("1.000");
    s.ElectrodeAreaText = QStringLiteral("100.000");
    s.CapFrequency = QStringLiteral("1.000");
    s.TandUnit = QStringLiteral("[1e-3]");
    s.ModeCaption = QStringLiteral("kt         [%]");
    ShownResults& r = s.Shown;
    r.Cap = ResultValue(1.5, 3);
    r.TanD = ResultValue(1.5, 1);
    r.Eps = ResultValue(1694, 0);
    r.FMin = ResultValue(199.8, 3);
    r.FMax = ResultValue(219, 3);
    // Texts an older or a hand-edited file gave back, kept as they were.
    r.KEff = ResultValue::FromText(QStringLiteral("41.2"), 41.2);
    r.KMode = ResultValue::FromText(QStringLiteral("38.0"), 38);
    r.Q3dB = ResultValue(480, 0);
    r.B3dB = ResultValue::FromText(QStringLiteral("0.416 (f=199.8)"), 0.416);
    file.extras.DateTime = QStringLiteral("1/31/24 / 11:59:59 PM");
    file.extras.LeftAxisTitle = QStringLiteral("|Z| [Ohm]");
    file.extras.RightAxisTitle = QStringLiteral("theta [°]");
    return file;
}

CurveStore spectrum(int points) {
    CurveStore store;
    for (int i = 0; i < points; ++i) {
        const double f = 100.0 + i * 1.234567891;
        store.AddPoint(3, f, 1000.0 / (1 + i) + 1e-9);
        store.AddPoint(4, f, -89.123456789 + i);
        store.AddPoint(1, f, i * 0.5);
        store.AddPoint(2, f, -i * 0.25);
    }
    return store;
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    EXPECT_TRUE(lines.last().isEmpty()); // every line ends in CR LF
    lines.removeLast();
    for (QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r'));
        line.chop(1);
    }
    return lines;
}

SpectrumFileRead readBack(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadSpectrumFile(buffer);
}

TEST(SpectrumNumber, SixteenCharactersWithFourExponentDigits) {
    EXPECT_EQ(SpectrumNumberText(1234.5), " 1.2345000E+0003");
    EXPECT_EQ(SpectrumNumberText(0.04), " 4.0000000E-0002");
    EXPECT_EQ(SpectrumNumberText(-45.3), "-4.5300000E+0001");
    EXPECT_EQ(SpectrumNumberText(0.0), " 0.0000000E+0000");
    EXPECT_EQ(SpectrumNumberText(-0.0), " 0.0000000E+0000");
    EXPECT_EQ(SpectrumNumberText(999999995.0), " 1.0000000E+0009"); // rounds up a decade
    EXPECT_EQ(SpectrumNumberText(-1.5e-300), "-1.5000000E-0300");
    EXPECT_EQ(SpectrumNumberText(123456789.0), " 1.2345679E+0008");
}

TEST(SpectrumHeaderLayout, ValuesStartInColumn27WithLabelsOfTheFileLanguage) {
    const QByteArray bytes = sampleFile().bytes(spectrum(3));
    const QList<QByteArray> lines = linesOf(bytes);
    ASSERT_EQ(lines.size(), 21 + 3);
    EXPECT_EQ(lines[0], "Low Field Impedance Analysis  1/31/24 / 11:59:59 PM -- Anna von Stein");
    EXPECT_EQ(lines[2], "Material                : PZT-5H");
    EXPECT_EQ(lines[5], "Sample Geometry         : Circular Disc / Rod");
    EXPECT_EQ(lines[7], "Electrode-Area [mm\xb2]    : 100.000");
    EXPECT_EQ(lines[11], "tand              [1e-3]: 1.5");
    EXPECT_EQ(lines[16], "kt                   [%]: 38.0");
    EXPECT_EQ(lines[20], "Frequency [kHz]\t|Z| [Ohm]\ttheta [\xb0]");
    for (int i : {2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18})
        EXPECT_EQ(lines[i].indexOf(": "), 24) << i;

    SampleFile german = sampleFile();
    german.extras.German = true;
    german.snapshot.Sample.Geometry = GeometryKind::RectangularDisc;
    const QList<QByteArray> de = linesOf(german.bytes(spectrum(1)));
    EXPECT_TRUE(de[0].startsWith("Kleinsignalimpedanzmessung  "));
    EXPECT_EQ(de[5], "Probengeometrie         : Rechteck-Platte / Rechteckstab");
    EXPECT_EQ(de[7], "Elektrodenfl\xe4"
                     "che [mm\xb2]  : 100.000");
}

TEST(SpectrumRowsLayout, FiveColumnsForAnotherPairAndThreeWhenDisplayCurvesAreShort) {
    SampleFile other = sampleFile();
    other.extras.FirstDisplayPair = false;
    other.extras.LeftAxisTitle = QStringLiteral("eps'");
    other.extras.RightAxisTitle = QStringLiteral("eps''");
    QList<QByteArray> lines = linesOf(other.bytes(spectrum(2)));
    EXPECT_EQ(lines[20], "Frequency [kHz]\t|Z| [Ohm]\ttheta [\xb0]\teps'\teps''");
    EXPECT_EQ(lines[22], " 1.0123457E+0002\t 5.0000000E+0002\t-8.8123457E+0001\t"
                         " 5.0000000E-0001\t-2.5000000E-0001");

    CurveStore shortDisplay = spectrum(3);
    shortDisplay.ClearCurve(1); // e.g. eps' - eps'' without an electrode area
    shortDisplay.ClearCurve(2);
    lines = linesOf(other.bytes(shortDisplay));
    EXPECT_EQ(lines[20], "Frequency [kHz]\t|Z| [Ohm]\ttheta [\xb0]");
    ASSERT_EQ(lines.size(), 24);
    EXPECT_EQ(lines[23].split('\t').size(), 3);
}

TEST(SpectrumRowsLayout, VisiblePointsOnlyLeavesOutTheLimitsThemselves) {
    CurveStore store;
    for (double f : {99.0, 100.0, 150.0, 200.0, 201.0}) {
        store.AddPoint(3, f, 1);
        store.AddPoint(4, f, 2);
    }
    const QList<QByteArray> lines = linesOf(sampleFile().bytes(store, std::pair(100.0, 200.0)));
    ASSERT_EQ(lines.size(), 22);
    EXPECT_TRUE(lines[21].startsWith(" 1.5000000E+0002"));
}

TEST(SpectrumFileRoundTrip, PointsAndHeaderComeBackAsWritten) {
    const CurveStore store = spectrum(401);
    SampleFile file = sampleFile();
    ResultsSnapshot& header = file.snapshot;
    // However long a typed text is, it comes back whole.
    header.Sample.MeasuredBy += QString(300, QLatin1Char('m'));
    header.NotesText += QString(300, QLatin1Char('n'));
    header.Sample.Material += QStringLiteral("\r\npasted\nlines"); // must not move the later lines
    const SpectrumFileRead read = readBack(file.bytes(store));
    ASSERT_EQ(read.status, SpectrumReadStatus::Ok);
    const SpectrumFileContent& c = read.content;
    ASSERT_EQ(c.rows.points.size(), 401u);
    for (int i = 0; i < 401; ++i) {
        // Rounded to 8 significant digits, and read back to the same double as the text.
        EXPECT_EQ(c.rows.points[i].frequency,
                  SpectrumNumberText(store.x(3, i)).trimmed().toDouble());
        EXPECT_EQ(c.rows.points[i].phase, SpectrumNumberText(store.y(4, i)).toDouble());
    }
    EXPECT_EQ(c.measuredBy, header.Sample.MeasuredBy);
    EXPECT_EQ(c.material, "PZT-5H pasted lines");
    EXPECT_EQ(c.sampleName, "S1");
    EXPECT_EQ(c.notes, header.NotesText);
    EXPECT_EQ(c.electrodeArea, "100.000");
    EXPECT_EQ(c.capacitance, "1.500");
    EXPECT_EQ(c.tand, 15.0); // 1.5 in units of 1e-3
    EXPECT_EQ(c.couplingType, 2);
    EXPECT_EQ(c.kmode, "38.0");
    EXPECT_TRUE(c.hasQuality);
    EXPECT_EQ(c.q3db, "480");
    EXPECT_EQ(c.b3dbValue, 0.416);
    EXPECT_EQ(c.leftAxisTitle, "|Z| [Ohm]");
    EXPECT_EQ(c.rightAxisTitle, "theta [°]");
}

TEST(SpectrumFileRead, OlderFilesAndShortFiles) {
    // No Q/B lines, an LF-only file, the operator named after " von ".
    const QByteArray old =
        "Kleinsignalimpedanzmessung 1.1.99 von Vazaz\n\nMaterial : M\nProbe : ../x\n"
        "N : n\n\n\n\n\n\n\ntand [1e-4]: 3\n\n\n\n\nk33 [%]: 12\n\nF\tA\tB\n1 2 3\n4 5 6\n";
    SpectrumFileRead read = readBack(old);
    ASSERT_EQ(read.status, SpectrumReadStatus::Ok);
    EXPECT_EQ(read.content.measuredBy, "Vazaz");
    EXPECT_EQ(read.content.sampleName, "../x");
    EXPECT_EQ(read.content.tand, 3.0);
    EXPECT_EQ(read.content.couplingType, 1);
    EXPECT_FALSE(read.content.hasQuality);
    EXPECT_EQ(read.content.leftAxisTitle, "A");
    EXPECT_EQ(read.content.rows.points.size(), 2u);

    read = readBack("Impedance but nothing else");
    EXPECT_EQ(read.status, SpectrumReadStatus::Ok);
    EXPECT_TRUE(read.content.material.isEmpty());
    EXPECT_TRUE(read.content.rows.points.empty());

    for (const QByteArray& bad :
         {QByteArray(), QByteArray("\0\0\0", 3), QByteArray("random \x01\x02 bytes\nmpedan")})
        EXPECT_EQ(readBack(bad).status, SpectrumReadStatus::UnknownFormat);
}

TEST(SpectrumFileRead, ModeNamesCountWithoutTheirPaddingAndTheLastOneWins) {
    EXPECT_EQ(CouplingTypeFromLine(QStringLiteral("kt[%]: 38.0")), 2);
    EXPECT_EQ(CouplingTypeFromLine(QStringLiteral("kp: 12")), 4);
    EXPECT_EQ(CouplingTypeFromLine(QStringLiteral("k31 k15 [%]: 12")), 3);
    EXPECT_EQ(CouplingTypeFromLine(QStringLiteral("keff [%]: 12")), -1);
}

TEST(SpectrumFileRead, MeasuredByRulesKeepNamesWithVonOrBy) {
    EXPECT_EQ(MeasuredByFromTitleLine("Low Field Impedance Analysis  d / t -- Anna von Stein"),
              "Anna von Stein");
    EXPECT_EQ(MeasuredByFromTitleLine("Title  d / t -- Stand by Me"), "Stand by Me");
    EXPECT_EQ(MeasuredByFromTitleLine("Title d t von Vazaz"), "Vazaz");
    EXPECT_EQ(MeasuredByFromTitleLine("Title only"), "Title only");
}

TEST(SpectrumFileRead, MissingFilesAndFoldersAreToldApart) {
    QTemporaryDir dir;
    EXPECT_EQ(ReadSpectrumFile(dir.filePath(QStringLiteral("gone.txt"))).status,
              SpectrumReadStatus::NotFound);
    EXPECT_EQ(ReadSpectrumFile(dir.path()).status, SpectrumReadStatus::NotAFile);
}

TEST(SpectrumHeaderLayout, DateAndTimeWithoutTheTimeZone) {
    const QDateTime at(QDate(2024, 3, 5), QTime(13, 5, 9), QTimeZone::utc());
    const QString text = SpectrumFileDateTime(at);
    const QString date = QLocale::system().toString(at.date(), QLocale::ShortFormat);
    EXPECT_TRUE(text.startsWith(date + QStringLiteral(" / "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(":05:09"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("UTC"))) << text.toStdString();
    EXPECT_EQ(text, text.trimmed());
}

} // namespace
} // namespace ymt
