// Number texts, tolerant number reading, padding, timestamps, sample names and the delay of
// the shared helpers.
#include "core/Clock.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

using namespace ymt;

namespace {

// Switches the C library's numeric locale to German for one scope, as Qt's start-up does on a
// German desktop. Without an installed German locale one is compiled into a temporary folder
// when the locale sources are there; active() is false when neither works.
class GermanCLocale {
public:
    GermanCLocale() {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        saved_ = current ? current : "C";
        active_ = trySetGerman() || (compileGerman() && trySetGerman());
    }
    ~GermanCLocale() {
        std::setlocale(LC_NUMERIC, saved_.c_str());
        if (changedLocPath_)
            qunsetenv("LOCPATH");
    }
    bool active() const { return active_; }

private:
    static bool trySetGerman() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro"})
            if (std::setlocale(LC_NUMERIC, name))
                return true;
        return false;
    }
    bool compileGerman() {
        if (qEnvironmentVariableIsSet("LOCPATH") || !dir_.isValid() ||
            !QFile::exists("/usr/share/i18n/locales/de_DE"))
            return false;
        QProcess localedef;
        localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", dir_.filePath("de_DE.UTF-8")});
        if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit ||
            !QFile::exists(dir_.filePath("de_DE.UTF-8")))
            return false;
        qputenv("LOCPATH", dir_.path().toLocal8Bit());
        changedLocPath_ = true;
        return true;
    }

    QTemporaryDir dir_;
    std::string saved_;
    bool active_ = false;
    bool changedLocPath_ = false;
};

class GermanQLocale {
public:
    GermanQLocale() : saved_(QLocale()) { QLocale::setDefault(QLocale(QLocale::German)); }
    ~GermanQLocale() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

} // namespace

