// Language files: the texts of a window as plain data, written to and applied from the
// window's section; the message table in section "OtherStrings"; where the files are found.
#pragma once

#include "localisation/IniFile.h"
#include "localisation/MessageIds.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace ymt {

inline constexpr int kFirstMessageKey = 6000;
inline const QString kMessageSection = QStringLiteral("OtherStrings");

// One component of a window as a language file addresses it.
struct LngComponent {
    enum class Kind {
        Caption,    // button, label, check box, group box, tab sheet, menu item
        Separator,  // menu separator: written as "-", never applied
        List,       // combo box: hint and items, no caption
        RadioGroup, // caption, hint and items
        Plot,       // title and axis titles
        FileDialog, // title and filter
    };
    QString name;
    Kind kind = Kind::Caption;
    QString caption; // caption or plot title
    QString hint;
    QStringList items;
    // Lists filled at run time (quality-control types, printers): their items never come
    // from a file, so an old file cannot bring back stale entries.
    bool itemsFromProgram = false;
    // Only the first fixedItemCount items of the list are translated (0: all of them).
    int fixedItemCount = 0;
    QString title, filter;                       // file dialogs
    QString xAxisTitle, yAxisTitle, y2AxisTitle; // plots
};

struct LngWindow {
    QString name;
    QString caption;
    std::vector<LngComponent> components;
};

// Writes the window's section: caption, then each component by kind.
void WriteWindowSection(IniDocument& document, const LngWindow& window);
// Replaces the texts of the window from its section; every missing key keeps its text.
void ApplyWindowSection(const IniFile& file, LngWindow& window);

// Writes key 6000 + i = message i, after erasing the section.
void WriteMessages(IniDocument& document, const QStringList& messages);
// The message table entry by entry from section "OtherStrings"; missing keys keep the text.
void ApplyMessages(const IniFile& file);
// The current message table as a list.
QStringList CurrentMessages();

// True for bytes that are valid UTF-8 with characters beyond ASCII and no byte-order mark: a
// file saved in UTF-8 where code page 1252 is expected, whose umlauts would read wrongly.
bool IsUtf8WithoutBom(const QByteArray& bytes);

// The folders searched for language files, in order: the program directory, then
// $XDG_DATA_HOME/zelvanor-ymt/, then the installed data folder.
QStringList LanguageFolders(const QString& programDir);
// The first existing "<language>.lng" in the folders; empty when there is none.
QString FindLanguageFile(const QString& language, const QStringList& folders);
// The language file of a "Program Language" item: the file named by the item's text, else, for
// the two built-in items, the file shipped under its English name ("Deutsch" finds German.lng).
QString LanguageFileFor(const QString& itemText, int itemIndex, const QStringList& folders);
// The base names of every language file in the folders, each once, in folder order.
QStringList AvailableLanguages(const QStringList& folders);

// The item of "Program Language" a stored language value selects: "German" and "Deutsch"
// select the second item, another item's text (any case) selects that item, anything else
// the first.
int LanguageIndexFor(const QString& stored, const QStringList& items);

// The captions of the two dimension fields for a sample geometry (0 arbitrary, 1 circular,
// 2 rectangular, 3 ring), from the current message table; empty where a field is not shown.
std::pair<QString, QString> DimensionCaptions(int geometryKind);
// The message-table entries of those captions; none where a field is not shown.
using DimensionCaptionIds = std::pair<std::optional<Msg>, std::optional<Msg>>;
DimensionCaptionIds DimensionCaptionMessages(int geometryKind);

} // namespace ymt
