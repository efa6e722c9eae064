// Language switch and language files of the main window: the window's texts gathered by
// component name, applied from a file, and written for translators ("Create LNG").
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "localisation/LanguageFile.h"
#include "localisation/TextTables.h"
#include "plot/FastGraph.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>

#include <map>

using ymt::LngComponent;
using ymt::LngWindow;

namespace {

using Kind = LngComponent::Kind;

// Lists the program fills at run time (quality-control types, printers).
bool itemsFromProgram(const QString& name) {
    return name == QLatin1String("ComboBox2") || name == QLatin1String("ComboBox9");
}

// Captions that show results or state; a language switch puts them back as they were.
const QStringList& stateCaptionNames() {
    static const QStringList names = [] {
        QStringList list;
        for (int n = 45; n <= 55; ++n) // result values
            list << QStringLiteral("Label%1").arg(n);
        for (int n = 61; n <= 65; ++n) // verdicts
            list << QStringLiteral("Label%1").arg(n);
        // Mode captions, the tand caption and the dimension captions.
        list << QStringLiteral("Label42") << QStringLiteral("Label26") << QStringLiteral("Label59")
             << QStringLiteral("Label35") << QStringLiteral("Label17") << QStringLiteral("Label18");
        for (int n = 3; n <= 13; ++n) // comparison entries
            list << QStringLiteral("CheckBox%1").arg(n);
        return list;
    }();
    return names;
}

// Plots whose axis titles follow the displayed quantities.
bool axisTitlesShowState(const QString& plot) {
    return plot != QLatin1String("dauergraph");
}

// A named component of the window `root` itself: not a helper inside a Qt control (the
// scroll buttons of the tab bar) and not a control of another window it owns (the About box).
bool translatable(const QObject* object, const QWidget* root) {
    const QString name = object->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return false;
    if (qobject_cast<const QTabBar*>(object->parent()))
        return false;
    const QObject* owner = object;
    // Menus are windows of their own; their items belong to the window of the menu bar.
    while (owner && (!owner->isWidgetType() || qobject_cast<const QMenu*>(owner)))
        owner = owner->parent();
    return owner && static_cast<const QWidget*>(owner)->window() == root;
}

void gatherWidgets(const QWidget* root, const QTabWidget* tabs, std::vector<LngComponent>& out) {
    for (QObject* object : root->findChildren<QObject*>()) {
        if (!translatable(object, root))
            continue;
        LngComponent c;
        c.name = object->objectName();
        if (auto* graph = qobject_cast<ymt::TFastGraph*>(object)) {
            c.kind = Kind::Plot;
            c.caption = graph->Title();
            c.xAxisTitle = graph->XAxis.Title();
            c.yAxisTitle = graph->YAxis.Title();
            c.y2AxisTitle = graph->Y2Axis.Title();
        } else if (auto* group = qobject_cast<ymt::TRadioGroup*>(object)) {
            c.kind = Kind::RadioGroup;
            c.caption = group->title();
            c.hint = group->toolTip();
            c.items = group->items();
            // "Program Language" may list further languages found beside the two it is built with.
            if (c.name == QLatin1String("RadioGroup4"))
                c.fixedItemCount = 2;
        } else if (auto* box = qobject_cast<QGroupBox*>(object)) {
            c.caption = box->title();
            c.hint = box->toolTip();
        } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            c.caption = button->text();
            c.hint = button->toolTip();
        } else if (auto* label = qobject_cast<QLabel*>(object)) {
            c.caption = label->text();
            c.hint = label->toolTip();
        } else if (auto* list = qobject_cast<QComboBox*>(object)) {
            c.kind = Kind::List;
            c.hint = list->toolTip();
            for (int i = 0; i < list->count(); ++i)
                c.items << list->itemText(i);
            c.itemsFromProgram = itemsFromProgram(c.name);
        } else if (auto* action = qobject_cast<QAction*>(object)) {
            c.kind = action->isSeparator() ? Kind::Separator : Kind::Caption;
            // Menu items have no hints of their own; Qt's tooltip is only the caption again.
            c.caption = action->text();
        } else if (auto* page = qobject_cast<QWidget*>(object); tabs && tabs->indexOf(page) >= 0) {
            c.caption = tabs->tabText(tabs->indexOf(page));
        } else {
            continue;
        }
        // A text of several lines cannot stand in one line of the file.
        if (c.caption.contains(QLatin1Char('\n')))
            continue;
        out.push_back(std::move(c));
    }
}

