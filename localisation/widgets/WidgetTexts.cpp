// Gathering and applying the texts of a widget tree by component name.
#include "localisation/widgets/WidgetTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <map>

namespace ymt {
namespace {

using Kind = LngComponent::Kind;

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

int tabIndexOf(const QTabWidget* tabs, QObject* object) {
    auto* page = qobject_cast<QWidget*>(object);
    return tabs && page ? tabs->indexOf(page) : -1;
}

// False for an object the walk has no texts of.
bool gatherOne(QObject* object, const LngWalk& walk, LngComponent& c) {
    for (const LngWidgetKind& kind : walk.kinds) {
        if (kind.gather && kind.gather(*object, c))
            return true;
    }
    if (auto* box = qobject_cast<QGroupBox*>(object)) {
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
        c.itemsFromProgram = walk.itemsFromProgram.contains(c.name);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        c.kind = action->isSeparator() ? Kind::Separator : Kind::Caption;
        // Menu items have no hints of their own; Qt's tooltip is only the caption again.
        c.caption = action->text();
    } else if (const int tab = tabIndexOf(walk.tabs, object); tab >= 0) {
        c.caption = walk.tabs->tabText(tab);
    } else {
        return false;
    }
    return true;
}

void applyOne(QObject* object, const LngWalk& walk, const LngComponent& c) {
    for (const LngWidgetKind& kind : walk.kinds) {
        if (kind.apply && kind.apply(*object, c))
            return;
    }
    if (auto* box = qobject_cast<QGroupBox*>(object)) {
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
            return;
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
        if (!action->isSeparator())
            action->setText(c.caption);
    } else if (const int tab = tabIndexOf(walk.tabs, object); tab >= 0) {
        static_cast<QWidget*>(object)->setWindowTitle(c.caption);
        walk.tabs->setTabText(tab, c.caption);
    }
}

} // namespace

void GatherWidgetTexts(const QWidget& root, const LngWalk& walk, std::vector<LngComponent>& out) {
    for (QObject* object : root.findChildren<QObject*>()) {
        if (!translatable(object, &root))
            continue;
        LngComponent c;
        c.name = object->objectName();
        if (!gatherOne(object, walk, c))
            continue;
        if (c.caption.contains(QLatin1Char('\n')))
            continue;
        out.push_back(std::move(c));
    }
}

void ApplyWidgetTexts(QWidget& root, const LngWalk& walk, const LngWindow& texts) {
    std::map<QString, const LngComponent*> byName;
    for (const LngComponent& c : texts.components)
        byName.emplace(c.name, &c);
    root.setWindowTitle(texts.caption);
    // Replacing the items of a radio group deletes its buttons, so the list is guarded.
    QList<QPointer<QObject>> objects;
    for (QObject* object : root.findChildren<QObject*>())
        objects << object;
    for (QObject* object : objects) {
        if (!object || !translatable(object, &root))
            continue;
        const auto found = byName.find(object->objectName());
        if (found != byName.end())
            applyOne(object, walk, *found->second);
    }
}

void KeepShownState(LngWindow& texts, const LngWindow& before, const QStringList& stateCaptions) {
    texts.caption = before.caption;
    for (size_t i = 0; i < texts.components.size() && i < before.components.size(); ++i) {
        LngComponent& c = texts.components[i];
        if (stateCaptions.contains(c.name))
            c.caption = before.components[i].caption;
    }
}

void FollowFixedPlotTexts(LngWindow& texts, const LngWindow& before,
                          const std::vector<LngComponent>& oldFixed,
                          const std::vector<LngComponent>& newFixed) {
    const auto find = [](const std::vector<LngComponent>& list, const QString& name) {
        const auto found = std::find_if(list.begin(), list.end(),
                                        [&name](const LngComponent& c) { return c.name == name; });
        return found == list.end() ? nullptr : &*found;
    };
    for (size_t i = 0; i < texts.components.size() && i < before.components.size(); ++i) {
        LngComponent& c = texts.components[i];
        if (c.kind != Kind::Plot)
            continue;
        const LngComponent& shown = before.components[i];
        const LngComponent* was = find(oldFixed, c.name);
        const LngComponent* now = find(newFixed, c.name);
        const auto follow = [&](QString LngComponent::*text) {
            c.*text = was && now && shown.*text == was->*text ? now->*text : shown.*text;
        };
        follow(&LngComponent::caption);
        follow(&LngComponent::xAxisTitle);
        follow(&LngComponent::yAxisTitle);
        follow(&LngComponent::y2AxisTitle);
    }
}

} // namespace ymt
