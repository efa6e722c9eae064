// Window texts and messages through language files: what is written, what a file replaces,
// lists filled at run time, and where the files are found.
#include "localisation/LanguageFile.h"

#include "localisation/TextTables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace ymt {
namespace {

LngComponent component(const char* name, LngComponent::Kind kind, const char* caption = "") {
    LngComponent c;
    c.name = QString::fromLatin1(name);
    c.kind = kind;
    c.caption = QString::fromLatin1(caption);
    return c;
}

LngWindow sampleWindow() {
    LngWindow window;
    window.name = QStringLiteral("Form1");
    window.caption = QStringLiteral("Zelvanor Ymt 2.4.5 ");
    LngComponent button = component("Button6", LngComponent::Kind::Caption, "Read New Spectrum");
    button.hint = QStringLiteral("Sweep the ranges");
    LngComponent display = component("ComboBox1", LngComponent::Kind::List);
    display.items = {QStringLiteral("|Z| - theta"), QStringLiteral("Rs - X")};
    LngComponent types = component("ComboBox2", LngComponent::Kind::List);
    types.items = {QStringLiteral("none"), QStringLiteral("PZT-5A")};
    types.itemsFromProgram = true;
    LngComponent language =
        component("RadioGroup4", LngComponent::Kind::RadioGroup, "Program Language");
    language.items = {QStringLiteral("English"), QStringLiteral("German"),
                      QStringLiteral("French")};
    language.fixedItemCount = 2;
    LngComponent plot = component("dauergraph", LngComponent::Kind::Plot, "Repeat Measurement");
    plot.xAxisTitle = QStringLiteral("Temperature");
    LngComponent dialog = component("OpenDialog1", LngComponent::Kind::FileDialog);
    dialog.title = QStringLiteral("Open spectrum");
    dialog.filter = QStringLiteral("Text (*.txt)|*.txt");
    LngComponent separator = component("N1", LngComponent::Kind::Separator);
    window.components = {button, display, types, language, plot, dialog, separator};
    return window;
}

TEST(LanguageFile, WrittenWindowAppliedBackChangesNothing) {
    const LngWindow original = sampleWindow();
    IniDocument document;
    WriteWindowSection(document, original);
    const QStringList lines = document.lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Form1=\"Zelvanor Ymt 2.4.5 \"")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Button6Hint=Sweep the ranges")));
    EXPECT_TRUE(lines.contains(QStringLiteral("ComboBox1Items=|Z| - theta;Rs - X")));
    EXPECT_TRUE(lines.contains(QStringLiteral("OpenDialog1Filter=Text (*.txt)|*.txt")));
    EXPECT_TRUE(lines.contains(QStringLiteral("dauergraphXAxisTitle=Temperature")));
    EXPECT_FALSE(lines.contains(QStringLiteral("dauergraphYAxisTitle=")));
    EXPECT_FALSE(lines.contains(QStringLiteral("ComboBox1Hint=")));

    LngWindow applied = original;
    ApplyWindowSection(IniFile::FromBytes(lines.join(QStringLiteral("\r\n")).toLatin1()), applied);
    EXPECT_EQ(applied.caption, original.caption);
    for (size_t i = 0; i < original.components.size(); ++i) {
        EXPECT_EQ(applied.components[i].caption, original.components[i].caption);
        EXPECT_EQ(applied.components[i].hint, original.components[i].hint);
        EXPECT_EQ(applied.components[i].items, original.components[i].items);
        EXPECT_EQ(applied.components[i].title, original.components[i].title);
        EXPECT_EQ(applied.components[i].filter, original.components[i].filter);
    }
}

TEST(LanguageFile, FileReplacesTextsButNotRunTimeListsOrMissingKeys) {
    LngWindow window = sampleWindow();
    ApplyWindowSection(IniFile::FromBytes("[FORM1]\r\nbutton6=Neues Spektrum lesen\r\n"
                                          "ComboBox1Items=|Z| - Theta;Rs - X;extra;\r\n"
                                          "ComboBox2Items=stale type;old\r\n"
                                          "RadioGroup4Items=Englisch;Deutsch;Spanisch\r\n"
                                          "RadioGroup4=\r\nN1=Abc\r\n"),
                       window);
    const auto& c = window.components;
    EXPECT_EQ(c[0].caption, QStringLiteral("Neues Spektrum lesen"));
    EXPECT_EQ(c[0].hint, QStringLiteral("Sweep the ranges"));
    // Items beyond the list's own are not taken: a position past them could be stored.
    EXPECT_EQ(c[1].items, (QStringList{QStringLiteral("|Z| - Theta"), QStringLiteral("Rs - X")}));
    EXPECT_EQ(c[2].items, (QStringList{QStringLiteral("none"), QStringLiteral("PZT-5A")}));
    // The two built-in languages are translated; languages found on disk stay.
    EXPECT_EQ(c[3].items, (QStringList{QStringLiteral("Englisch"), QStringLiteral("Deutsch"),
                                       QStringLiteral("French")}));
    EXPECT_EQ(c[3].caption, QString());
    EXPECT_EQ(c[4].caption, QStringLiteral("Repeat Measurement"));
    EXPECT_EQ(window.caption, QStringLiteral("Zelvanor Ymt 2.4.5 "));
}

