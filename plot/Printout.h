// The one-page spectrum printout: the texts it shows, where they stand on the page and how they
// are drawn on a printer's painter (the plot itself is drawn by the plot component). Page positions
// are in 0.1 mm with the origin at the top left corner of the printable area and y growing upwards,
// so everything below the top has a negative y.
#pragma once

#include "evaluation/ResultsSnapshot.h"

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <vector>

class QPainter;

namespace ymt {

// What the page shows beside the results snapshot; values are printed as ": " + text.
struct PrintoutExtras {
    int Language = 0; // 0 English, 1 German: the fixed labels of the page
    QString ProductLine;
    QString DateTime;
    QString Geometry; // the geometry name in the printout language
    // Quality-control labels C, tand, k(eff), k, f(min); the block is printed only when one of
    // them shows something other than "---".
    std::array<QString, 5> QualityControl;
};

struct PageText {
    QPoint At;  // top left corner of the text
    int Height; // font height in 0.1 mm
    bool Bold = false;
    bool Underline = false;
    QString Text;
};

// A rectangle given by two opposite corners.
struct PageFrame {
    QPoint From;
    QPoint To;
};

struct PageLayout {
    std::vector<PageFrame> Frames;
    std::vector<QLine> Lines;
    std::vector<PageText> Texts;
};

// Frame, footer, header and the result blocks of a page of printableWidth x printableHeight
// (0.1 mm) in the given orientation.
PageLayout LayOutPrintoutPage(const ResultsSnapshot& snapshot, const PrintoutExtras& extras,
                              bool landscape, int printableWidth, int printableHeight);

// Where the plot goes, in device pixels of a page of pageWidth x pageHeight pixels: fractions
// of an A4 sheet (170 x 130 mm landscape, 186 x 110 mm portrait, 55 mm from the top).
QRect PrintoutPlotRect(bool landscape, int pageWidth, int pageHeight);

// Draws the texts and lines of a layout; pixelsPerUnit converts 0.1 mm to device pixels.
void DrawPrintoutPage(QPainter& painter, const PageLayout& layout, double pixelsPerUnitX,
                      double pixelsPerUnitY);

} // namespace ymt