TEST(IntText, WritesPlainDecimalWithSign) {
    EXPECT_EQ(IntText(0), "0");
    EXPECT_EQ(IntText(401), "401");
    EXPECT_EQ(IntText(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntText(2147483647), "2147483647");
}

TEST(FixedText, WorkedExampleKeepsTrailingZeros) {
    EXPECT_EQ(FixedText(0.04, 1, 3), "0.040");
}

TEST(FixedText, ZeroDecimalsHasNoPoint) {
    EXPECT_EQ(FixedText(12.4, 1, 0), "12");
    EXPECT_EQ(FixedText(12.5, 1, 0), "13");
    EXPECT_EQ(FixedText(-12.5, 1, 0), "-13");
}

TEST(FixedText, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    // Binary 1.005 is 1.00499999...; the operator reads 1.005 and expects 1.01.
    EXPECT_EQ(FixedText(1.005, 1, 2), "1.01");
    EXPECT_EQ(FixedText(2.675, 1, 2), "2.68");
    EXPECT_EQ(FixedText(-2.675, 1, 2), "-2.68");
    EXPECT_EQ(FixedText(0.125, 1, 2), "0.13");
    EXPECT_EQ(FixedText(0.135, 1, 2), "0.14");
    EXPECT_EQ(FixedText(1.0049, 1, 2), "1.00");
}

TEST(FixedText, CarryRunsThroughAllNines) {
    EXPECT_EQ(FixedText(9.9996, 1, 3), "10.000");
    EXPECT_EQ(FixedText(-999.95, 1, 1), "-1000.0");
    EXPECT_EQ(FixedText(0.9999999, 1, 0), "1");
}

TEST(FixedText, NegativeValueThatRoundsToZeroHasNoMinus) {
    EXPECT_EQ(FixedText(-0.001, 1, 2), "0.00");
    EXPECT_EQ(FixedText(-0.0, 1, 1), "0.0");
    EXPECT_EQ(FixedText(-0.005, 1, 2), "-0.01");
}

TEST(FixedText, RightAlignsToWidthWithoutCutting) {
    EXPECT_EQ(FixedText(3.14159, 8, 2), "    3.14");
    EXPECT_EQ(FixedText(-3.14159, 8, 2), "   -3.14");
    EXPECT_EQ(FixedText(123456.789, 3, 1), "123456.8");
    EXPECT_EQ(FixedText(1.5, 0, 1), "1.5");
    EXPECT_EQ(FixedText(1.5, -4, 1), "1.5");
}

TEST(FixedText, LargeAndSmallMagnitudes) {
    EXPECT_EQ(FixedText(110000, 1, 3), "110000.000");
    EXPECT_EQ(FixedText(1e15, 1, 0), "1000000000000000");
    EXPECT_EQ(FixedText(1e-300, 1, 3), "0.000");
    EXPECT_EQ(FixedText(4.5e-7, 1, 6), "0.000000");
    EXPECT_EQ(FixedText(5e-7, 1, 6), "0.000001");
    // 1e300 has 301 digits before the point; no thousands separator anywhere.
    const QString huge = FixedText(1e300, 1, 2);
    EXPECT_EQ(huge.size(), 301 + 3);
    EXPECT_TRUE(huge.startsWith("1000000000000000"));
    EXPECT_TRUE(huge.endsWith("0.00"));
    EXPECT_FALSE(huge.contains(','));
}

TEST(FixedText, NegativeDecimalsCountAsNone) {
    EXPECT_EQ(FixedText(2.6, 1, -3), "3");
}

TEST(FixedText, NotANumberAndInfinityDoNotCrash) {
    EXPECT_EQ(FixedText(std::numeric_limits<double>::quiet_NaN(), 1, 2), "NAN");
    EXPECT_EQ(FixedText(std::numeric_limits<double>::infinity(), 5, 2), "  INF");
    EXPECT_EQ(FixedText(-std::numeric_limits<double>::infinity(), 1, 2), "-INF");
}

TEST(ParseNumber, WorkedExamples) {
    EXPECT_DOUBLE_EQ(ParseNumber("  12.5 kHz"), 12.5);
    EXPECT_DOUBLE_EQ(ParseNumber("f=1.5e3Hz"), 1500.0);
    EXPECT_DOUBLE_EQ(ParseNumber("-.5"), -0.5);
    // The leading point is deleted with the other leading non-digits.
    EXPECT_DOUBLE_EQ(ParseNumber(".5"), 5.0);
}

TEST(ParseNumber, ReadsSignsExponentsAndInstrumentReplies) {
    EXPECT_DOUBLE_EQ(ParseNumber("+7"), 7.0);
    EXPECT_DOUBLE_EQ(ParseNumber("-1.25E-3"), -0.00125);
    EXPECT_DOUBLE_EQ(ParseNumber("+1.00000E+05\r\n"), 100000.0);
    EXPECT_DOUBLE_EQ(ParseNumber("5.e3"), 5000.0);
    EXPECT_DOUBLE_EQ(ParseNumber("12."), 12.0);
    EXPECT_DOUBLE_EQ(ParseNumber("3.5e"), 3.5);
    EXPECT_DOUBLE_EQ(ParseNumber("T= 23.4 °C"), 23.4);
    EXPECT_DOUBLE_EQ(ParseNumber("0007"), 7.0);
}

TEST(ParseNumber, TextWithoutDigitsGivesZero) {
    EXPECT_EQ(ParseNumber(""), 0.0);
    EXPECT_EQ(ParseNumber("   "), 0.0);
    EXPECT_EQ(ParseNumber("kHz"), 0.0);
    EXPECT_EQ(ParseNumber("-"), 0.0);
    EXPECT_EQ(ParseNumber("+-."), 0.0);
    EXPECT_EQ(ParseNumber("e"), 0.0);
}

TEST(ParseNumber, UnreadableRestGivesZero) {
    EXPECT_EQ(ParseNumber("1.2.3"), 0.0);
    EXPECT_EQ(ParseNumber("12,5"), 0.0);
    EXPECT_EQ(ParseNumber("- 5"), 0.0);
    EXPECT_EQ(ParseNumber("1e+"), 1.0); // the trailing "e+" is cut off first
    EXPECT_EQ(ParseNumber("1e+x5"), 0.0);
    EXPECT_EQ(ParseNumber("0x1A"), 0.0);
}

TEST(ParseNumber, NotANumberAndInfinityTextsGiveZero) {
    EXPECT_EQ(ParseNumber("nan"), 0.0);
    EXPECT_EQ(ParseNumber("-inf"), 0.0);
    EXPECT_EQ(ParseNumber("INF"), 0.0);
    EXPECT_EQ(ParseNumber("infinity"), 0.0);
    EXPECT_EQ(ParseNumber("1e999"), 0.0);
    EXPECT_EQ(ParseNumber("-1e400"), 0.0);
    EXPECT_EQ(ParseNumber("1e-999"), 0.0);
    const double max = ParseNumber("1.7976931348623157e308");
    EXPECT_EQ(max, std::numeric_limits<double>::max());
}

TEST(ParseNumber, HugeTextsAreReadWithoutCrash) {
    const QString manyDigits(1000000, QLatin1Char('9'));
    EXPECT_EQ(ParseNumber(manyDigits), 0.0); // overflows to infinity, which reads as 0
    const QString longFraction = "0." + QString(200000, QLatin1Char('1'));
    EXPECT_NEAR(ParseNumber(longFraction), 0.11111111111111111, 1e-16);
    const QString noise(500000, QLatin1Char('x'));
    EXPECT_EQ(ParseNumber(noise + "42" + noise), 42.0);
    const QString hugeExponent = "1e" + QString(100000, QLatin1Char('9'));
    EXPECT_EQ(ParseNumber(hugeExponent), 0.0);
}

TEST(ParseNumber, NonAsciiDigitsAreNotDigits) {
    EXPECT_EQ(ParseNumber(QString::fromUtf8("\u0663\u0664")), 0.0); // Arabic-Indic 3 4
    EXPECT_EQ(ParseNumber(QString::fromUtf8("\u00B2")), 0.0);       // superscript two
    EXPECT_EQ(ParseNumber(QString::fromUtf8("\u00B25")), 5.0);
}

// Qt sets the C locale from the environment, so on a German desktop the C library's number
// conversions expect a comma; the helpers must not follow it.
TEST(NumberTexts, IgnoreTheLocaleDecimalComma) {
    GermanQLocale qtGerman;
    EXPECT_EQ(FixedText(1234.5, 1, 2), "1234.50");
    EXPECT_DOUBLE_EQ(ParseNumber("12.5"), 12.5);
    GermanCLocale cGerman;
    // scripts/setup.sh installs the locale sources ("locales") that this compiles from.
    ASSERT_TRUE(cGerman.active()) << "no German C locale could be set or compiled";
    EXPECT_EQ(FixedText(1234.5, 1, 2), "1234.50");
    EXPECT_EQ(FixedText(1.005, 1, 2), "1.01");
    EXPECT_EQ(FixedText(-0.25e-3, 1, 5), "-0.00025");
    EXPECT_DOUBLE_EQ(ParseNumber("  12.5 kHz"), 12.5);
    EXPECT_DOUBLE_EQ(ParseNumber("f=1.5e3Hz"), 1500.0);
    EXPECT_EQ(ParseNumber("12,5"), 0.0);
}

TEST(FileSizeKB, RoundsDownAndGivesZeroForMissingFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(FileSizeKB(dir.filePath("missing.txt")), 0);
    EXPECT_EQ(FileSizeKB(dir.path()), 0);
    const auto writeBytes = [&](const QString& name, qsizetype count) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(count, 'a'));
        return file.fileName();
    };
    EXPECT_EQ(FileSizeKB(writeBytes("empty", 0)), 0);
    EXPECT_EQ(FileSizeKB(writeBytes("small", 1023)), 0);
    EXPECT_EQ(FileSizeKB(writeBytes("one", 1024)), 1);
    EXPECT_EQ(FileSizeKB(writeBytes("almost3", 3 * 1024 - 1)), 2);
}

