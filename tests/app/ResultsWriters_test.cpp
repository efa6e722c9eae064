// The spectrum file, the protocol line and the printout take their results from one snapshot:
// a result not determined is "---" in each, a determined one has the same digits in each.
#include "plot/Printout.h"
#include "records/Protocol.h"
#include "records/SpectrumFile.h"

#include <gtest/gtest.h>

namespace ymt {
namespace {

// The value text after ": " in the header line of the spectrum file that starts with `label`.
QString fileValue(const QStringList& lines, const QString& label) {
    for (const QString& line : lines)
        if (line.startsWith(label))
            return line.section(QStringLiteral(": "), 1);
    return QStringLiteral("<no line>");
}

// The value printed in the row of `caption` (the values stand 50 mm right of their captions).
QString printedValue(const PageLayout& page, const QString& caption) {
    for (const PageText& captionText : page.Texts) {
        if (captionText.Text != caption)
            continue;
        for (const PageText& text : page.Texts)
            if (text.At == captionText.At + QPoint(500, 0))
                return text.Text.mid(2);
    }
    return QStringLiteral("<no row>");
}

TEST(ResultsWriters, EveryWriterShowsTheSnapshotsTexts) {
    ResultsSnapshot s;
    s.Sample.SampleName = QStringLiteral("S");
    s.TandUnit = QStringLiteral("[1e-3]");
    s.Shown.FMin = ResultValue(199.8456, 3);
    s.Shown.Cap = ResultValue::FromText(QStringLiteral("1.5"), 1.5); // a hand-edited file
    s.Shown.KEff = ResultValue(41.237, 2);
    // f(max) and tand are not determined.
    const QStringList file = SpectrumHeaderLines(s, {}, false);
    const QStringList line = ProtocolResultLine(s).split(QLatin1Char('\t'));
    PrintoutExtras printout;
    printout.QualityControl.fill(QStringLiteral("---"));
    const PageLayout page = LayOutPrintoutPage(s, printout, false, 2000, 2870);
    ASSERT_EQ(line.size(), 11);

    const struct {
        QString fileLabel;
        int protocolField;
        QString caption;
        QString text;
    } results[] = {
        {QStringLiteral("f(min)"), 1, QStringLiteral("f(min)[kHz]"), QStringLiteral("199.846")},
        {QStringLiteral("f(max)"), 2, QStringLiteral("f(max)[kHz]"), QStringLiteral("---")},
        {QStringLiteral("Capacitance"), 4, QStringLiteral("Capacitance [nF]"),
         QStringLiteral("1.5")},
        {QStringLiteral("tand"), 5, QStringLiteral("tand [1e-3]"), QStringLiteral("---")},
        {QStringLiteral("keff"), 7, QStringLiteral("keff [%]"), QStringLiteral("41.24")}};
    for (const auto& result : results) {
        EXPECT_EQ(fileValue(file, result.fileLabel), result.text) << result.fileLabel.toStdString();
        EXPECT_EQ(line[result.protocolField].trimmed(), result.text) << result.protocolField;
        EXPECT_EQ(printedValue(page, result.caption), result.text) << result.caption.toStdString();
    }
}

} // namespace
} // namespace ymt
