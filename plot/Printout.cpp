#include "plot/Printout.h"

#include "localisation/TextTables.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace ymt {
namespace {

constexpr int kTitleHeight = 70;   // 7 mm
constexpr int kTextHeight = 50;    // 5 mm
constexpr int kFooterHeight = 20;  // 2 mm
constexpr int kFramePenWidth = 2;  // 0.2 mm
constexpr int kHeaderValueX = 450; // values of the header rows, right of the margin
constexpr int kBlockValueX = 500;  // values of the sample and resonance blocks

class PageWriter {
public:
    PageWriter(PageLayout& layout, int language) : layout_(layout), language_(language) {}

    void text(int x, int y, const QString& text, int height = kTextHeight, bool bold = false,
              bool underline = false) {
        layout_.Texts.push_back({QPoint(x, y), height, bold, underline, text});
    }
    // A section title: bold and underlined.
    void section(int x, int y, int entry) {
        text(x, y, Label(language_, entry), kTextHeight, true, true);
    }
    // A row: its caption at x, ": " and the value at valueX.
    void row(int x, int valueX, int y, const QString& caption, const QString& value,
             bool bold = false) {
        text(x, y, caption, kTextHeight, bold);
        text(valueX, y, QStringLiteral(": ") + value, kTextHeight, bold);
    }
    QString label(int entry) const { return Label(language_, entry); }

private:
    PageLayout& layout_;
    int language_;
};

bool hasQualityControlResult(const std::array<QString, 5>& labels) {
    return std::any_of(labels.begin(), labels.end(),
                       [](const QString& label) { return label != QLatin1String("---"); });
}

} // namespace

PageLayout LayOutPrintoutPage(const ResultsSnapshot& s, const PrintoutExtras& t, bool landscape,
                              int printableWidth, int printableHeight) {
    const int PW = printableWidth;
    const int PH = printableHeight;
    const ShownResults& shown = s.Shown;
    PageLayout layout;
    PageWriter page(layout, t.Language);

    int a = 0;
    if (landscape) {
        a = 100;
        layout.Frames.push_back({QPoint(100, -500), QPoint(1830, -PH + 100)});
        layout.Frames.push_back({QPoint(1830, -150), QPoint(PW - 30, -PH + 100)});
    } else {
        a = 180;
        layout.Frames.push_back({QPoint(180, -500), QPoint(PW - 20, -PH + 100)});
        layout.Lines.emplace_back(180, -1700, PW - 20, -1700);
        const int middle = 180 + (PW - 200) / 2;
        layout.Lines.emplace_back(middle, -1700, middle, -PH + 100);
    }
    page.text(a, -PH + 90, t.ProductLine, kFooterHeight);

    // Header: title, sample information and the time of printing.
    page.text(a, -100, page.label(0), kTitleHeight);
    const int headerValue = a + kHeaderValueX;
    page.row(a, headerValue, -200, QStringLiteral("Material"), s.Sample.Material.left(50));
    page.row(a, headerValue, -250, page.label(2), s.SampleNameText.left(50));
    page.row(a, headerValue, -300, page.label(3), s.NotesText.left(50));
    page.row(a, headerValue, -350, page.label(4), s.Sample.MeasuredBy.left(50));
    page.row(a, headerValue, -400, page.label(5), t.DateTime);

    // Sample geometry, measurement conditions and capacitance.
    const int o = landscape ? 1860 : 200;
    const int r = landscape ? -200 : -1750;
    const int sampleValue = o + kBlockValueX;
    page.section(o, r, 6);
    page.text(o, r - 50, t.Geometry);
    page.row(o, sampleValue, r - 100, page.label(7), s.ElectrodeDistanceText);
    page.row(o, sampleValue, r - 150, page.label(8), s.ElectrodeAreaText);
    page.section(o, r - 350, 9);
    page.row(o, sampleValue, r - 400, QStringLiteral("Averaging"), s.Averaging);
    page.row(o, sampleValue, r - 450, page.label(11), s.Voltage);
    page.row(o, sampleValue, r - 500, QStringLiteral("BIAS [V]"), s.Bias);
    page.section(o, r - 600, 13);
    page.row(o, sampleValue, r - 650, page.label(14), s.CapFrequency);
    page.row(o, sampleValue, r - 700, page.label(15), ResultText(shown.Cap));
    page.row(o, sampleValue, r - 750, QStringLiteral("tand ") + s.TandUnit, ResultText(shown.TanD));
    page.row(o, sampleValue, r - 800, QStringLiteral("eps(rel)"), ResultText(shown.Eps));

    // Resonance and, when judged, quality control.
    const int G = landscape ? 1860 : 1180;
    const int H = landscape ? -1100 : -1750;
    const int resonanceValue = G + kBlockValueX;
    page.section(G, H, 18);
    page.row(G, resonanceValue, H - 50, QStringLiteral("f(min)[kHz]"), ResultText(shown.FMin));
    page.row(G, resonanceValue, H - 100, QStringLiteral("f(max)[kHz]"), ResultText(shown.FMax));
    page.row(G, resonanceValue, H - 200, QStringLiteral("Q(3dB)"), ResultText(shown.Q3dB));
    page.row(G, resonanceValue, H - 250, QStringLiteral("B(3dB)"), ResultText(shown.B3dB));
    page.row(G, resonanceValue, H - 300, QStringLiteral("keff [%]"), ResultText(shown.KEff));
    page.row(G, resonanceValue, H - 350, s.ModeCaption.left(4) + QStringLiteral("[%]"),
             ResultText(shown.KMode), true);
    if (hasQualityControlResult(t.QualityControl)) {
        page.section(G, H - 450, 23);
        const QString captions[5] = {
            QStringLiteral("C(1kHz) [nF]"), QStringLiteral("tand ") + s.TandUnit,
            QStringLiteral("keff [%]"), QStringLiteral("krel [%]"), QStringLiteral("f(min) [kHz]")};
        for (int i = 0; i < 5; ++i)
            page.row(G, resonanceValue, H - 500 - 50 * i, captions[i],
                     t.QualityControl[static_cast<size_t>(i)]);
    }
    return layout;
}

