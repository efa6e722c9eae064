// Printing driven through the built program into PDF files read back with the poppler tools:
// "Print Spectrum..." in English, German and "Ask me", a cancelled dialog, "Print protocol...",
// and failures that are reported as such.
#include "tests/app/EvaluationTestSupport.h"
#include "tests/app/MainWindowTestSupport.h"
#include "tests/support/PdfText.h"

#include "plot/FastGraph.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using ymt::test::RunScript;
using ymt::test::ScriptRun;

// The sample fields and analyzer settings of a spectrum worth printing, after a measurement
// with its evaluation on the simulated analyzer.
const QString kMeasuredSample = QStringLiteral("tab TabSheet2\n"
                                               "type Edit3 \"PZT-5A ceramic\"\nenter Edit3\n"
                                               "type Edit6 \"first disc of the batch\"\n"
                                               "enter Edit6\n"
                                               "type Edit8 Vazaz\nenter Edit8\n"
                                               "select ComboBox6 0\n"
                                               "answer OK\nanswer OK\nclick Button12\n"
                                               "type Edit1 180\ntype Edit2 240\n"
                                               "type Edit36 180\ntype Edit37 240\n"
                                               "click Button6\nclick Button10\n");

class PrintProgram : public ::testing::Test {
protected:
    QString pdf(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(PrintProgram, PrintSpectrumInEnglishShowsHeaderSampleResultsAndSettingsOnOneA4Page) {
    const ScriptRun run =
        RunScript(kMeasuredSample + QStringLiteral("state\nprintdialog ok \"%1\"\n"
                                                   "click Drucken1\nquit\n")
                                        .arg(pdf("en.pdf")));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    const ymt::test::PdfInfo info = ymt::test::ReadPdfInfo(pdf("en.pdf"));
    EXPECT_EQ(info.pages, 1);
    EXPECT_TRUE(info.pageSize.contains(QStringLiteral("A4"))) << info.pageSize.toStdString();
    const QString text = ymt::test::PdfText(pdf("en.pdf"));
    for (const QString& expected :
         {QStringLiteral("Low Field Impedance Analysis"), QStringLiteral("PZT-5A ceramic"),
          QStringLiteral("first disc of the batch"), QStringLiteral("Vazaz"),
          QStringLiteral("Measurement Conditions"), QStringLiteral("Averaging"),
          QStringLiteral("Voltage [V]"), QStringLiteral("0.500"), QStringLiteral("BIAS [V]"),
          QStringLiteral("Resonance Measurement"), QStringLiteral("Frequency [kHz]"),
          QStringLiteral("Zelvanor Ymt 2.4.5")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n"
                                             << text.toStdString();
    // The resonance results as the labels show them.
    const QString fmin = run.value(QStringLiteral("label.fmin"));
    const QString keff = run.value(QStringLiteral("label.keff"));
    ASSERT_NE(fmin, QStringLiteral("---"));
    EXPECT_TRUE(text.contains(fmin)) << fmin.toStdString();
    EXPECT_TRUE(text.contains(keff)) << keff.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Resonanzmessung")));
}

TEST_F(PrintProgram, GermanAndAskMePrintTheLanguageChosenEachTime) {
    const ScriptRun run =
        RunScript(QStringLiteral("tab TabSheet9\nselect RadioGroup5 1\n"
                                 "printdialog ok \"%1\"\nclick Drucken1\n"
                                 "select RadioGroup5 2\n"
                                 "printdialog ok \"%2\"\nanswer Yes\nclick Drucken1\n"
                                 "printdialog ok \"%3\"\nanswer OK\nclick Drucken1\n"
                                 "show RadioGroup5\nquit\n")
                      .arg(pdf("de.pdf"), pdf("ask-yes.pdf"), pdf("ask-ok.pdf")));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    const QString german = ymt::test::PdfText(pdf("de.pdf"));
    for (const char* expected :
         {"Kleinsignalimpedanzmessung", "Probenbezeichnung", "Bearbeiter/in", "Meßbedingungen",
          "Resonanzmessung", "Frequenz [kHz]", "Freie Geometrie"})
        EXPECT_TRUE(german.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(run.lines.contains(QStringLiteral(
        "message confirmation \"Printout language English (yes) or German (ok)?\" -> Yes")));
    const QString yes = ymt::test::PdfText(pdf("ask-yes.pdf"));
    EXPECT_TRUE(yes.contains(QStringLiteral("Low Field Impedance Analysis")));
    EXPECT_TRUE(yes.contains(QStringLiteral("Arbitrary Geometry")));
    const QString ok = ymt::test::PdfText(pdf("ask-ok.pdf"));
    EXPECT_TRUE(ok.contains(QStringLiteral("Kleinsignalimpedanzmessung")));
    // The answer is for one printout only; the option stays "Ask me".
    EXPECT_EQ(run.value(QStringLiteral("RadioGroup5")), QStringLiteral("Ask me"));
}

TEST_F(PrintProgram, CancelledDialogWritesNothingAndProtocolPrintsIntoAPdf) {
    const ScriptRun run =
        RunScript(QStringLiteral("printdialog cancel\nclick Drucken1\n"
                                 "printdialog cancel\nclick Printprotocol1\n"
                                 "tab TabSheet4\n"
                                 "type Memo2 \"Disc 17 201.5 31.2\"\n"
                                 "printdialog ok \"%1\"\nclick Printprotocol1\n"
                                 // The typed protocol is unsaved: asked once at the end.
                                 "answer No\nquit\n")
                      .arg(pdf("protocol.pdf")));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("protocol.pdf")});
    const QString text = ymt::test::PdfText(pdf("protocol.pdf"));
    EXPECT_TRUE(text.contains(QStringLiteral("Disc 17"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("201.5")));
}

TEST_F(PrintProgram, NoPrinterAndAnUnwritableFileAreReportedNeverSilent) {
    const ScriptRun run = RunScript(QStringLiteral("printdialog ok\nanswer OK\nclick Drucken1\n"
                                                   "printdialog ok \"%1\"\nanswer OK\n"
                                                   "click Drucken1\n"
                                                   // "Print..." without a preferred printer.
                                                   "tab TabSheet9\ncheck CheckBox21 1\n"
                                                   "tab TabSheet3\nclick Button26\nquit\n")
                                        .arg(dir.filePath("missing-folder/out.pdf")));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    int errors = 0;
    for (const QString& line : run.lines)
        errors += line.startsWith(QStringLiteral("message error \"Error!"));
    EXPECT_EQ(errors, 2) << run.lines.join('\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing-folder")));
}

// The print dialog of an operator who picks a PDF file.
class PdfDialogs : public ymt::test::RecordingDialogs {
public:
    bool printDialog(QPrinter& printer) override {
        folderWhileOpen = QDir::currentPath();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    }
    QString path;
    QString folderWhileOpen;
};

TEST(PrintWindow, AFailedGermanPrintKeepsTheAxisTitleAndAGoodOneRestoresIt) {
    QTemporaryDir dir;
    ymt::test::WindowOnTempHome fixture;
    PdfDialogs dialogs;
    fixture.window->setDialogs(&dialogs);
    fixture.window->show();
    fixture.window->FormActivate();
    fixture.control<ymt::TRadioGroup>("RadioGroup5")->setItemIndex(1);
    const QString title = fixture.window->fastgraph1->XAxis.Title();

    dialogs.path = dir.filePath("no-such-folder/out.pdf");
    fixture.window->Drucken1Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, ymt::MessageKind::Error);
    EXPECT_EQ(fixture.window->fastgraph1->XAxis.Title(), title);

    dialogs.path = dir.filePath("out.pdf");
    fixture.window->Drucken1Click();
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.window->fastgraph1->XAxis.Title(), title);
    EXPECT_TRUE(ymt::test::PdfText(dialogs.path).contains(QStringLiteral("Frequenz [kHz]")));
    fixture.window->setDialogs(&fixture.dialogs);
}

// Qt's dialog proposes its PDF file in the current folder: the working directory while it is
// open, and the program's own current folder again afterwards.
TEST(PrintWindow, ThePrintDialogOpensInTheWorkingDirectory) {
    QTemporaryDir dir;
    ymt::test::WindowOnTempHome fixture;
    PdfDialogs dialogs;
    fixture.window->setDialogs(&dialogs);
    fixture.window->FormActivate();
    const QString before = QDir::currentPath();
    dialogs.path = dir.filePath("out.pdf");
    fixture.window->Drucken1Click();
    EXPECT_EQ(QDir(dialogs.folderWhileOpen).canonicalPath(),
              QDir(fixture.window->WorkDir).canonicalPath());
    EXPECT_NE(QDir(dialogs.folderWhileOpen).canonicalPath(), QDir(before).canonicalPath());
    EXPECT_EQ(QDir::currentPath(), before);
    fixture.window->setDialogs(&fixture.dialogs);
}

} // namespace
