// The protocol through the program: automatic result lines after Read New Spectrum in both
// protocolling modes, the crash copy, and a protocol that survives cancelled or failed saves
// and the exit. Loading is checked on a window in this process.
#include "tests/app/ConnectionTestSupport.h"
#include "tests/app/MainWindowTestSupport.h"
#include "tests/app/ScriptHomeSupport.h"

#include "instrument/simulated/SampleModel.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <cmath>

using namespace ymt::test;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The text followed by blanks up to the next multiple of n (a full n when it is one already).
QString padded(const QString& text, int n) {
    return text + QString(n - text.size() % n, QLatin1Char(' '));
}

double modelCapacitanceAt1kHz() {
    const ymt::ImpedancePolar z = ymt::SampleZTheta(ymt::DefaultSampleModel(), 1.0);
    return -1 / (std::sin(z.thetaDeg * kPi / 180) * 2 * kPi * 1000 * z.magnitudeOhm) * 1e9;
}

// The result line as the n-th state's labels give it.
QString expectedResultLine(const ScriptRun& run, int n, bool resonance) {
    auto label = [&](const char* key) {
        return resonance || QLatin1String(key) == QLatin1String("C") ||
                       QLatin1String(key) == QLatin1String("tand") ||
                       QLatin1String(key) == QLatin1String("eps")
                   ? run.value(QStringLiteral("label.") + QLatin1String(key), n)
                   : QStringLiteral("---");
    };
    const QString rs = resonance ? QString::number(run.number(QStringLiteral("ZMin"), n), 'f', 1)
                                 : QStringLiteral("---");
    return QStringList{QStringLiteral("S1"),      padded(label("fmin"), 11),
                       padded(label("fmax"), 11), padded(rs, 8),
                       padded(label("C"), 15),    padded(label("tand"), 10),
                       padded(label("eps"), 8),   padded(label("keff"), 9),
                       padded(label("kmode"), 7), padded(label("Q3dB"), 7),
                       padded(label("B3dB"), 7)}
        .join(QLatin1Char('\t'));
}

// The thickness mode (the stored coupling-factor type starts at k31).
const QString kMeasureAroundResonance = QStringLiteral("select ComboBox4 2\n"
                                                       "type Edit1 180\n"
                                                       "type Edit2 240\n"
                                                       "type Edit36 180\n"
                                                       "type Edit37 240\n"
                                                       "check CheckBox24 0\n"
                                                       "check CheckBox18 1\n"
                                                       "check CheckBox19 1\n"
                                                       "type Edit4 S1\n");

} // namespace

TEST(ProtocolProgram, ReadNewSpectrumWritesResultLinesInBothModesAndTheCrashCopy) {
    QTemporaryDir home;
    const ScriptRun run = RunScriptInHome(home.path(), kConnect + kMeasureAroundResonance +
                                                           QStringLiteral(R"(click Button6
state
show Memo2
select RadioGroup2 0
click Button6
state
show Memo2
answer No
quit
)"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    const QStringList first = ShownMemo(run, QStringLiteral("Memo2"), 0);
    ASSERT_EQ(first.size(), 7) << first.join('\n').toStdString();
    EXPECT_EQ(first[0], QStringLiteral(" "));
    EXPECT_EQ(first[1], QStringLiteral("Material         : "));
    EXPECT_EQ(first[2], QStringLiteral("Notes            : "));
    EXPECT_TRUE(first[3].startsWith(QStringLiteral("Date / Time "))) << first[3].toStdString();
    EXPECT_EQ(first[4], QStringLiteral("Sample  \tf(min)[kHz]\tf(max)[kHz]\tRs [Ohm]\t"
                                       "C(1.000kHz)[nF]\ttand [1e-4]\teps(rel)\tk(eff)[%]\t"
                                       "kt  [%]\tQ(3dB)\tB(3dB)"));
    EXPECT_EQ(first[5], QStringLiteral(" "));
    // "On C measurement": the evaluation after the capacitance measurement updates its line.
    EXPECT_EQ(first[6], expectedResultLine(run, 0, true));
    const QStringList fields = first[6].split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), 11);
    EXPECT_NEAR(fields[4].trimmed().toDouble(), modelCapacitanceAt1kHz(), 0.0006);
    EXPECT_NE(fields[1].trimmed(), QStringLiteral("---"));

    // "On any measurtement": one spectrum, one line, written once its results are complete.
    const QStringList second = ShownMemo(run, QStringLiteral("Memo2"), 1);
    ASSERT_EQ(second.size(), 8) << second.join('\n').toStdString();
    EXPECT_EQ(second.mid(0, 7), first);
    EXPECT_EQ(second[7], expectedResultLine(run, 1, true));

    EXPECT_EQ(FileLines(home.path() + QStringLiteral("/backup/protocol_before_crash.txt")), second);
}

