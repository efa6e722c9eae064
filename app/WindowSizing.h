// Keeps the main window usable at any size from its minimum up: every tab stays reachable in
// the tab row, number fields keep a width that suits a number, and the rows of a group stay
// together at the left instead of spreading over a wide window, so plots and text fields take
// the extra space.
#pragma once

#include <QSize>

class QWidget;

namespace ymt {

// The family the window is laid out for; fontconfig gives its metric twin, Liberation Sans
// (Debian "fonts-liberation"), where Arial itself is missing.
inline constexpr char kWindowFontFamily[] = "Arial";

// Applies the rules to every layout, field and tab row below root; run once after the window
// has been built.
void FitWindowToAnySize(QWidget* root);

// Gives the window its designed font family at the desktop's size, and keeps its minimum size
// at what its contents need in that font, never below the designed size: another font or
// more controls shown make it larger instead of clipping a tab.
void KeepMinimumSizeForContents(QWidget* window, QSize designed);

} // namespace ymt
