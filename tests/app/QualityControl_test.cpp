// Quality control through the program: types added, replaced, deleted and taken from the current
// sample, the verdicts with their colours after a measurement, the popup, and "QC.txt" with its
// history in the backup folder.
#include "tests/app/MainWindowTestSupport.h"
#include "tests/app/ScriptHomeSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ymt::test;

namespace {

const QString kGreen = QStringLiteral("0x007000"), kRed = QStringLiteral("0x0000C0"),
              kBlack = QStringLiteral("0x000000");

const QString kMeasure = QStringLiteral("type Edit1 180\n"
                                        "type Edit2 240\n"
                                        "type Edit36 180\n"
                                        "type Edit37 240\n"
                                        "check CheckBox24 0\n"
                                        "check CheckBox18 1\n"
                                        "type Edit4 S1\n"
                                        "click Button6\n");

// The record of a type in the lines of "QC.txt": its 13 lines, or none.
QStringList recordOf(const QStringList& lines, const QString& name) {
    const qsizetype at = lines.indexOf(name, 1);
    return at < 0 ? QStringList() : lines.mid(at, 13);
}

} // namespace

TEST(QualityControlProgram, TypesVerdictsAndTheirFile) {
    QTemporaryDir home;
    const ScriptRun run = RunScriptInHome(home.path(), kConnect + kMeasure + QStringLiteral(R"(state
type ComboBox2 TypeA
type Edit21 1.9
type Edit22 0.1
check CheckBox20 1
answer OK
click Button22
state
answer OK
type Edit21 3
state
type ComboBox2 TypeB
answer OK
answer OK
click Button22
select ComboBox2 1
show Edit21
type Edit21 1.9
type Edit43 0.0004
type Edit44 1
answer OK
answer OK
click Button22
state
answer OK
click Button23
state
answer OK
select ComboBox2 2
answer OK
click Button24
show ComboBox2
select ComboBox2 2
show ComboBox2
state
answer Yes
click DeletePoints1
state
quit
)"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    const QStringList messages = Messages(run);
    const QStringList expectedMessages{
        QStringLiteral("message information \"TypeA added.\" -> OK"),
        QStringLiteral(
            "message warning \"Quality Test failed for the sampletype: TypeA ! (C)\" -> OK"),
        QStringLiteral("message information \"TypeB added.\" -> OK"),
        QStringLiteral(
            "message warning \"Quality Test failed for the sampletype: TypeB ! (C)\" -> OK"),
        QStringLiteral("message warning \"TypeA already exists. Replace?\" -> OK"),
        QStringLiteral("message information \"TypeA added.\" -> OK"),
        QStringLiteral("message information \"S1 added.\" -> OK"),
        QStringLiteral(
            "message warning \"Quality Test failed for the sampletype: TypeB ! (C)\" -> OK"),
        QStringLiteral("message warning \"Delete type: TypeB ?\" -> OK"),
        QStringLiteral("message warning \"Do you really want to delete all points?\" -> Yes"),
    };
    // Connect's two compensation boxes come first. A type that passes everything it checks
    // raises no popup, and neither does the replaced TypeA (C inside, f(min) at 0.000 unchecked).
    EXPECT_EQ(messages.mid(2), expectedMessages) << messages.join('\n').toStdString();

    // Before any type: "---" in black.
    EXPECT_EQ(run.value(QStringLiteral("qc.C"), 0), QStringLiteral("---"));
    EXPECT_EQ(run.value(QStringLiteral("qccolor.C"), 0), kBlack);
    // TypeA checks only C (1.9 +/- 0.1) against C = 1.900 nF.
    EXPECT_EQ(run.value(QStringLiteral("qc.C"), 1), QStringLiteral("OK"));
    EXPECT_EQ(run.value(QStringLiteral("qccolor.C"), 1), kGreen);
    for (const char* key : {"tand", "keff", "k", "fmin"}) {
        EXPECT_EQ(run.value(QStringLiteral("qc.") + QLatin1String(key), 1), QStringLiteral("---"));
        EXPECT_EQ(run.value(QStringLiteral("qccolor.") + QLatin1String(key), 1), kBlack);
    }
    EXPECT_EQ(run.value(QStringLiteral("qc.C"), 2), QStringLiteral("DEFECT"));
    EXPECT_EQ(run.value(QStringLiteral("qccolor.C"), 2), kRed);
    // TypeA was stored with 1.9; the 3 typed afterwards was never added.
    EXPECT_EQ(run.value(QStringLiteral("Edit21")), QStringLiteral("    1.900"));
    // A reference typed 0.0004 shows as 0.000 and is therefore not checked.
    EXPECT_EQ(run.value(QStringLiteral("qc.fmin"), 3), QStringLiteral("---"));
    EXPECT_EQ(run.value(QStringLiteral("qc.C"), 3), QStringLiteral("OK"));

    // Current sample data: every quantity within +/-10 % of itself.
    for (const char* key : {"C", "tand", "keff", "k", "fmin"})
        EXPECT_EQ(run.value(QStringLiteral("qc.") + QLatin1String(key), 4), QStringLiteral("OK"))
            << key;

    // After deleting TypeB (item 2) the list holds none, TypeA, S1; "none" is selected.
    EXPECT_EQ(run.value(QStringLiteral("ComboBox2"), 0), QStringLiteral("none"));
    EXPECT_EQ(run.value(QStringLiteral("ComboBox2"), 1), QStringLiteral("S1"));
    EXPECT_EQ(run.value(QStringLiteral("qc.C"), 5), QStringLiteral("OK"));
    EXPECT_EQ(run.value(QStringLiteral("qccolor.C"), 5), kGreen);
    // Deleting the points clears the verdicts: "---" carries no verdict colour.
    EXPECT_EQ(run.value(QStringLiteral("qc.C"), 6), QStringLiteral("---"));
    EXPECT_EQ(run.value(QStringLiteral("qccolor.C"), 6), kBlack);

    const QStringList file = FileLines(home.path() + QStringLiteral("/QC.txt"));
    EXPECT_EQ(file.value(0), QStringLiteral("Zelvanor Ymt 2.4.5 Quality Control File"));
    ASSERT_EQ(file.size(), 1 + 2 * 13) << file.join('\n').toStdString();
    // Replacing kept TypeA in its place, before the type added after it.
    EXPECT_EQ(file[1], QStringLiteral("TypeA"));
    EXPECT_EQ(recordOf(file, QStringLiteral("TypeA")),
              (QStringList{QStringLiteral("TypeA"), QStringLiteral("    1.900"),
                           QStringLiteral("    0.100"), QStringLiteral("0.0"),
                           QStringLiteral("0.0"), QStringLiteral("0.0"), QStringLiteral("0.0"),
                           QString(), QStringLiteral("0.000"), QStringLiteral("1.000"),
                           QStringLiteral("0.0"), QStringLiteral("0.0"), QStringLiteral("****")}));
    const double cap = run.number(QStringLiteral("CapNF"));
    const double fMin = run.number(QStringLiteral("FMin"));
    const double kEff = run.number(QStringLiteral("KEff"));
    const QStringList s1 = recordOf(file, QStringLiteral("S1"));
    ASSERT_EQ(s1.size(), 13);
    EXPECT_EQ(s1[1], QString::number(cap, 'f', 3));
    EXPECT_EQ(s1[2], QString::number(cap / 10, 'f', 6));
    EXPECT_EQ(s1[5], QString::number(kEff, 'f', 1));
    EXPECT_EQ(s1[6], QString::number(kEff / 10, 'f', 1));
    EXPECT_EQ(s1[8], QString::number(fMin, 'f', 3));
    EXPECT_EQ(s1[9], QString::number(fMin / 10, 'f', 6));

    // Five rewrites, most within the same second: each left its own copy of the file before it.
    const QStringList history =
        QDir(home.path() + QStringLiteral("/backup")).entryList({QStringLiteral("QC_*.txt")});
    EXPECT_EQ(history.size(), 5) << history.join(' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/QC_backup.txt")));
}

TEST(QualityControlProgram, ReadNewSpectrumChecksOnceOnTheCompleteResults) {
    QTemporaryDir home;
    // A type from this sample's own results; then the popup, the protocol "On any measurtement"
    // and the same sample read again; then a k(eff) reference it cannot meet.
    const ScriptRun run =
        RunScriptInHome(home.path(), kConnect + kMeasure + QStringLiteral(R"(answer OK
click Button23
check CheckBox20 1
check CheckBox19 1
select RadioGroup2 0
click Button6
state
show Memo2
answer OK
type Edit20 99
answer OK
click Button6
state
answer No
quit
)"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    for (const char* key : {"C", "tand", "keff", "k", "fmin"})
        EXPECT_EQ(run.value(QStringLiteral("qc.") + QLatin1String(key), 0), QStringLiteral("OK"))
            << key;
    // Header block and one result line for the one spectrum.
    const QStringList protocol = ShownMemo(run, QStringLiteral("Memo2"));
    ASSERT_EQ(protocol.size(), 7) << protocol.join('\n').toStdString();
    const QStringList fields = protocol[6].split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), 11);
    for (int field : {1, 4, 7}) // f(min), C, k(eff)
        EXPECT_NE(fields[field].trimmed(), QStringLiteral("---")) << field;
    // The passing sample raised no box; the failing one names what failed, once per check.
    const QString failed = QStringLiteral(
        "message warning \"Quality Test failed for the sampletype: S1 ! (k(eff))\" -> OK");
    EXPECT_EQ(Messages(run).mid(2, 3), QStringList({QStringLiteral("message information \"S1 "
                                                                   "added.\" -> OK"),
                                                    failed, failed}))
        << Messages(run).join('\n').toStdString();
    EXPECT_EQ(run.value(QStringLiteral("qc.keff"), 1), QStringLiteral("DEFECT"));
    EXPECT_EQ(run.value(QStringLiteral("qc.C"), 1), QStringLiteral("OK"));
}

TEST(QualityControlWindow, NamesThatCannotNameATypeAreRefusedAndNothingIsWritten) {
    WindowOnTempHome w;
    w.window->FormActivate();
    auto* list = w.control<QComboBox>("ComboBox2");
    for (const QString& name :
         {QString(), QStringLiteral("None"), QStringLiteral("NONE"), QStringLiteral("****")}) {
        list->setEditText(name);
        w.dialogs.messages.clear();
        w.window->Button22Click();
        ASSERT_EQ(w.dialogs.messages.size(), 1u);
        EXPECT_EQ(w.dialogs.messages[0].text, QStringLiteral("Type name 'none' invalid."));
    }
    // The file would hold "A ?", as it would for "A ń": two types, one record found.
    list->setEditText(QString::fromUtf8("A ł"));
    w.dialogs.messages.clear();
    w.window->Button22Click();
    ASSERT_EQ(w.dialogs.messages.size(), 1u);
    EXPECT_TRUE(w.dialogs.messages[0].text.contains(QString::fromUtf8("has no ł;")));
    EXPECT_EQ(FileLines(w.dirs.programDir + QStringLiteral("QC.txt")).size(), 1);
    EXPECT_EQ(list->count(), 1);
}

TEST(QualityControlWindow, OddNamesAndManyTypesRoundTrip) {
    WindowOnTempHome w;
    // 10,000 types in the file, the last with blanks, "|", ";" and a tab in a 300-character name.
    QStringList lines{QStringLiteral("Zelvanor Ymt 2.4.5 Quality Control File")};
    const QString odd = QStringLiteral(" a|b;c\td ") + QString(291, QLatin1Char('x'));
    for (int i = 0; i < 10000; ++i) {
        lines << (i == 9999 ? odd : QStringLiteral("T%1").arg(i)) << QStringLiteral("%1").arg(i);
        for (int k = 0; k < 10; ++k)
            lines << QStringLiteral("0.0");
        lines << QStringLiteral("****");
    }
    ASSERT_TRUE(ymt::WriteTextFile(w.dirs.programDir + QStringLiteral("QC.txt"), lines));
    w.window->FormActivate();
    auto* list = w.control<QComboBox>("ComboBox2");
    ASSERT_EQ(list->count(), 10001);
    list->setCurrentIndex(10000);
    w.window->ComboBox2Change();
    EXPECT_EQ(list->currentText(), odd);
    EXPECT_EQ(w.control<QLineEdit>("Edit21")->text(), QStringLiteral("9999"));
    EXPECT_EQ(w.window->QcLimits[0].Reference, 9999);

    w.dialogs.answers = {ymt::DialogButton::OK, ymt::DialogButton::OK};
    w.window->Button24Click();
    EXPECT_EQ(list->count(), 10000);
    const QStringList after = FileLines(w.dirs.programDir + QStringLiteral("QC.txt"));
    EXPECT_EQ(after, lines.mid(0, 1 + 9999 * 13));
}

namespace {

// A window whose "QC.txt" holds one type "T" checking f(min) = 200 +/- 10 kHz, selected, with the
// popup switched on.
struct WindowWithFMinType : WindowOnTempHome {
    WindowWithFMinType() {
        QStringList lines{QStringLiteral("Zelvanor Ymt 2.4.5 Quality Control File"),
                          QStringLiteral("T")};
        for (int k = 0; k < 7; ++k)
            lines << QStringLiteral("0.0");
        lines << QStringLiteral("200.000") << QStringLiteral("10.000") << QStringLiteral("0.0")
              << QStringLiteral("0.0") << QStringLiteral("****");
        ymt::WriteTextFile(dirs.programDir + QStringLiteral("QC.txt"), lines);
        window->FormActivate();
        control<QCheckBox>("CheckBox20")->setChecked(true);
        control<QComboBox>("ComboBox2")->setCurrentIndex(1);
        window->ComboBox2Change();
        dialogs.messages.clear();
    }
};

} // namespace

TEST(QualityControlWindow, AResultShownAsDashesIsNotTheStaleValue) {
    WindowWithFMinType w;
    w.window->Results.FMin = 200; // left from an earlier spectrum; the label shows "---"
    w.window->qcontrol();
    EXPECT_EQ(w.control<QLabel>("Label65")->text(), QStringLiteral("DEFECT"));
}

TEST(QualityControlWindow, NoPopupWhileTheRepeatMeasurementRuns) {
    WindowWithFMinType w;
    auto* timer = w.window->findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    timer->start(60000);
    w.window->qcontrol();
    EXPECT_TRUE(w.dialogs.messages.empty());
    EXPECT_EQ(w.control<QLabel>("Label65")->text(), QStringLiteral("DEFECT"));
    timer->stop();
    w.window->qcontrol();
    ASSERT_EQ(w.dialogs.messages.size(), 1u);
    EXPECT_EQ(w.dialogs.messages[0].text,
              QStringLiteral("Quality Test failed for the sampletype: T ! (f(min))"));
}

TEST(QualityControlWindow, AFailedRewriteLeavesTheListAndTheFile) {
    WindowOnTempHome w;
    w.window->FormActivate();
    // A file stands where the backup folder should be: the old QC.txt cannot be kept.
    ASSERT_TRUE(ymt::WriteTextFile(w.home.filePath(QStringLiteral("blocked")), {}));
    w.window->BackupDir = w.home.filePath(QStringLiteral("blocked/"));
    auto* list = w.control<QComboBox>("ComboBox2");
    list->setEditText(QStringLiteral("TypeA"));
    w.window->Button22Click();
    ASSERT_EQ(w.dialogs.messages.size(), 1u);
    EXPECT_EQ(w.dialogs.messages[0].kind, ymt::MessageKind::Error);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(FileLines(w.dirs.programDir + QStringLiteral("QC.txt")).size(), 1);
    EXPECT_FALSE(QFileInfo::exists(w.dirs.programDir + QStringLiteral("QC_backup.txt")));
}
