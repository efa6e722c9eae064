// The window in German: plot titles, the captions that name the displayed pair, Qt's own
// texts, a language file in the wrong encoding, no English text left anywhere the window shows,
// and German captions that fit at the smallest window size.
#include "core/TextFile.h"
#include "evaluation/CouplingFactors.h"
#include "localisation/IniFile.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "plot/FastGraph.h"
#include "tests/app/LanguageWindowTest.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace ymt {
namespace {

const QString& kSource = test::kShippedLanguages;

class GermanWindow : public test::LanguageWindowTest {
protected:
    TFastGraph* plot(const char* name) const { return w.control<TFastGraph>(name); }
};

TEST_F(GermanWindow, FixedPlotTitlesFollowTheLanguageAndTitlesShowingStateStay) {
    selectLanguage(1);
    EXPECT_EQ(plot("fastgraph1")->Title(), QStringLiteral("Kopplungsfaktor"));
    EXPECT_EQ(plot("fastgraph1")->XAxis.Title(), QStringLiteral("Frequenz [kHz]"));
    EXPECT_EQ(plot("qgraph")->Title(), QStringLiteral("Spektrenvergleich"));
    EXPECT_EQ(plot("qgraph")->YAxis.Title(), QStringLiteral("Impedanz |Z| [Ohm]"));
    EXPECT_EQ(plot("dauergraph")->Title(), QStringLiteral("Wiederholungsmessung"));
    EXPECT_EQ(plot("dauergraph")->YAxis.Title(), QString::fromUtf8("Kapazität [nF]"));

    selectLanguage(0);
    EXPECT_EQ(plot("fastgraph1")->Title(), QStringLiteral("Coupling Factor"));
    EXPECT_EQ(plot("qgraph")->XAxis.Title(), QStringLiteral("Frequency [kHz]"));
    // The repeat plot is English in the English window before any series.
    EXPECT_EQ(plot("dauergraph")->Title(), QStringLiteral("Repeat Measurement"));
    EXPECT_EQ(plot("dauergraph")->XAxis.Title(), QString::fromUtf8("Temperature [°C]"));
    EXPECT_EQ(plot("dauergraph")->YAxis.Title(), QStringLiteral("Capacitance [nF]"));

    // A sample name and another display pair are state: the switch keeps them.
    auto* name = w.control<QLineEdit>("Edit4");
    name->setText(QStringLiteral("Disc 7"));
    w.window->Edit4Exit();
    auto* pair = w.control<QComboBox>("ComboBox1");
    pair->setCurrentIndex(5); // Cs - Q
    w.window->ComboBox1Change();
    const QString yTitle = plot("fastgraph1")->YAxis.Title();
    ASSERT_TRUE(yTitle.startsWith(QStringLiteral("Cs"))) << yTitle.toStdString();
    selectLanguage(1);
    EXPECT_EQ(plot("fastgraph1")->Title(), QStringLiteral("Disc 7"));
    EXPECT_EQ(plot("fastgraph1")->YAxis.Title(), yTitle);
    EXPECT_EQ(plot("fastgraph1")->XAxis.Title(), QStringLiteral("Frequenz [kHz]"));
    EXPECT_EQ(w.control<QCheckBox>("CheckBox1")->text(), QStringLiteral("Cs log"));
    EXPECT_EQ(w.control<QCheckBox>("CheckBox2")->text(), QStringLiteral("Q log"));
    // "Show Points" is no caption showing state: it is translated.
    EXPECT_EQ(w.control<QCheckBox>("CheckBox5")->text(), QStringLiteral("Punkte zeigen"));
}

TEST_F(GermanWindow, QtsOwnButtonsAndDialogsFollowTheLanguage) {
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    ASSERT_EQ(cancel(), QStringLiteral("Cancel"));
    selectLanguage(1);
    EXPECT_EQ(cancel(), QStringLiteral("Abbrechen"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("File &name:"));
    selectLanguage(0);
    EXPECT_EQ(cancel(), QStringLiteral("Cancel"));
}

TEST_F(GermanWindow, ALanguageFileInUtf8IsReportedOnceByName) {
    const QString path = w.dirs.programDir + QStringLiteral("Utf8.lng");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Form1]\r\nButton6=Neues Spektrum f\xC3\xBCr Probe\r\n");
    file.close();
    w.window->applyLanguageFile(path);
    w.window->applyLanguageFile(path);
    ASSERT_EQ(w.dialogs.messages.size(), 1u);
    EXPECT_EQ(w.dialogs.messages[0].kind, MessageKind::Warning);
    EXPECT_TRUE(w.dialogs.messages[0].text.contains(path))
        << w.dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(w.dialogs.messages[0].text.contains(QStringLiteral("1252")));
    // The shipped files are in code page 1252: no word about them.
    selectLanguage(1);
    selectLanguage(0);
    EXPECT_EQ(w.dialogs.messages.size(), 1u);
}

// Every text of the shipped English file (and each item of its lists) that the German file
// does not use anywhere.
std::set<QString> englishOnlyTexts() {
    const auto values = [](const QString& path) {
        QStringList lines;
        EXPECT_TRUE(ReadTextFile(path, lines)) << path.toStdString();
        std::set<QString> texts;
        for (const QString& line : lines) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            if (line.startsWith(QLatin1Char('[')) || equals < 0)
                continue;
            const QString value = CleanIniValue(line.mid(equals + 1));
            texts.insert(value);
            for (const QString& item : value.split(QLatin1Char(';')))
                texts.insert(item);
        }
        return texts;
    };
    const std::set<QString> english = values(kSource + QStringLiteral("English.lng"));
    const std::set<QString> german = values(kSource + QStringLiteral("German.lng"));
    std::set<QString> only;
    for (const QString& text : english) {
        if (!german.count(text) && !text.trimmed().isEmpty())
            only.insert(text);
    }
    return only;
}