void applyWidgets(QWidget* root, QTabWidget* tabs, const LngWindow& texts) {
    std::map<QString, const LngComponent*> byName;
    for (const LngComponent& c : texts.components)
        byName.emplace(c.name, &c);
    root->setWindowTitle(texts.caption);
    // Replacing the items of a radio group deletes its buttons, so the list is guarded.
    QList<QPointer<QObject>> objects;
    for (QObject* object : root->findChildren<QObject*>())
        objects << object;
    for (QObject* object : objects) {
        if (!object || !translatable(object, root))
            continue;
        const auto found = byName.find(object->objectName());
        if (found == byName.end())
            continue;
        const LngComponent& c = *found->second;
        if (auto* graph = qobject_cast<ymt::TFastGraph*>(object)) {
            graph->setTitle(c.caption);
            graph->XAxis.setTitle(c.xAxisTitle);
            graph->YAxis.setTitle(c.yAxisTitle);
            graph->Y2Axis.setTitle(c.y2AxisTitle);
            graph->update();
        } else if (auto* group = qobject_cast<ymt::TRadioGroup*>(object)) {
            group->setTitle(c.caption);
            group->setToolTip(c.hint);
            if (group->items() != c.items)
                group->setItems(c.items);
        } else if (auto* box = qobject_cast<QGroupBox*>(object)) {
            box->setTitle(c.caption);
            box->setToolTip(c.hint);
        } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            button->setText(c.caption);
            button->setToolTip(c.hint);
        } else if (auto* label = qobject_cast<QLabel*>(object)) {
            label->setText(c.caption);
            label->setToolTip(c.hint);
        } else if (auto* list = qobject_cast<QComboBox*>(object)) {
            list->setToolTip(c.hint);
            if (c.itemsFromProgram)
                continue;
            QStringList current;
            for (int i = 0; i < list->count(); ++i)
                current << list->itemText(i);
            if (current != c.items) {
                const int index = list->currentIndex();
                list->clear();
                list->addItems(c.items);
                list->setCurrentIndex(std::min(index, static_cast<int>(list->count()) - 1));
            }
        } else if (auto* action = qobject_cast<QAction*>(object)) {
            if (action->isSeparator())
                continue;
            action->setText(c.caption);
        } else if (auto* page = qobject_cast<QWidget*>(object); tabs && tabs->indexOf(page) >= 0) {
            page->setWindowTitle(c.caption);
            tabs->setTabText(tabs->indexOf(page), c.caption);
        }
    }
}

ymt::LngComponent dialogTexts(const char* name, const ymt::FileDialogOptions& options) {
    LngComponent c;
    c.name = QString::fromLatin1(name);
    c.kind = Kind::FileDialog;
    c.title = options.title;
    c.filter = options.filter;
    return c;
}

// The language files shipped with the program are named in English whatever the items say.
QString builtInLanguageName(int index) {
    return index == 1 ? QStringLiteral("German") : QStringLiteral("English");
}

} // namespace

LngWindow TForm1::languageTexts() const {
    LngWindow texts;
    texts.name = objectName();
    texts.caption = windowTitle();
    gatherWidgets(this, PageControl1, texts.components);
    texts.components.push_back(dialogTexts("OpenDialog1", OpenDialog1));
    texts.components.push_back(dialogTexts("SaveDialog1", SaveDialog1));
    return texts;
}

void TForm1::setLanguageTexts(const LngWindow& texts) {
    applyWidgets(this, PageControl1, texts);
    setCaption(windowTitle()); // keeps the simulated-analyzer note of a connected simulator
    for (const LngComponent& c : texts.components) {
        if (c.kind != Kind::FileDialog)
            continue;
        ymt::FileDialogOptions& options =
            c.name == QLatin1String("OpenDialog1") ? OpenDialog1 : SaveDialog1;
        options.title = c.title;
        options.filter = c.filter;
    }
}

static LngWindow aboutBoxTexts(const ymt::AboutBox& box) {
    LngWindow texts;
    texts.name = box.objectName();
    texts.caption = box.windowTitle();
    gatherWidgets(&box, nullptr, texts.components);
    return texts;
}

bool TForm1::writeLanguageFile(const QString& path, QString* error) const {
    ymt::IniDocument document;
    ymt::WriteWindowSection(document, languageTexts());
    if (aboutBox_)
        ymt::WriteWindowSection(document, aboutBoxTexts(*aboutBox_));
    ymt::WriteMessages(document, ymt::CurrentMessages());
    return document.save(path, error);
}