TEST(LanguageFile, EmptyItemsValueKeepsTheList) {
    LngWindow window = sampleWindow();
    ApplyWindowSection(IniFile::FromBytes("[Form1]\r\nComboBox1Items=\r\n"), window);
    EXPECT_EQ(window.components[1].items.size(), 2);
}

class Messages : public ::testing::Test {
protected:
    void TearDown() override { ResetMessages(); }
};

TEST_F(Messages, BlanksThatBelongToAMessageSurviveARoundTrip) {
    IniDocument document;
    WriteMessages(document, CurrentMessages());
    const QStringList lines = document.lines();
    ASSERT_EQ(lines.size(), 1 + kMessageCount);
    EXPECT_EQ(lines.front(), QStringLiteral("[OtherStrings]"));
    EXPECT_EQ(lines[1 + 4], QStringLiteral("6004=\"Loading range \""));
    EXPECT_EQ(lines.back(), QStringLiteral("6069=") + Message(69));

    SetMessage(4, QStringLiteral("changed"));
    SetMessage(52, QStringLiteral("changed"));
    ApplyMessages(IniFile::FromBytes(lines.join(QStringLiteral("\r\n")).toLatin1()));
    EXPECT_EQ(Message(4), QStringLiteral("Loading range "));
    EXPECT_EQ(Message(52), QStringLiteral(" already exists. Replace?"));
}

TEST_F(Messages, MissingKeysKeepTheTextAndOldUnquotedFilesStillRead) {
    ApplyMessages(IniFile::FromBytes("[OtherStrings]\r\n6000=Qualitaetstest fehlgeschlagen: \r\n"
                                     "6001=\r\n"));
    EXPECT_EQ(Message(0), QStringLiteral("Qualitaetstest fehlgeschlagen:"));
    EXPECT_EQ(Message(1), QString());
    EXPECT_EQ(Message(4), QStringLiteral("Loading range "));
}

TEST(LanguageChoice, StoredValueSelectsTheItem) {
    const QStringList items = {QStringLiteral("English"), QStringLiteral("German"),
                               QStringLiteral("French")};
    EXPECT_EQ(LanguageIndexFor(QStringLiteral("German"), items), 1);
    EXPECT_EQ(LanguageIndexFor(QStringLiteral("Deutsch"), items), 1);
    EXPECT_EQ(LanguageIndexFor(QStringLiteral("french"), items), 2);
    EXPECT_EQ(LanguageIndexFor(QStringLiteral("Englisch"), items), 0);
    EXPECT_EQ(LanguageIndexFor(QString(), items), 0);
}

TEST(LanguageChoice, FilesAreFoundInFolderOrder) {
    QTemporaryDir first, second;
    const auto touch = [](const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    touch(second.filePath(QStringLiteral("German.lng")));
    touch(second.filePath(QStringLiteral("French.lng")));
    touch(first.filePath(QStringLiteral("German.lng")));
    const QStringList folders = {first.path() + QLatin1Char('/'), second.path() + QLatin1Char('/')};
    EXPECT_EQ(FindLanguageFile(QStringLiteral("German"), folders),
              first.filePath(QStringLiteral("German.lng")));
    EXPECT_EQ(FindLanguageFile(QStringLiteral("French"), folders),
              second.filePath(QStringLiteral("French.lng")));
    EXPECT_EQ(FindLanguageFile(QStringLiteral("Klingon"), folders), QString());
    EXPECT_EQ(FindLanguageFile(QStringLiteral("../German"), folders), QString());
    EXPECT_EQ(AvailableLanguages(folders),
              (QStringList{QStringLiteral("German"), QStringLiteral("French")}));
    const QStringList searched = LanguageFolders(first.path());
    ASSERT_GE(searched.size(), 2);
    EXPECT_EQ(searched.front(), first.path() + QLatin1Char('/'));
    EXPECT_TRUE(searched.back().endsWith(QLatin1String("/zelvanor-ymt/")));
}

TEST(LanguageChoice, BuiltInItemsFindTheirFileUnderItsEnglishName) {
    QTemporaryDir dir;
    for (const char* name : {"English.lng", "German.lng", "French.lng"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QStringList folders = {dir.path() + QLatin1Char('/')};
    const auto file = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    EXPECT_EQ(LanguageFileFor(QStringLiteral("Deutsch"), 1, folders), file("German.lng"));
    EXPECT_EQ(LanguageFileFor(QStringLiteral("Englisch"), 0, folders), file("English.lng"));
    EXPECT_EQ(LanguageFileFor(QStringLiteral("French"), 2, folders), file("French.lng"));
    // A further item has no shipped file to fall back on.
    EXPECT_EQ(LanguageFileFor(QStringLiteral("Klingon"), 2, folders), QString());
    // A file named by the item's text wins over the shipped one.
    QFile own(dir.filePath(QStringLiteral("Deutsch.lng")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    EXPECT_EQ(LanguageFileFor(QStringLiteral("Deutsch"), 1, folders), file("Deutsch.lng"));
}

TEST_F(Messages, DimensionCaptionsFollowTheMessageTable) {
    EXPECT_EQ(DimensionCaptions(0), (std::pair<QString, QString>{}));
    EXPECT_EQ(DimensionCaptions(2),
              (std::pair{QStringLiteral("Length [mm]"), QStringLiteral("Width [mm]")}));
    SetMessage(34, QStringLiteral("Durchmesser [mm]"));
    EXPECT_EQ(DimensionCaptions(1).first, QStringLiteral("Durchmesser [mm]"));
}

} // namespace
} // namespace ymt