TEST(ProtocolProgram, AModeChangeAddsItsLineUnderItsOwnTitle) {
    QTemporaryDir home;
    const ScriptRun run = RunScriptInHome(home.path(), kConnect + kMeasureAroundResonance +
                                                           QStringLiteral(R"(click Button6
state
select ComboBox4 0
state
show Memo2
answer No
quit
)"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    const QStringList protocol = ShownMemo(run, QStringLiteral("Memo2"));
    // The kt line stays under its title; the k31 value gets a title block of its own.
    ASSERT_EQ(protocol.size(), 11) << protocol.join('\n').toStdString();
    EXPECT_TRUE(protocol[4].contains(QStringLiteral("\tkt  [%]\t"))) << protocol[4].toStdString();
    EXPECT_EQ(protocol[6], expectedResultLine(run, 0, true));
    EXPECT_EQ(protocol.mid(7, 1), QStringList{QStringLiteral(" ")});
    EXPECT_TRUE(protocol[8].contains(QStringLiteral("\tk31 [%]\t"))) << protocol[8].toStdString();
    EXPECT_EQ(protocol[10], expectedResultLine(run, 1, true));
    EXPECT_NE(run.value(QStringLiteral("label.kmode"), 0),
              run.value(QStringLiteral("label.kmode"), 1));
}

TEST(ProtocolProgram, TypedProtocolSurvivesCancelledAndFailedSavesAndTheExit) {
    QTemporaryDir home;
    const ScriptRun run = RunScriptInHome(home.path(), QStringLiteral(R"(type Memo2 typed by hand
state
answer Yes
file cancel
click Button3
show Memo2
answer Yes
file /nonexistent-folder/sub/p.txt
answer OK
click Button3
show Memo2
answer Yes
file cancel
click Button5
show Memo2
state
answer No
click Beenden1
)"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_EQ(run.value(QStringLiteral("ProtocolChanged"), 0), QStringLiteral("1"));
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(ShownMemo(run, QStringLiteral("Memo2"), n),
                  QStringList{QStringLiteral("typed by hand")})
            << n;
    EXPECT_EQ(run.value(QStringLiteral("ProtocolChanged"), 1), QStringLiteral("1"));
    EXPECT_EQ(run.value(QStringLiteral("ProtocolFileName"), 1), QString());
    const QStringList messages = Messages(run);
    // Three for Clear and Load, one for Exit: its "No" holds for the rest of the shut-down.
    EXPECT_EQ(messages.filter(QStringLiteral("Save changes in protocol?")).size(), 4)
        << messages.join('\n').toStdString();
    EXPECT_EQ(messages.filter(QStringLiteral("message error")).size(), 1);

    // The shut-down's backup holds the typed protocol. Each Clear writes one too; backups are
    // named by the second, so on a slow run they are separate files: each holds what was typed.
    const QStringList backups =
        QDir(home.path() + QStringLiteral("/backup")).entryList({QStringLiteral("*_prt.txt")});
    ASSERT_GE(backups.size(), 1);
    ASSERT_LE(backups.size(), 3);
    for (const QString& backup : backups)
        EXPECT_EQ(FileLines(home.path() + QStringLiteral("/backup/") + backup),
                  QStringList{QStringLiteral("typed by hand")})
            << backup.toStdString();
}

TEST(Protocol, TextTypedByHandMakesExitAsk) {
    const SimulatorRun run = RunOnSimulator("type Memo2 \"notes by hand\"\nanswer No\n"
                                            "click Beenden1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList messages = run.linesStartingWith("message ");
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_EQ(messages[0], "message confirmation \"Save changes in protocol?\" -> No");
}

TEST(ProtocolWindow, ClearAfterASuccessfulSaveEmptiesAndResetsTheChangedFlag) {
    WindowOnTempHome w;
    auto* memo = w.control<QPlainTextEdit>("Memo2");
    w.window->Button1Click();
    const QStringList header = w.window->protocolLines();
    const QString path = w.home.filePath(QStringLiteral("p.txt"));
    w.dialogs.fileResult = {true, {path}, 1};
    w.dialogs.answers = {ymt::DialogButton::Yes};
    w.window->Button3Click();
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_FALSE(w.window->ProtocolChanged);
    EXPECT_EQ(w.window->ProtocolFileName, path);
    EXPECT_EQ(FileLines(path), header);
}

TEST(ProtocolWindow, LoadRefusesFoldersAndOversizedFilesAndKeepsItsFlags) {
    WindowOnTempHome w;
    auto* memo = w.control<QPlainTextEdit>("Memo2");
    const QString big = w.home.filePath(QStringLiteral("big.txt"));
    QFile file(big);
    file.open(QIODevice::WriteOnly);
    file.resize(16 * 1024 * 1024 + 1024); // one KiB above the limit
    file.close();
    for (const QString& path : {w.home.path(), big}) {
        w.dialogs.fileResult = {true, {path}, 1};
        w.dialogs.messages.clear();
        w.window->Button5Click();
        ASSERT_EQ(w.dialogs.messages.size(), 1u) << path.toStdString();
        EXPECT_EQ(w.dialogs.messages[0].kind, ymt::MessageKind::Error);
        EXPECT_TRUE(memo->toPlainText().isEmpty());
        EXPECT_FALSE(w.window->ProtocolChanged);
        EXPECT_TRUE(w.window->ProtocolFileName.isEmpty());
    }
    EXPECT_EQ(w.dialogs.messages[0].text, QStringLiteral("File is too large!"));
}

TEST(ProtocolWindow, LoadTakesProtocolsThisProgramWritesAndBinaryText) {
    WindowOnTempHome w;
    const QString path = w.home.filePath(QStringLiteral("day.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    // 40 KB of result lines (above the old 30 KB limit), then bytes no text editor writes.
    for (int i = 0; i < 1000; ++i)
        file.write("S1\t200.000    \t210.000    \t12.3    \t1.900          \r\n");
    file.write(QByteArray("x\0y\xff\x81z\r\n", 8));
    file.close();
    w.dialogs.fileResult = {true, {path}, 1};
    w.dialogs.answers = {ymt::DialogButton::No}; // "Add current header?"
    w.window->Button5Click();
    const QStringList lines = w.window->protocolLines();
    ASSERT_EQ(lines.size(), 1001);
    EXPECT_EQ(lines[0], QStringLiteral("S1\t200.000    \t210.000    \t12.3    \t1.900          "));
    EXPECT_EQ(lines[1000].size(), 6);
    EXPECT_EQ(lines[1000][1], QLatin1Char(' ')) << "a NUL byte becomes a blank";
    EXPECT_TRUE(w.window->ProtocolChanged);
    EXPECT_EQ(w.window->ProtocolFileName, path);
}

TEST(ProtocolWindow, AfterClearTheNextResultLineIsAppendedBelowTheNewHeader) {
    WindowOnTempHome w;
    w.window->Results.CapNF = 1.9;
    w.window->Button2Click(); // "On C measurement" is the start-up mode
    w.dialogs.answers = {ymt::DialogButton::No};
    w.window->Button3Click();
    EXPECT_FALSE(w.window->ProtocolChanged) << "nothing unsaved is left after Clear";
    w.window->Button2Click(); // the same capacitance again
    const QStringList lines = w.window->protocolLines();
    ASSERT_EQ(lines.size(), 7) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[5], QStringLiteral(" "));
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("\t---")));
}

TEST(ProtocolWindow, OnCMeasurementKeepsALineTheOperatorChanged) {
    WindowOnTempHome w;
    w.window->Results.CapNF = 1.9;
    w.window->Button2Click();
    QStringList lines = w.window->protocolLines();
    lines.last() += QStringLiteral(" cracked");
    w.control<QPlainTextEdit>("Memo2")->setPlainText(lines.join('\n'));
    w.window->Button2Click();
    const QStringList after = w.window->protocolLines();
    ASSERT_EQ(after.size(), lines.size() + 1);
    EXPECT_EQ(after[after.size() - 2], lines.last());
}

TEST(ProtocolWindow, SavedFilesNameTheTypedCharactersCodePage1252Lacks) {
    WindowOnTempHome w;
    w.control<QLineEdit>("Edit4")->setText(QString::fromUtf8("Łódź 😀 €"));
    w.control<QPlainTextEdit>("Memo2")->setPlainText(QString::fromUtf8("Łódź 😀 € ?"));
    w.dialogs.fileResult = {true, {w.home.filePath(QStringLiteral("s.txt"))}, 1};
    w.window->Speichern1Click();
    w.dialogs.fileResult = {true, {w.home.filePath(QStringLiteral("p.txt"))}, 1};
    w.window->Button4Click();
    ASSERT_EQ(w.dialogs.messages.size(), 2u);
    for (const ymt::test::ShownMessage& message : w.dialogs.messages) {
        EXPECT_EQ(message.kind, ymt::MessageKind::Warning);
        // "ó" and "€" are in the code page, a typed "?" is no loss.
        EXPECT_TRUE(message.text.contains(QString::fromUtf8("has no Ł ź 😀;")))
            << message.text.toStdString();
    }
    EXPECT_EQ(FileLines(w.home.filePath(QStringLiteral("p.txt"))),
              QStringList{QString::fromUtf8("?ód? ?? € ?")});
}