QRect PrintoutPlotRect(bool landscape, int pageWidth, int pageHeight) {
    auto part = [](int size, double numerator, double denominator) {
        return static_cast<int>(std::lround(size * numerator / denominator));
    };
    if (landscape)
        return QRect(part(pageWidth, 13, 297), part(pageHeight, 55, 210), part(pageWidth, 170, 297),
                     part(pageHeight, 130, 210));
    return QRect(part(pageWidth, 20, 210), part(pageHeight, 55, 297), part(pageWidth, 186, 210),
                 part(pageHeight, 110, 297));
}

void DrawPrintoutPage(QPainter& painter, const PageLayout& layout, double pixelsPerUnitX,
                      double pixelsPerUnitY) {
    auto at = [&](QPoint p) { return QPointF(p.x() * pixelsPerUnitX, -p.y() * pixelsPerUnitY); };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, kFramePenWidth * pixelsPerUnitY, Qt::SolidLine, Qt::SquareCap,
                        Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    for (const PageFrame& frame : layout.Frames)
        painter.drawRect(QRectF(at(frame.From), at(frame.To)).normalized());
    for (const QLine& line : layout.Lines)
        painter.drawLine(at(line.p1()), at(line.p2()));

    painter.setPen(Qt::black);
    for (const PageText& text : layout.Texts) {
        if (text.Text.isEmpty())
            continue;
        // The height is the text cell (ascent and descent), as the page's font heights are meant.
        QFont font(QStringLiteral("Arial"));
        font.setBold(text.Bold);
        font.setUnderline(text.Underline);
        const double cell = text.Height * pixelsPerUnitY;
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(cell))));
        const double cellPerPixel = QFontMetricsF(font, painter.device()).height() / cell;
        if (cellPerPixel > 0)
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(cell / cellPerPixel))));
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        painter.drawText(at(text.At) + QPointF(0, metrics.ascent()), text.Text);
    }
    painter.restore();
}

} // namespace ymt
