// Reading of script lines: words, quotes and escapes, TEXT arguments, comments, line numbers,
// and the malformed lines that must be refused with their line number.
#include "app/automation/ScriptParser.h"

#include <gtest/gtest.h>

namespace ymt {
namespace {

ScriptStep onlyStep(const QString& script) {
    const ParsedScript parsed = ParseScript(script);
    EXPECT_FALSE(parsed.error.has_value())
        << (parsed.error ? parsed.error->message.toStdString() : std::string());
    EXPECT_EQ(parsed.steps.size(), 1);
    return parsed.steps.value(0);
}

ScriptParseError errorOf(const QString& script) {
    const ParsedScript parsed = ParseScript(script);
    EXPECT_TRUE(parsed.error.has_value()) << script.toStdString();
    EXPECT_TRUE(parsed.steps.isEmpty());
    return parsed.error.value_or(ScriptParseError{});
}

TEST(ScriptWords, QuotedWordsKeepBlanksAndUnescapeQuoteAndBackslash) {
    QList<ScriptWord> words;
    ASSERT_FALSE(SplitScriptLine(R"(file  "my file.txt"	"say \"hi\"" "a\\b" plain)", words));
    ASSERT_EQ(words.size(), 5);
    EXPECT_EQ(words[1].text, QStringLiteral("my file.txt"));
    EXPECT_TRUE(words[1].quoted);
    EXPECT_EQ(words[2].text, QStringLiteral("say \"hi\""));
    EXPECT_EQ(words[3].text, QStringLiteral("a\\b"));
    EXPECT_EQ(words[4].text, QStringLiteral("plain"));
    EXPECT_FALSE(words[4].quoted);
}

TEST(ScriptWords, OtherBackslashesStayAsTheyAre) {
    QList<ScriptWord> words;
    ASSERT_FALSE(SplitScriptLine(R"(file "C:\meas\new")", words));
    EXPECT_EQ(words[1].text, QStringLiteral("C:\\meas\\new"));
}

TEST(ScriptWords, EmptyQuotedWordIsAWord) {
    QList<ScriptWord> words;
    ASSERT_FALSE(SplitScriptLine(R"(type Edit1 "")", words, 2));
    ASSERT_EQ(words.size(), 3);
    EXPECT_TRUE(words[2].text.isEmpty());
}

TEST(ScriptWords, UnterminatedQuoteAndGluedTextAreErrors) {
    QList<ScriptWord> words;
    EXPECT_TRUE(SplitScriptLine(R"(file "open)", words));
    EXPECT_TRUE(SplitScriptLine(R"(file "a"b)", words));
    EXPECT_TRUE(SplitScriptLine(R"(file "a\")", words)); // the escaped quote does not close
}

TEST(ScriptText, RestOfLineKeepsInnerBlanksAndDropsTrailingOnes) {
    const ScriptStep step = onlyStep(QStringLiteral("type  Edit3   PZT  disc 1   \r\n"));
    EXPECT_EQ(step.kind, StepKind::Type);
    EXPECT_EQ(step.name, QStringLiteral("Edit3"));
    EXPECT_EQ(step.text, QStringLiteral("PZT  disc 1"));
}

TEST(ScriptText, QuotedTextKeepsLeadingAndTrailingBlanks) {
    const ScriptStep step = onlyStep(QStringLiteral("expect TForm1 \"Zelvanor Ymt 2.4.5 \""));
    EXPECT_EQ(step.kind, StepKind::Expect);
    EXPECT_EQ(step.text, QStringLiteral("Zelvanor Ymt 2.4.5 "));
    EXPECT_EQ(onlyStep(QStringLiteral("expect Label1 \"  0.5\"")).text, QStringLiteral("  0.5"));
}

TEST(ScriptText, UnquotedTextMayHoldQuotesAndHashes) {
    EXPECT_EQ(onlyStep(QStringLiteral("type Edit1 a \"b\" #1")).text, QStringLiteral("a \"b\" #1"));
}

TEST(ScriptText, QuotedTextFollowedByMoreWordsIsAnError) {
    EXPECT_EQ(errorOf(QStringLiteral("expect Edit1 \"a\" b")).line, 1);
}

TEST(ScriptText, MissingTextMeansEmptyText) {
    const ScriptStep step = onlyStep(QStringLiteral("expect Edit1"));
    EXPECT_EQ(step.name, QStringLiteral("Edit1"));
    EXPECT_TRUE(step.text.isEmpty());
}

TEST(ScriptLines, CommentsAndBlankLinesAreSkippedButCounted) {
    const ParsedScript parsed = ParseScript(
        QStringLiteral("# set-up\n\n   \t\n  # indented comment\nclick Button6\r\n\ntick\nquit"));
    ASSERT_FALSE(parsed.error);
    ASSERT_EQ(parsed.steps.size(), 3);
    EXPECT_EQ(parsed.steps[0].line, 5);
    EXPECT_EQ(parsed.steps[1].line, 7);
    EXPECT_EQ(parsed.steps[1].kind, StepKind::Tick);
    EXPECT_EQ(parsed.steps[2].line, 8);
    EXPECT_EQ(parsed.steps[2].kind, StepKind::Quit);
}

TEST(ScriptLines, FirstMalformedLineIsReportedWithItsNumber) {
    const ScriptParseError error =
        errorOf(QStringLiteral("click Button6\n# note\njump Button7\nfrobnicate\n"));
    EXPECT_EQ(error.line, 3);
    EXPECT_TRUE(error.message.contains(QStringLiteral("jump")));
}

TEST(ScriptLines, StepAfterQuitIsRefusedWithItsLine) {
    const ScriptParseError error =
        errorOf(QStringLiteral("click Button6\nquit\n# a comment may follow\n\nanswer OK\n"));
    EXPECT_EQ(error.line, 5);
    EXPECT_TRUE(error.message.contains(QStringLiteral("line 2"))) << error.message.toStdString();
}

TEST(ScriptLines, StepNamesAreLowerCaseAndNeverQuoted) {
    EXPECT_EQ(errorOf(QStringLiteral("Click Button6")).line, 1);
    EXPECT_EQ(errorOf(QStringLiteral("\"click\" Button6")).line, 1);
}

TEST(ScriptArguments, WrongArgumentCountsAndValuesAreErrors) {
    for (const char* line : {"click",
                             "click A B",
                             "check A 2",
                             "check A yes",
                             "select A -1",
                             "select A x",
                             "tab",
                             "state now",
                             "quit please",
                             "tick later",
                             "tick box wait",
                             "wait -5",
                             "wait",
                             "curve fastgraph1",
                             "picture fastgraph1",
                             "picture fastgraph1 a.png b.png",
                             "mouse P press left 1",
                             "mouse P down both 1",
                             "mouse P down left x",
                             "mouse P down left 1 2 3",
                             "answer Maybe",
                             "file",
                             "file #2",
                             "file a #0",
                             "color 0x1000000",
                             "color red",
                             "printdialog yes",
                             "printdialog cancel out.pdf",
                             "printdialog ok a.pdf b.pdf",
                             "type",
                             "show"}) {
        const ParsedScript parsed = ParseScript(QString::fromUtf8(line));
        EXPECT_TRUE(parsed.error.has_value()) << line;
    }
}

TEST(ScriptArguments, NumbersAndChoicesAreRead) {
    EXPECT_EQ(onlyStep(QStringLiteral("check CheckBox3 1")).number, 1);
    EXPECT_EQ(onlyStep(QStringLiteral("select ComboBox1 12")).number, 12);
    EXPECT_EQ(onlyStep(QStringLiteral("curve qgraph 25")).number, 25);
    EXPECT_EQ(onlyStep(QStringLiteral("wait 1500")).number, 1500);
    EXPECT_EQ(onlyStep(QStringLiteral("tick")).tickMoment, TickMoment::Now);
    EXPECT_EQ(onlyStep(QStringLiteral("tick box")).tickMoment, TickMoment::NextBox);
    EXPECT_EQ(onlyStep(QStringLiteral("tick wait")).tickMoment, TickMoment::NextWait);

    const ScriptStep mouse = onlyStep(QStringLiteral("mouse fastgraph1 up right -3 17"));
    EXPECT_EQ(mouse.mouseAction, MouseAction::Up);
    EXPECT_EQ(mouse.mouseButton, MouseButtonName::Right);
    EXPECT_EQ(mouse.number, -3);
    EXPECT_EQ(mouse.y, 17);
    EXPECT_FALSE(onlyStep(QStringLiteral("mouse fastgraph1 move none 4")).y.has_value());
}

TEST(ScriptArguments, AnswersAreCaseInsensitive) {
    EXPECT_EQ(onlyStep(QStringLiteral("answer yes")).button, DialogButton::Yes);
    EXPECT_EQ(onlyStep(QStringLiteral("answer IGNORE")).button, DialogButton::Ignore);
    EXPECT_EQ(onlyStep(QStringLiteral("answer Abort")).button, DialogButton::Abort);
    EXPECT_EQ(ButtonName(DialogButton::Cancel), QStringLiteral("Cancel"));
}

TEST(ScriptArguments, FileTakesSeveralPathsAndAFileType) {
    const ScriptStep step = onlyStep(QStringLiteral("file a.txt \"b c.txt\" #3"));
    EXPECT_EQ(step.paths, QStringList({"a.txt", "b c.txt"}));
    EXPECT_EQ(step.filterIndex, 3);
    EXPECT_FALSE(step.cancel);
    EXPECT_EQ(onlyStep(QStringLiteral("file x.dia")).filterIndex, 1);
}

TEST(ScriptArguments, QuotedCancelOrHashIsAPath) {
    EXPECT_TRUE(onlyStep(QStringLiteral("file cancel")).cancel);
    const ScriptStep cancelFile = onlyStep(QStringLiteral("file \"cancel\""));
    EXPECT_FALSE(cancelFile.cancel);
    EXPECT_EQ(cancelFile.paths, QStringList{"cancel"});
    EXPECT_EQ(onlyStep(QStringLiteral("file a \"#2\"")).paths, QStringList({"a", "#2"}));
}

TEST(ScriptArguments, ColorInBlueGreenRedOrder) {
    EXPECT_EQ(onlyStep(QStringLiteral("color 0x0000FF")).color, 0x0000FFu);
    EXPECT_EQ(onlyStep(QStringLiteral("color 0xff0000")).color, 0xFF0000u);
    EXPECT_TRUE(onlyStep(QStringLiteral("color cancel")).cancel);
    EXPECT_TRUE(onlyStep(QStringLiteral("printdialog cancel")).cancel);
    EXPECT_FALSE(onlyStep(QStringLiteral("printdialog ok")).cancel);
    EXPECT_TRUE(onlyStep(QStringLiteral("printdialog ok")).paths.isEmpty());
    const ScriptStep pdf = onlyStep(QStringLiteral("printdialog ok \"my page.pdf\""));
    EXPECT_FALSE(pdf.cancel);
    EXPECT_EQ(pdf.paths, QStringList{QStringLiteral("my page.pdf")});
}

} // namespace
} // namespace ymt