TEST(PadToMultiple, AlwaysAppendsUpToTheNextMultiple) {
    EXPECT_EQ(PadToMultiple("Material", 24), "Material" + QString(16, ' '));
    EXPECT_EQ(PadToMultiple(QString(24, 'x'), 24).size(), 48);
    EXPECT_EQ(PadToMultiple("", 8), QString(8, ' '));
    EXPECT_EQ(PadToMultiple("abc", 1), "abc ");
}

TEST(PadToMultiple, AppendsAtMost67Blanks) {
    EXPECT_EQ(PadToMultiple("ab", 100), "ab" + QString(67, ' '));
    EXPECT_EQ(PadToMultiple("", 68).size(), 67);
    EXPECT_EQ(PadToMultiple("", 67).size(), 67);
}

TEST(PadToMultiple, WidthBelowOneCountsAsOne) {
    EXPECT_EQ(PadToMultiple("abc", 0), "abc ");
    EXPECT_EQ(PadToMultiple("abc", -5), "abc ");
}

TEST(ZeroPad, WorkedExamples) {
    EXPECT_EQ(ZeroPad("7", 4), "0007");
    EXPECT_EQ(ZeroPad("-5.2", 5), "-005.2");
}

TEST(ZeroPad, KeepsLeadingBlankAndLongTexts) {
    EXPECT_EQ(ZeroPad(" 7", 3), " 007");
    EXPECT_EQ(ZeroPad("12345", 3), "12345");
    EXPECT_EQ(ZeroPad("", 2), "00");
    EXPECT_EQ(ZeroPad("-", 2), "-00");
    EXPECT_EQ(ZeroPad("8", 0), "8");
    EXPECT_EQ(ZeroPad("+8", 3), "0+8"); // only "-" and blank are set aside
}

