// The language-file walk over a window's widget tree: the texts of its named components
// gathered for a file, and applied from one. Widgets the walk does not know by their Qt class
// (plots, radio groups of the program) are read and set through the kinds the caller gives.
#pragma once

#include "localisation/LanguageFile.h"

#include <QStringList>

#include <functional>
#include <vector>

class QObject;
class QTabWidget;
class QWidget;

namespace ymt {

// Both return false for an object that is not of this kind; they are asked before the Qt
// classes, in order.
struct LngWidgetKind {
    std::function<bool(const QObject& object, LngComponent& component)> gather;
    std::function<bool(QObject& object, const LngComponent& component)> apply;
};

struct LngWalk {
    std::vector<LngWidgetKind> kinds;
    // The tab widget whose pages are tab sheets (their captions are the tab texts); may be null.
    QTabWidget* tabs = nullptr;
    // Lists the program fills at run time: their items never come from a file.
    QStringList itemsFromProgram;
};

// The named components of root's own window: not a helper inside a Qt control (the scroll
// buttons of a tab bar) and not a control of another window it owns. A caption of several
// lines cannot stand in one line of the file and is left out.
void GatherWidgetTexts(const QWidget& root, const LngWalk& walk, std::vector<LngComponent>& out);
// Sets the window title and every named component's texts; a list keeps its position where
// the new items allow.
void ApplyWidgetTexts(QWidget& root, const LngWalk& walk, const LngWindow& texts);

// After a file was applied to texts (gathered before as before): the window title and the
// captions that show results or state stay as they were.
void KeepShownState(LngWindow& texts, const LngWindow& before, const QStringList& stateCaptions);

// The titles and axis titles of the plots after a file was applied: a text that still shows
// the fixed text the program or the last language gave it (oldFixed, by plot name) becomes the
// new language's fixed text (newFixed); a text showing state (a sample name, the displayed
// quantities) stays as it is in before. Plots missing from oldFixed keep their texts.
void FollowFixedPlotTexts(LngWindow& texts, const LngWindow& before,
                          const std::vector<LngComponent>& oldFixed,
                          const std::vector<LngComponent>& newFixed);

} // namespace ymt
