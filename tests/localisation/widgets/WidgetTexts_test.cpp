// The language-file walk over a small widget tree.
#include "localisation/widgets/WidgetTexts.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <map>

using namespace ymt;

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A window with a tab sheet, labels, lists, a group box the caller reads itself and a dialog
// of its own.
struct Tree {
    QWidget root;
    QTabWidget* tabs = named(new QTabWidget(&root), "PageControl1");
    QWidget* sheet = named(new QWidget, "TabSheet1");
    QLabel* label = named(new QLabel(QStringLiteral("Caption"), sheet), "Label1");
    QLabel* twoLines = named(new QLabel(QStringLiteral("one\ntwo"), sheet), "Label2");
    QComboBox* list = named(new QComboBox(sheet), "ComboBox1");
    QComboBox* filled = named(new QComboBox(sheet), "ComboBox9");
    QGroupBox* special = named(new QGroupBox(QStringLiteral("box"), sheet), "Special");
    QDialog* dialog = new QDialog(&root);
    QPushButton* dialogButton = named(new QPushButton(QStringLiteral("OK"), dialog), "Button1");
    LngWalk walk;

    Tree() {
        tabs->addTab(sheet, QStringLiteral("Sheet"));
        label->setToolTip(QStringLiteral("hint"));
        list->addItems({"a", "b", "c"});
        list->setCurrentIndex(2);
        filled->addItems({"printer"});
        new QWidget(sheet); // no name: no component
        walk.tabs = tabs;
        walk.itemsFromProgram = {QStringLiteral("ComboBox9")};
        LngWidgetKind kind;
        kind.gather = [](const QObject& object, LngComponent& c) {
            if (object.objectName() != QLatin1String("Special"))
                return false;
            c.kind = LngComponent::Kind::RadioGroup;
            c.caption = QStringLiteral("own");
            return true;
        };
        kind.apply = [](QObject& object, const LngComponent&) {
            return object.objectName() == QLatin1String("Special");
        };
        walk.kinds = {kind};
    }

    std::map<QString, LngComponent> gathered() const {
        std::vector<LngComponent> out;
        GatherWidgetTexts(root, walk, out);
        std::map<QString, LngComponent> byName;
        for (const LngComponent& c : out)
            byName[c.name] = c;
        return byName;
    }
};

} // namespace

TEST(WidgetTexts, GatherTakesTheWindowsOwnNamedComponentsOnly) {
    Tree tree;
    const auto byName = tree.gathered();
    EXPECT_EQ(byName.size(), 5u) << "Label1, ComboBox1, ComboBox9, Special, TabSheet1";
    EXPECT_EQ(byName.at("Label1").hint, QStringLiteral("hint"));
    EXPECT_FALSE(byName.count("Label2"));
    EXPECT_FALSE(byName.count("Button1")) << "a control of another window";
    EXPECT_EQ(byName.at("TabSheet1").caption, QStringLiteral("Sheet"));
    EXPECT_EQ(byName.at("ComboBox1").items, (QStringList{"a", "b", "c"}));
    EXPECT_TRUE(byName.at("ComboBox9").itemsFromProgram);
    EXPECT_EQ(byName.at("Special").kind, LngComponent::Kind::RadioGroup);
}

TEST(WidgetTexts, ApplyKeepsProgramListsAndTheListPosition) {
    Tree tree;
    LngWindow texts;
    texts.caption = QStringLiteral("Window");
    for (auto [name, c] : tree.gathered()) {
        c.caption = QStringLiteral("new");
        c.hint = QStringLiteral("new hint");
        c.items = {"x", "y"};
        texts.components.push_back(c);
    }
    ApplyWidgetTexts(tree.root, tree.walk, texts);
    EXPECT_EQ(tree.root.windowTitle(), QStringLiteral("Window"));
    EXPECT_EQ(tree.label->text(), QStringLiteral("new"));
    EXPECT_EQ(tree.tabs->tabText(0), QStringLiteral("new"));
    EXPECT_EQ(tree.list->currentIndex(), 1);
    EXPECT_EQ(tree.filled->itemText(0), QStringLiteral("printer"));
    EXPECT_EQ(tree.filled->toolTip(), QStringLiteral("new hint"));
    EXPECT_EQ(tree.special->title(), QStringLiteral("box")) << "the caller's kind applies it";
}

TEST(WidgetTexts, ShownStateSurvivesTheFile) {
    LngWindow before;
    before.caption = QStringLiteral("title with state");
    LngComponent result, label;
    result.name = QStringLiteral("Label45");
    result.caption = QStringLiteral("12.5");
    label.name = QStringLiteral("Label1");
    label.caption = QStringLiteral("Sample");
    before.components = {result, label};
    LngWindow texts = before;
    for (LngComponent& c : texts.components)
        c.caption = QStringLiteral("file");
    texts.caption = QStringLiteral("file");
    KeepShownState(texts, before, {QStringLiteral("Label45")});
    EXPECT_EQ(texts.caption, before.caption);
    EXPECT_EQ(texts.components[0].caption, QStringLiteral("12.5"));
    EXPECT_EQ(texts.components[1].caption, QStringLiteral("file"));
}

TEST(WidgetTexts, FixedPlotTitlesFollowTheLanguageWhileTitlesShowingStateStay) {
    const auto plot = [](const char* name, const char* title, const char* x, const char* y) {
        LngComponent c;
        c.name = QString::fromLatin1(name);
        c.kind = LngComponent::Kind::Plot;
        c.caption = QString::fromLatin1(title);
        c.xAxisTitle = QString::fromLatin1(x);
        c.yAxisTitle = QString::fromLatin1(y);
        return c;
    };
    const std::vector<LngComponent> oldFixed = {
        plot("graph", "Coupling Factor", "Frequency", "|Z|"),
        plot("other", "Comparison", "Frequency", "Z")};
    const std::vector<LngComponent> newFixed = {plot("graph", "Kopplungsfaktor", "Frequenz", "|Z|"),
                                                plot("other", "Vergleich", "Frequenz", "Z")};
    LngWindow before;
    // The first plot shows a sample name and another display pair; the second is untouched;
    // the third was never given fixed texts.
    before.components = {plot("graph", "PZT disc 3", "Frequency", "Cs [nF]"),
                         plot("other", "Comparison", "Frequency", "Z"),
                         plot("third", "Own", "x", "y")};
    LngWindow texts = before;
    FollowFixedPlotTexts(texts, before, oldFixed, newFixed);
    EXPECT_EQ(texts.components[0].caption, QStringLiteral("PZT disc 3"));
    EXPECT_EQ(texts.components[0].xAxisTitle, QStringLiteral("Frequenz"));
    EXPECT_EQ(texts.components[0].yAxisTitle, QStringLiteral("Cs [nF]"));
    EXPECT_EQ(texts.components[1].caption, QStringLiteral("Vergleich"));
    EXPECT_EQ(texts.components[1].yAxisTitle, QStringLiteral("Z"));
    EXPECT_EQ(texts.components[2].caption, QStringLiteral("Own"));
}
