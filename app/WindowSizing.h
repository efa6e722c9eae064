// Keeps the main window usable at any size from its minimum up: every tab stays reachable in
// the tab row, number fields keep a width that suits a number, and the rows of a group stay
// together at the left instead of spreading over a wide window, so plots and text fields take
// the extra space.
#pragma once

class QWidget;

namespace ymt {

// Applies the rules to every layout, field and tab row below root; run once after the window
// has been built.
void FitWindowToAnySize(QWidget* root);

} // namespace ymt