// The texts an operator sees on a window: captions, titles, tooltips, list items, menu items.
void collectShown(QWidget& window, QStringList& shown) {
    shown << window.windowTitle();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() != &window || !widget->isVisibleTo(&window))
            continue;
        shown << widget->toolTip();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            shown << button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            shown << label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            shown << group->title();
        else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < list->count(); ++i)
                shown << list->itemText(i);
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                shown << tabs->tabText(i);
        } else if (auto* graph = qobject_cast<TFastGraph*>(widget)) {
            shown << graph->Title() << graph->XAxis.Title() << graph->YAxis.Title();
            if (graph->Y2Axis.Visible())
                shown << graph->Y2Axis.Title();
        }
    }
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->isVisible() && !action->isSeparator())
            shown << action->text();
    }
}

TEST_F(GermanWindow, ShowsNoEnglishCaptionTitleTooltipMenuTextOrMessage) {
    const std::set<QString> english = englishOnlyTexts();
    ASSERT_GT(english.size(), 250u);
    ASSERT_TRUE(english.count(QStringLiteral("Read New Spectrum")));
    ASSERT_TRUE(english.count(EnglishText(Txt::FileNotFound)));
    selectLanguage(1);
    w.control<QCheckBox>("CheckBox21")->setChecked(true); // "Show Additional Controls"

    QStringList shown;
    QTabWidget* tabs = w.window->pageControl();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        collectShown(*w.window, shown);
    }
    auto* fitWindow = w.control<QDialog>("CircuitFitDialog");
    ASSERT_NE(fitWindow, nullptr);
    collectShown(*fitWindow, shown);
    auto* materialWindow = w.control<QDialog>("MaterialDialog");
    ASSERT_NE(materialWindow, nullptr);
    collectShown(*materialWindow, shown);
    // Boxes of a few operations: a file that is gone, a fit without points, a new set.
    w.dialogs.fileResult.accepted = true;
    w.dialogs.fileResult.paths = {w.dirs.programDir + QStringLiteral("gone.txt")};
    w.window->ffnen1Click();
    w.window->FitCircuitClick();
    w.window->Button20Click();
    ASSERT_GE(w.dialogs.messages.size(), 3u);
    for (const test::ShownMessage& message : w.dialogs.messages)
        shown << message.text;
    for (const FileDialogOptions& dialog : w.dialogs.fileDialogs)
        shown << dialog.title;

    // A text with numbers or names filled in starts as its English template does.
    QStringList templateStarts;
    for (const QString& text : english) {
        const QString start = text.left(text.indexOf(QLatin1Char('%')));
        if (text.contains(QLatin1Char('%')) && start.size() >= 12)
            templateStarts << start;
    }
    std::string found;
    for (const QString& text : shown) {
        const bool filledIn = std::any_of(templateStarts.begin(), templateStarts.end(),
                                          [&text](const QString& s) { return text.startsWith(s); });
        if (english.count(text) || filledIn)
            found += "\"" + text.toStdString() + "\"\n";
    }
    EXPECT_EQ(found, "") << "English texts in the German window";
    EXPECT_TRUE(shown.contains(Text(Txt::FileNotFound)));
    EXPECT_EQ(Text(Txt::FileNotFound), QStringLiteral("Datei nicht gefunden."));
}

