// The CSV exchange file's numbers and rows, and the first lines that tell the spectrum files
// apart.
#include "core/SpectrumCsv.h"
#include "core/SpectrumPointFile.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace ymt {
namespace {

TEST(ShortestNumberText, ReadsBackBitForBitInAtMostSeventeenDigits) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::uint64_t> bits;
    int checked = 0;
    for (int i = 0; i < 20000; ++i) {
        double value;
        const std::uint64_t word = bits(random);
        std::memcpy(&value, &word, sizeof value);
        if (!std::isfinite(value))
            continue;
        const QByteArray text = ShortestNumberText(value);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text.data();
        // Significant digits: those of the mantissa without leading and trailing zeros (a
        // large number may be written in fixed notation, "123456789012345680000").
        QByteArray digits;
        for (const char c : text.left(text.indexOf('e') < 0 ? text.size() : text.indexOf('e')))
            if (c >= '0' && c <= '9')
                digits += c;
        while (digits.startsWith('0'))
            digits.remove(0, 1);
        while (digits.endsWith('0'))
            digits.chop(1);
        ASSERT_LE(digits.size(), 17) << text.data() << " " << digits.data();
        ++checked;
    }
    EXPECT_GT(checked, 19000);
    EXPECT_EQ(ShortestNumberText(0.1), QByteArray("0.1"));
    EXPECT_EQ(ShortestNumberText(-89.12345), QByteArray("-89.12345"));
    EXPECT_EQ(SpectrumCsvRow({100.25, 1234.5, -89.1}), QByteArray("100.25,1234.5,-89.1\n"));
}

TEST(SpectrumCsvParse, TakesKeysTitlesAndRowsAsSpreadsheetsAndTheWriterGiveThem) {
    const SpectrumCsvRead read =
        ParseSpectrumCsv("\xEF\xBB\xBF# sample: Disc: 10 mm\r\n#no key\r\n\r\n"
                         "\"frequency_kHz\",\"abs_Z_ohm\",\"theta_deg\",extra\r\n"
                         "100, 2.5e3 ,-90,7\r\n\"200\",\"+1e-3\",\"94\"\r\n# late: yes\r\n");
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    ASSERT_EQ(read.keys.size(), 2);
    EXPECT_EQ(read.keys[0].first, QStringLiteral("sample"));
    EXPECT_EQ(read.keys[0].second, QStringLiteral("Disc: 10 mm"));
    ASSERT_EQ(read.points.size(), 2u);
    EXPECT_EQ(read.points[0].magnitude, 2500.0);
    EXPECT_EQ(read.points[1].frequency, 200.0);
    EXPECT_EQ(read.points[1].magnitude, 1e-3);
    EXPECT_EQ(read.points[1].phase, 94.0);
}

TEST(SpectrumCsvParse, ADamagedRowOrMissingTitlesRefuseTheWholeFile) {
    const QByteArray titles = "frequency_kHz,abs_Z_ohm,theta_deg\n";
    const struct {
        QByteArray bytes;
        const char* error;
    } cases[] = {
        {"# a: b\n" + titles + "1,2,3\n1,2\n", "Line 4: a data row"},
        {titles + "1;2;3\n", "Line 2: a data row"},
        {titles + "1,5,2,3\n1,nan,3\n", "Line 3: a data row"},
        {titles + "1e9,2,3\n", "Line 2: the frequency"},
        {"# a: b\n1,2,3\n", "Line 2: the column titles"},
        {"# only comments\n", "no column titles"},
    };
    for (const auto& c : cases) {
        const SpectrumCsvRead read = ParseSpectrumCsv(c.bytes);
        EXPECT_FALSE(read.ok) << c.error;
        EXPECT_TRUE(read.points.empty());
        EXPECT_TRUE(read.error.contains(QLatin1String(c.error)))
            << c.error << " / " << read.error.toStdString();
    }
}

TEST(SpectrumFileKinds, TheFirstLineDecides) {
    EXPECT_EQ(SpectrumFileKindOf("4294A REV1.11"), SpectrumFileKind::AnalyzerData);
    EXPECT_EQ(SpectrumFileKindOf("# Zelvanor Ymt spectrum"), SpectrumFileKind::Csv);
    EXPECT_EQ(SpectrumFileKindOf("frequency_kHz,abs_Z_ohm,theta_deg"), SpectrumFileKind::Csv);
    EXPECT_EQ(SpectrumFileKindOf("Low Field Impedance Analysis  1.1.2026 -- A"),
              SpectrumFileKind::Own);
    EXPECT_EQ(SpectrumFileKindOf("Kleinsignalimpedanzmessung"), SpectrumFileKind::Own);
    EXPECT_EQ(SpectrumFileKindOf("frequency,Z,theta"), SpectrumFileKind::Unknown);
    // The points of each kind come out sorted; a damaged own file is refused, not half read.
    const SpectrumPointFile csv =
        ParseSpectrumPointFile("frequency_kHz,abs_Z_ohm,theta_deg\n3,1,0\n1,2,0\n");
    ASSERT_TRUE(csv.ok);
    EXPECT_EQ(csv.points.front().frequency, 1.0);
    const SpectrumPointFile own = ParseSpectrumPointFile(
        "Low Field Impedance Analysis\nx\n\tf\t|Z| [Ohm]\ttheta\n 2 3 4\n 1 2 x\n");
    EXPECT_FALSE(own.ok);
    EXPECT_TRUE(own.error.contains(QStringLiteral("Line 5"))) << own.error.toStdString();
    EXPECT_TRUE(own.points.empty());
}

} // namespace
} // namespace ymt
