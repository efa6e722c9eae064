// Language files on the running window: Create LNG applied back changes nothing, the shipped
// files cover every text, and a switch to German and back keeps results and list positions.
#include "core/TextFile.h"
#include "localisation/LanguageFile.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "tests/app/LanguageWindowTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <map>

namespace ymt {
namespace {

const QString& kSource = test::kShippedLanguages;

// Every text of the window, keyed the way the language file keys it.
std::map<QString, QString> textsOf(const TForm1& window) {
    IniDocument document;
    WriteWindowSection(document, window.languageTexts());
    WriteWindowSection(document, window.circuitFitTexts());
    WriteWindowSection(document, window.materialTexts());
    WriteProgramTexts(document);
    WriteMessages(document, CurrentMessages());
    std::map<QString, QString> texts;
    QString section;
    for (const QString& line : document.lines()) {
        if (line.startsWith(QLatin1Char('['))) {
            section = line;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        texts[section + line.left(equals)] = CleanIniValue(line.mid(equals + 1));
    }
    return texts;
}

// The keys of a language file, section by section, in the file's order.
std::vector<std::pair<QString, QString>> keysOf(const QString& path) {
    QStringList lines;
    EXPECT_TRUE(ReadTextFile(path, lines)) << path.toStdString();
    std::vector<std::pair<QString, QString>> keys;
    QString section;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('[')))
            section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1);
        else if (line.contains(QLatin1Char('=')))
            keys.emplace_back(section, line.left(line.indexOf(QLatin1Char('='))));
    }
    return keys;
}

// The keys whose texts differ, with both texts, for a readable failure.
std::string differences(const std::map<QString, QString>& expected,
                        const std::map<QString, QString>& actual) {
    std::string out;
    for (const auto& [key, text] : expected) {
        const auto found = actual.find(key);
        const QString other = found == actual.end() ? QStringLiteral("<missing>") : found->second;
        if (other != text)
            out += (key + QStringLiteral(": \"") + text + QStringLiteral("\" became \"") + other +
                    QStringLiteral("\"\n"))
                       .toStdString();
    }
    if (actual.size() != expected.size())
        out += "the number of texts changed\n";
    return out;
}

class LanguageSwitch : public test::LanguageWindowTest {
protected:
    QString text(const char* name) const {
        if (auto* button = w.control<QAbstractButton>(name))
            return button->text();
        return w.control<QLabel>(name)->text();
    }
};

TEST_F(LanguageSwitch, CreateLngAppliedAtOnceChangesNoText) {
    const auto before = textsOf(*w.window);
    w.window->Button31Click();
    EXPECT_TRUE(w.dialogs.messages.empty());
    const QString path = w.dirs.programDir + QStringLiteral("jetzt.lng");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("[Form1]\r\nForm1="));
    EXPECT_TRUE(bytes.contains("\r\n[AboutBox]\r\nAboutBox=Info\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n6004=\"Loading range \"\r\n"));
    EXPECT_TRUE(bytes.endsWith("6069=German printout? (Yes->German, No-> English)\r\n"));
    EXPECT_TRUE(bytes.contains("Label16=Electrode Area [mm\xB2]\r\n"));
    EXPECT_TRUE(
        bytes.contains("\r\n[CircuitFitDialog]\r\nCircuitFitDialog=Equivalent Circuit\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n[ProgramTexts]\r\nBoxError=Error\r\n"));

    for (int i = 0; i < kMessageCount; ++i)
        SetMessage(i, QStringLiteral("changed"));
    for (int i = 0; i < static_cast<int>(Txt::Count); ++i)
        SetText(static_cast<Txt>(i), QStringLiteral("changed"));
    w.window->applyLanguageFile(path);
    EXPECT_EQ(differences(before, textsOf(*w.window)), "");
}

TEST_F(LanguageSwitch, ShippedFilesCoverEveryTextAndGermanTranslatesEachKey) {
    const auto english = keysOf(kSource + QStringLiteral("English.lng"));
    const auto german = keysOf(kSource + QStringLiteral("German.lng"));
    EXPECT_TRUE(german == english) << "German.lng has other keys than English.lng";

    // The English file holds the window's own English texts, key for key, as a window
    // writes them before its first activation sets the captions that show state.
    test::WindowOnTempHome fresh;
    fresh.window->Button31Click();
    const QString ownFile = fresh.dirs.programDir + QStringLiteral("jetzt.lng");
    IniFile written, shipped, translated;
    ASSERT_TRUE(IniFile::Load(ownFile, written));
    ASSERT_TRUE(IniFile::Load(kSource + QStringLiteral("English.lng"), shipped));
    ASSERT_TRUE(IniFile::Load(kSource + QStringLiteral("German.lng"), translated));
    const auto current = keysOf(ownFile);
    EXPECT_EQ(current.size(), english.size());
    int translatedTexts = 0;
    for (const auto& [section, key] : current) {
        const auto own = written.value(section, key);
        const auto shippedValue = shipped.value(section, key);
        ASSERT_TRUE(shippedValue.has_value()) << key.toStdString() << " is missing";
        if (key != QLatin1String("ComboBox2Items") && key != QLatin1String("ComboBox9Items") &&
            key != QLatin1String("Form1")) {
            EXPECT_EQ(shippedValue->toStdString(), own->toStdString()) << key.toStdString();
        }
        const auto germanValue = translated.value(section, key);
        ASSERT_TRUE(germanValue.has_value()) << key.toStdString() << " has no German text";
        if (!own->isEmpty() && key != QLatin1String("ComboBox2Items") &&
            key != QLatin1String("ComboBox9Items")) {
            EXPECT_FALSE(germanValue->isEmpty()) << key.toStdString();
        }
        translatedTexts += germanValue != own;
    }
    // Most texts differ in German; numbers, units and symbols stay as they are.
    EXPECT_GT(translatedTexts, static_cast<int>(current.size()) / 2);
}