void TForm1::applyLanguageFile(const QString& path) {
    ymt::IniFile file;
    if (path.isEmpty() || !ymt::IniFile::Load(path, file))
        return;

    // List positions and the captions that show state survive the switch.
    std::map<QComboBox*, int> listPositions;
    for (QComboBox* list : findChildren<QComboBox*>())
        listPositions[list] = list->currentIndex();
    std::map<ymt::TRadioGroup*, int> groupPositions;
    for (ymt::TRadioGroup* group : findChildren<ymt::TRadioGroup*>())
        groupPositions[group] = group->itemIndex();
    LngWindow before = languageTexts();
    const QString oldEmpty = ymt::Message(49);

    LngWindow texts = before;
    ymt::ApplyWindowSection(file, texts);
    texts.caption = before.caption;
    for (size_t i = 0; i < texts.components.size(); ++i) {
        LngComponent& c = texts.components[i];
        const LngComponent& old = before.components[i];
        if (stateCaptionNames().contains(c.name))
            c.caption = old.caption;
        if (c.kind == Kind::Plot) {
            c.caption = old.caption;
            if (axisTitlesShowState(c.name)) {
                c.xAxisTitle = old.xAxisTitle;
                c.yAxisTitle = old.yAxisTitle;
                c.y2AxisTitle = old.y2AxisTitle;
            }
        }
    }
    setLanguageTexts(texts);
    if (aboutBox_) {
        LngWindow about = aboutBoxTexts(*aboutBox_);
        ymt::ApplyWindowSection(file, about);
        applyWidgets(aboutBox_, nullptr, about);
    }
    ymt::ApplyMessages(file);

    for (const auto& [list, index] : listPositions)
        list->setCurrentIndex(std::min(index, static_cast<int>(list->count()) - 1));
    for (const auto& [group, index] : groupPositions)
        group->setItemIndex(std::min(index, group->count() - 1));

    // Texts the program composes from messages and labels follow the new language.
    const auto [dimension1, dimension2] = ymt::DimensionCaptions(geometryList->currentIndex());
    if (!dimension1.isEmpty())
        dimension1Label->setText(dimension1);
    if (!dimension2.isEmpty())
        dimension2Label->setText(dimension2);
    updateLossTangentCaption();
    const int labelLanguage = programLanguageGroup->itemIndex() == 1 ? 1 : 0;
    for (QLabel* verdict :
         {qcCapVerdict, qcTandVerdict, qcKeffVerdict, qcKVerdict, qcFminVerdict}) {
        if (verdict->text() == ymt::Label(0, 1) || verdict->text() == ymt::Label(1, 1))
            verdict->setText(ymt::Label(labelLanguage, 1));
    }
    for (QCheckBox* entry : comparisonChecks) {
        if (entry && entry->text() == oldEmpty)
            entry->setText(ymt::Message(49));
    }
}

void TForm1::applyStoredLanguage() {
    // Language files beside the shipped ones can be chosen too.
    QStringList items = programLanguageGroup->items().mid(0, 2);
    for (const QString& name : ymt::AvailableLanguages(ymt::LanguageFolders(ProgramDir))) {
        const bool builtIn = name.compare(QLatin1String("English"), Qt::CaseInsensitive) == 0 ||
                             name.compare(QLatin1String("German"), Qt::CaseInsensitive) == 0 ||
                             name.compare(QLatin1String("jetzt"), Qt::CaseInsensitive) == 0;
        if (!builtIn && !items.contains(name, Qt::CaseInsensitive))
            items << name;
    }
    programLanguageGroup->setItems(items);
    programLanguageGroup->setItemIndex(ymt::LanguageIndexFor(Language, items));
    RadioGroup4Click();
}

void TForm1::RadioGroup4Click() {
    const int index = std::max(0, programLanguageGroup->itemIndex());
    Language = programLanguageGroup->itemText();
    const QStringList folders = ymt::LanguageFolders(ProgramDir);
    QString file = ymt::FindLanguageFile(Language, folders);
    // A translated item ("Deutsch") still finds the file shipped under its English name.
    if (file.isEmpty() && index < 2)
        file = ymt::FindLanguageFile(builtInLanguageName(index), folders);
    applyLanguageFile(file);
    geometryList->setVisible(index != 1);
    geometryListGerman->setVisible(index == 1);
}

void TForm1::Button31Click() {
    QString error;
    if (!writeLanguageFile(ProgramDir + QStringLiteral("jetzt.lng"), &error))
        dialogs().showMessage(ymt::MessageKind::Error, error, ymt::ButtonSet::OK);
}