// The numbers of a text in their order, whatever the words around them.
QStringList numbersOf(const QString& text) {
    QStringList numbers;
    static const QRegularExpression number(QStringLiteral("-?[0-9][0-9.e+-]*"));
    for (auto match = number.globalMatch(text); match.hasNext();)
        numbers << match.next().captured();
    return numbers;
}

TEST_F(GermanWindow, MaterialWindowReadsGermanWithItsNumbersUnchanged) {
    // A bar from f(min)/f(max), no density and no capacitance: values and missing inputs both.
    w.control<QComboBox>("ComboBox4")->setCurrentIndex(ModeK31);
    w.control<QComboBox>("ComboBox3")->setCurrentIndex(2); // rectangular
    w.window->ComboBox3Change();
    ASSERT_EQ(w.window->Sample.Geometry, GeometryKind::RectangularDisc);
    w.window->Sample.Dimension1 = 15;
    w.window->Sample.Dimension2 = 5;
    w.window->Sample.ElectrodeDistance = 1;
    w.window->Results.FMin = 98.5;
    w.window->Results.FMax = 102.25;
    w.window->MaterialConstantsClick();
    auto* window = w.control<QDialog>("MaterialDialog");
    auto* text = w.control<QPlainTextEdit>("MaterialText");
    ASSERT_TRUE(window && text && window->isVisible());
    const QString english = text->toPlainText();
    ASSERT_TRUE(english.startsWith(QStringLiteral("Constants:"))) << english.toStdString();

    // The open window follows the switch; the next click computes in German.
    selectLanguage(1);
    const QString switched = text->toPlainText();
    w.window->MaterialConstantsClick();
    const QString german = text->toPlainText();
    EXPECT_EQ(switched, german);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Materialkonstanten"));
    EXPECT_EQ(w.control<QPushButton>("MaterialProtocolButton")->text(),
              QStringLiteral("Ins Protokoll"));
    EXPECT_EQ(w.control<QPushButton>("MaterialCopyButton")->text(), QStringLiteral("Kopieren"));
    EXPECT_EQ(w.control<QPushButton>("MaterialCloseButton")->text(),
              QString::fromUtf8("Schließen"));
    for (const char* part : {"Konstanten:", "Verwendete Eingaben:", "sE11 = ---  (fehlt: Dichte)",
                             "Dichte: fehlt: Dichte", "(aus f(min) und f(max))",
                             "Rechteckstab kürzer als 3.5 Breiten (l/w = "})
        EXPECT_TRUE(german.contains(QString::fromUtf8(part))) << part << "\n"
                                                              << german.toStdString();
    EXPECT_FALSE(german.contains(QStringLiteral("missing"))) << german.toStdString();
    EXPECT_EQ(numbersOf(german), numbersOf(english));

    selectLanguage(0);
    EXPECT_EQ(text->toPlainText(), english);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Material Constants"));
}

// The room a caption has inside its control, as the style lays the control out.
int captionRoom(QWidget* widget) {
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()
            ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
            .width();
    }
    return widget->contentsRect().width();
}

TEST_F(GermanWindow, GermanCaptionsFitTheirControlsAtTheMinimumSize) {
    selectLanguage(1);
    w.control<QCheckBox>("CheckBox21")->setChecked(true);
    w.window->show();
    w.window->resize(w.window->minimumSize());
    QApplication::processEvents();
    // The German captions need no wider window than the designed one.
    EXPECT_EQ(w.window->width(), 818);
    std::string cut;
    QTabWidget* tabs = w.window->pageControl();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        for (QWidget* widget : tabs->currentWidget()->findChildren<QWidget*>()) {
            if (!widget->isVisible())
                continue;
            QString text;
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                text = button->text();
            else if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap())
                text = label->text();
            if (text.isEmpty() || text.contains(QLatin1Char('\n')))
                continue;
            const int needed = widget->fontMetrics().horizontalAdvance(text);
            if (needed > captionRoom(widget))
                cut += widget->objectName().toStdString() + " \"" + text.toStdString() + "\"\n";
        }
    }
    EXPECT_EQ(cut, "");
}

} // namespace
} // namespace ymt