TEST_F(LanguageSwitch, GermanAndBackKeepsResultsAndListPositions) {
    const auto english = textsOf(*w.window);
    const char* const changed[] = {"Label45", "Label61", "Label62",
                                   "Label17", "Label18", "Label42"};
    std::map<const char*, QString> shown;
    for (const char* name : changed)
        shown[name] = text(name);
    auto* displayPair = w.control<QComboBox>("ComboBox1");
    auto* geometry = w.control<QComboBox>("ComboBox3");
    displayPair->setCurrentIndex(3);
    geometry->setCurrentIndex(2);
    w.control<QComboBox>("ComboBox5")->setCurrentIndex(2);
    w.control<QComboBox>("ComboBox4")->setCurrentIndex(1);
    w.control<QLabel>("Label45")->setText(QStringLiteral("1.234"));
    w.control<QLabel>("Label61")->setText(QStringLiteral("DEFECT"));
    w.control<QLabel>("Label62")->setText(QStringLiteral("OK"));
    w.control<QLabel>("Label17")->setText(QStringLiteral("Length [mm]"));
    w.control<QLabel>("Label18")->setText(QStringLiteral("Width [mm]"));
    w.control<QLabel>("Label42")->setText(QStringLiteral("k31        [%]"));
    const QString caption = w.window->windowTitle();

    selectLanguage(1);
    EXPECT_EQ(text("Button6"), QStringLiteral("Neues Spektrum lesen"));
    auto* tabs = w.window->pageControl();
    EXPECT_EQ(tabs->tabText(tabs->indexOf(w.control<QWidget>("TabSheet2"))),
              QStringLiteral("Probe"));
    EXPECT_EQ(Message(ymt::Msg::LoadingRange), QStringLiteral("Lese Bereich "));
    EXPECT_EQ(displayPair->currentIndex(), 3);
    EXPECT_EQ(w.control<QComboBox>("ComboBox4")->currentIndex(), 1);
    EXPECT_FALSE(w.control<QComboBox>("ComboBox5")->isHidden());
    EXPECT_TRUE(geometry->isHidden());
    EXPECT_EQ(w.control<QComboBox>("ComboBox5")->currentText(),
              QStringLiteral("Rechteck-Platte / Rechteckstab"));
    EXPECT_EQ(text("Label45"), QStringLiteral("1.234"));
    EXPECT_EQ(text("Label61"), QStringLiteral("DEFEKT"));
    EXPECT_EQ(text("Label62"), QStringLiteral("OK"));
    EXPECT_EQ(text("Label17"), QStringLiteral("Länge [mm]"));
    EXPECT_EQ(text("Label18"), QStringLiteral("Breite [mm]"));
    EXPECT_EQ(text("Label42"), QStringLiteral("k31        [%]"));
    EXPECT_EQ(text("Label35"), QStringLiteral("tand      [1e-4]"));
    EXPECT_EQ(w.window->windowTitle(), caption);
    EXPECT_EQ(w.control<QComboBox>("ComboBox2")->itemText(0), QStringLiteral("none"));

    selectLanguage(0);
    EXPECT_EQ(text("Label61"), QStringLiteral("DEFECT"));
    EXPECT_EQ(text("Label17"), QStringLiteral("Length [mm]"));
    EXPECT_FALSE(geometry->isHidden());
    for (const char* name : changed)
        w.control<QLabel>(name)->setText(shown[name]);
    EXPECT_EQ(differences(english, textsOf(*w.window)), "");
}

// The language a start-up restores comes from the settings store, as after a restart.
static void StoreLanguage(TForm1& window, const QString& language) {
    const QString path = window.settingsFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile store(path);
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.write("Windows Registry Editor Version 5.00\r\n\r\n"
                "[HKEY_CURRENT_USER\\Software\\Kvr\\Ymt]\r\n\"Language\"=\"" +
                language.toUtf8() + "\"\r\n");
}

