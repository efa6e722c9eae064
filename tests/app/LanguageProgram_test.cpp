// The language switch through the built program: a script selects German and English again,
// and --create-lng writes a complete file in code page 1252.
#include "tests/app/ProgramProcess.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using ymt::test::ProgramOutput;
using ymt::test::RunProgram;

ProgramOutput runScript(const QTemporaryDir& home, const QString& steps) {
    return RunProgram({QStringLiteral("--fast"), QStringLiteral("--home"), home.path(),
                       QStringLiteral("--script"), ymt::test::WriteScript(home.path(), steps)});
}

TEST(LanguageProgram, GermanThenEnglishThroughTheWindow) {
    QTemporaryDir home;
    const ProgramOutput run =
        runScript(home, QStringLiteral("check CheckBox21 1\n"
                                       "select ComboBox1 4\n"
                                       "select RadioGroup4 1\n"
                                       "show Button6\n"
                                       "show TabSheet1\n"
                                       "show ComboBox5\n"
                                       "expect ComboBox1 \"Cs - Rs\"\n"
                                       "expect Label45 ---\n"
                                       "answer No\n"
                                       "click DeletePoints1\n"
                                       "select RadioGroup4 0\n"
                                       "expect Button6 \"Read New Spectrum\"\n"
                                       "expect TabSheet1 Hardware\n"
                                       "expect TabSheet3 Measurement\n"
                                       "expect RadioGroup4 English\n"
                                       "answer No\n"
                                       "click DeletePoints1\n"
                                       "quit\n"));
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("Neues Spektrum lesen")))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("Hardware")));
    EXPECT_TRUE(run.output.contains(QStringLiteral("Freie Geometrie")));
    EXPECT_TRUE(run.output.contains(
        QStringLiteral("\"Sollen wirklich alle Punkte gelöscht werden?\" -> No")))
        << run.output.toStdString();
    EXPECT_TRUE(
        run.output.contains(QStringLiteral("\"Do you really want to delete all points?\" -> No")));
}

TEST(LanguageProgram, CreateLngWritesCodePage1252WithAllSections) {
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("new.lng"));
    const ProgramOutput run =
        RunProgram({QStringLiteral("--home"), home.path(), QStringLiteral("--create-lng"), path});
    ASSERT_EQ(run.exitCode, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("[Form1]\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n[AboutBox]\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n[OtherStrings]\r\n6000=\"Quality Test failed for the "
                               "sampletype: \"\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n6069="));
    EXPECT_FALSE(bytes.contains("\r\n6070="));
    EXPECT_TRUE(bytes.contains("Electrode Area [mm\xB2]"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));

    // A translator's file with a euro sign and an umlaut is offered and applied.
    QByteArray edited = bytes;
    edited.replace("Button6=Read New Spectrum", "Button6=Spektrum lesen \x80 \xE4");
    QFile::remove(path);
    QFile out(home.filePath(QStringLiteral("Euro.lng")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(edited);
    out.close();
    const ProgramOutput script =
        runScript(home, QStringLiteral("select RadioGroup4 2\n"
                                       "expect Button6 \"Spektrum lesen € ä\"\n"
                                       "quit\n"));
    EXPECT_EQ(script.exitCode, 0) << script.output.toStdString();
}

TEST(LanguageProgram, CreateLngIntoAMissingFolderFails) {
    QTemporaryDir home;
    const ProgramOutput run =
        RunProgram({QStringLiteral("--home"), home.path(), QStringLiteral("--create-lng"),
                    home.filePath(QStringLiteral("missing/x.lng"))});
    EXPECT_EQ(run.exitCode, 1);
}

// A language file changes texts, never a selection: a list whose file holds fewer items keeps
// its items, so "HP 4294A" and "Backup on Every Change" stay chosen and are saved as such.
TEST(LanguageProgram, ShortItemListsKeepTheListAndItsSelection) {
    QTemporaryDir home;
    QFile lng(home.filePath(QStringLiteral("Short.lng")));
    ASSERT_TRUE(lng.open(QIODevice::WriteOnly));
    lng.write("[Form1]\r\nComboBox6Items=HP 4194A\r\nRadioGroup6Items=No Backup\r\n"
              "Button6=Kurz lesen\r\n");
    lng.close();
    const ProgramOutput run = ymt::test::RunScriptIn(
        home.path(), QStringLiteral("select ComboBox6 1\n"
                                    "select RadioGroup6 2\n"
                                    "select RadioGroup4 2\n"
                                    "expect Button6 \"Kurz lesen\"\n"
                                    "expect ComboBox6 \"HP 4294A\"\n"
                                    "expect RadioGroup6 \"Backup on Every Change (recommended)\"\n"
                                    "quit\n"));
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    QFile settings(home.filePath(QStringLiteral("config/Kvr/Ymt.reg")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray stored = settings.readAll();
    EXPECT_TRUE(stored.contains("\"Analyzer\"=dword:00000001")) << stored.toStdString();
    EXPECT_TRUE(stored.contains("\"Autobackup\"=dword:00000002")) << stored.toStdString();
}

} // namespace