TEST(TimestampText, FifteenCharactersZeroPadded) {
    const QDateTime when(QDate(2024, 3, 5), QTime(7, 8, 9));
    EXPECT_EQ(TimestampText(when), "20240305-070809");
    const QDateTime late(QDate(1999, 12, 31), QTime(23, 59, 58));
    EXPECT_EQ(TimestampText(late), "19991231-235958");
}

TEST(TimestampText, CurrentTimeHasTheSameShape) {
    const QString text = TimestampText();
    ASSERT_EQ(text.size(), 15);
    EXPECT_EQ(text[8], QLatin1Char('-'));
    for (int i = 0; i < 15; ++i) {
        if (i == 8)
            continue;
        EXPECT_TRUE(text[i].isDigit()) << "position " << i << " in " << text.toStdString();
    }
}

TEST(TimestampText, DigitsStayAsciiUnderAGermanLocale) {
    GermanQLocale qtGerman;
    const QDateTime when(QDate(2024, 10, 1), QTime(12, 0, 0));
    EXPECT_EQ(TimestampText(when), "20241001-120000");
}

TEST(CleanSampleName, ReplacesEveryForbiddenCharacter) {
    EXPECT_EQ(CleanSampleName("A/B:C"), "A_B_C");
    EXPECT_EQ(CleanSampleName("a/b:c?"), "a_b_c_");
    EXPECT_EQ(CleanSampleName("\"*/:<>?\\|"), "_________");
    EXPECT_EQ(CleanSampleName(QString::fromUtf8("PZT-5H Ø10 äöü.1")),
              QString::fromUtf8("PZT-5H Ø10 äöü.1"));
    EXPECT_EQ(CleanSampleName(""), "");
}

class VirtualClock : public ::testing::Test {
protected:
    void SetUp() override {
        wasVirtual_ = clock::isVirtual();
        clock::setVirtual(true);
    }
    void TearDown() override { clock::setVirtual(wasVirtual_); }

private:
    bool wasVirtual_ = false;
};

TEST_F(VirtualClock, DelayMsAdvancesMoreThanMsWithoutRealWaiting) {
    QElapsedTimer real;
    real.start();
    const qint64 before = clock::nowMs();
    const QDateTime dateBefore = clock::currentDateTime();
    DelayMs(3000);
    const qint64 passed = clock::nowMs() - before;
    EXPECT_GT(passed, 3000);
    EXPECT_LT(passed, 3000 + 1000);
    EXPECT_GE(dateBefore.msecsTo(clock::currentDateTime()), 3000);
    EXPECT_LT(real.elapsed(), 1000);
}

TEST_F(VirtualClock, DelayMsOfZeroOrLessStillMovesTimeOn) {
    const qint64 before = clock::nowMs();
    DelayMs(0);
    DelayMs(-50);
    EXPECT_GT(clock::nowMs(), before);
}

TEST(RealClock, DelayMsWaitsMoreThanMs) {
    ASSERT_FALSE(clock::isVirtual());
    const qint64 before = clock::nowMs();
    QElapsedTimer real;
    real.start();
    DelayMs(50);
    EXPECT_GT(clock::nowMs() - before, 50);
    EXPECT_GE(real.elapsed(), 50);
}

TEST(LeadingInt, StopsAtFirstNonDigitAndSaturates) {
    EXPECT_EQ(LeadingInt("3x"), 3);
    EXPECT_EQ(LeadingInt("  -5"), -5);
    EXPECT_EQ(LeadingInt("x3"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("99999999999"), 2147483647);
    EXPECT_EQ(LeadingInt("-99999999999"), -2147483647);
}