TEST_F(LanguageSwitch, StoredGermanSelectsGermanAtStart) {
    for (const QString& stored : {QStringLiteral("German"), QStringLiteral("Deutsch")}) {
        test::WindowOnTempHome fresh;
        QFile::copy(kSource + QStringLiteral("German.lng"),
                    fresh.dirs.programDir + QStringLiteral("German.lng"));
        StoreLanguage(*fresh.window, stored);
        fresh.window->FormActivate();
        EXPECT_EQ(fresh.control<TRadioGroup>("RadioGroup4")->itemIndex(), 1);
        EXPECT_EQ(fresh.control<QPushButton>("Button6")->text(),
                  QStringLiteral("Neues Spektrum lesen"));
        ResetMessages();
    }
}

TEST_F(LanguageSwitch, StoredGermanIsInUseWhenTheSetUpEndsAtAnUnreadableQcFile) {
    test::WindowOnTempHome fresh;
    QFile::copy(kSource + QStringLiteral("German.lng"),
                fresh.dirs.programDir + QStringLiteral("German.lng"));
    ASSERT_TRUE(QDir().mkdir(fresh.dirs.programDir + QStringLiteral("QC.txt")));
    StoreLanguage(*fresh.window, QStringLiteral("Deutsch"));
    fresh.window->FormActivate();
    ASSERT_EQ(fresh.dialogs.messages.size(), 1u);
    EXPECT_EQ(Text(Txt::BoxError), QStringLiteral("Fehler"));
    EXPECT_EQ(fresh.control<QPushButton>("Button6")->text(),
              QStringLiteral("Neues Spektrum lesen"));
    ResetMessages();
    ResetProgramTexts();
}

TEST_F(LanguageSwitch, FurtherLanguageFilesCanBeSelected) {
    QFile french(w.dirs.programDir + QStringLiteral("French.lng"));
    ASSERT_TRUE(french.open(QIODevice::WriteOnly));
    french.write("[Form1]\r\nButton6=Lire un nouveau spectre\r\n"
                 "RadioGroup4Items=Anglais;Allemand\r\n");
    french.close();
    test::WindowOnTempHome fresh;
    QFile::copy(french.fileName(), fresh.dirs.programDir + QStringLiteral("French.lng"));
    StoreLanguage(*fresh.window, QStringLiteral("French"));
    fresh.window->FormActivate();
    auto* group = fresh.control<TRadioGroup>("RadioGroup4");
    ASSERT_EQ(group->count(), 3);
    EXPECT_EQ(group->itemIndex(), 2);
    EXPECT_EQ(group->items(), (QStringList{QStringLiteral("Anglais"), QStringLiteral("Allemand"),
                                           QStringLiteral("French")}));
    EXPECT_EQ(fresh.control<QPushButton>("Button6")->text(),
              QStringLiteral("Lire un nouveau spectre"));
}

TEST_F(LanguageSwitch, RunTimeListsAndListsAFileCannotFillKeepTheirItemsAndPositions) {
    auto* types = w.control<QComboBox>("ComboBox2");
    types->addItems({QStringLiteral("PZT-5A"), QStringLiteral("PZT-8")});
    types->setCurrentIndex(2);
    auto* display = w.control<QComboBox>("ComboBox1");
    display->setCurrentIndex(20);
    QFile file(w.dirs.programDir + QStringLiteral("Short.lng"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Form1]\r\nComboBox2Items=old type;stale\r\nComboBox1Items=a;b;c\r\n");
    file.close();
    w.window->applyLanguageFile(file.fileName());
    EXPECT_EQ(types->count(), 3);
    EXPECT_EQ(types->currentIndex(), 2);
    EXPECT_EQ(display->count(), 21);
    EXPECT_EQ(display->currentIndex(), 20);
}

TEST_F(LanguageSwitch, EuroSignAndUmlautSurviveARoundTrip) {
    QFile file(w.dirs.programDir + QStringLiteral("Euro.lng"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Form1]\r\nButton6=Preis \x80 f\xFCr \xE4\r\n");
    file.close();
    w.window->applyLanguageFile(file.fileName());
    EXPECT_EQ(text("Button6"), QString::fromUtf8("Preis € für ä"));
    const QString again = w.dirs.programDir + QStringLiteral("again.lng");
    ASSERT_TRUE(w.window->writeLanguageFile(again));
    QFile written(again);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("\r\nButton6=Preis \x80 f\xFCr \xE4\r\n"));
}

TEST_F(LanguageSwitch, UnwritableCreateLngIsReported) {
    w.window->ProgramDir = QStringLiteral("/nonexistent/dir/");
    w.window->Button31Click();
    ASSERT_EQ(w.dialogs.messages.size(), 1u);
    EXPECT_EQ(w.dialogs.messages[0].kind, MessageKind::Error);
}

} // namespace
} // namespace ymt
