// The script driver end to end against a small window: exit codes, the message log, queued
// answers, unusable controls, leave handlers on Enter, and malformed lines.
#include "app/automation/ScriptDriver.h"

#include "app/automation/ScriptParser.h"

#include "core/Clock.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "plot/FastGraph.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

namespace ymt {
namespace {

// A window in the style of the program's main window, small enough to reason about.
class TestWindow : public QMainWindow, public ScriptTarget {
public:
    bool startupBox = false;
    bool askOnClose = false;
    bool foreignBox = false;
    int exitHandlerRuns = 0;
    int checkBoxClicks = 0;
    int comboChanges = 0;
    // Called from the destructor, while the counters are still alive.
    std::function<void(const TestWindow&)> onDestroy;
    int activations = 0;
    int ticks = 0;
    QString lastMouse;

    ~TestWindow() override {
        if (onDestroy)
            onDestroy(*this);
    }
    TestWindow() {
        setObjectName(QStringLiteral("TForm1"));
        setWindowTitle(QStringLiteral("Zelvanor Ymt 2.4.5 "));
        auto* tabs = new QTabWidget(this);
        tabs->setObjectName(QStringLiteral("PageControl1"));
        setCentralWidget(tabs);

        auto* hardware = new QWidget;
        hardware->setObjectName(QStringLiteral("TabSheet1"));
        auto* hardwareLayout = new QVBoxLayout(hardware);
        edit14 = addWidget<QLineEdit>(hardwareLayout, "Edit14");
        edit14->setText(QStringLiteral("0.500"));
        edit14->setToolTip(QStringLiteral("Oscillator level"));
        hidden = addWidget<QLineEdit>(hardwareLayout, "Edit15");
        hidden->hide();
        auto* read = addWidget<QPushButton>(hardwareLayout, "Button6");
        read->setText(QStringLiteral("Read New Spectrum"));
        connect(read, &QPushButton::clicked, this, [this] { readSpectrum(); });
        auto* disabled = addWidget<QPushButton>(hardwareLayout, "Button7");
        disabled->setEnabled(false);
        auto* ask = addWidget<QPushButton>(hardwareLayout, "Button8");
        connect(ask, &QPushButton::clicked, this, [this] { askQuestion(); });
        auto* checkBox = addWidget<QCheckBox>(hardwareLayout, "CheckBox1");
        checkBox->setText(QStringLiteral("Show Points"));
        connect(checkBox, &QCheckBox::clicked, this, [this] { ++checkBoxClicks; });
        combo = addWidget<QComboBox>(hardwareLayout, "ComboBox1");
        combo->addItems({"|Z| - theta", "R - X", "G - B"});
        connect(combo, &QComboBox::activated, this, [this] { ++comboChanges; });
        auto* answer = addWidget<QLabel>(hardwareLayout, "Label1");
        answerLabel = answer;
        auto* memo = addWidget<QPlainTextEdit>(hardwareLayout, "Memo1");
        memo->setReadOnly(true);
        memo->setPlainText(QStringLiteral("first line\nsecond  line"));
        auto* radios = addWidget<QGroupBox>(hardwareLayout, "RadioGroup1");
        radios->setTitle(QStringLiteral("Language"));
        auto* radioLayout = new QVBoxLayout(radios);
        for (const char* caption : {"English", "German"})
            radioLayout->addWidget(new QRadioButton(QString::fromUtf8(caption)));
        graph = addWidget<TFastGraph>(hardwareLayout, "fastgraph1");
        graph->setTitle(QStringLiteral("Coupling Factor"));
        graph->setMinimumSize(200, 100);
        graph->installEventFilter(&mouseRecorder);
        mouseRecorder.window = this;
        tabs->addTab(hardware, QStringLiteral("Hardware"));

        auto* options = new QWidget;
        options->setObjectName(QStringLiteral("TabSheet7"));
        auto* optionsLayout = new QVBoxLayout(options);
        edit31 = addWidget<QLineEdit>(optionsLayout, "Edit31");
        edit31->setText(QStringLiteral("/home/lab/meas"));
        auto* hiddenGroup = addWidget<QGroupBox>(optionsLayout, "GroupBox5");
        auto* printerButton = new QPushButton(hiddenGroup);
        printerButton->setObjectName(QStringLiteral("Button30"));
        hiddenGroup->hide();
        tabs->addTab(options, QStringLiteral("Options"));

        auto* file = menuBar()->addMenu(QStringLiteral("File"));
        QAction* exit = file->addAction(QStringLiteral("Exit"));
        exit->setObjectName(QStringLiteral("Beenden1"));
        connect(exit, &QAction::triggered, this, &QWidget::close);
        QAction* about = menuBar()->addAction(QStringLiteral("About"));
        about->setObjectName(QStringLiteral("Hilfe1"));
        about->setEnabled(false);
    }

    QWidget* rootWidget() override { return this; }
    bool runExitHandler(QWidget* field) override {
        if (field == edit14) {
            ++exitHandlerRuns;
            edit14->setText(FixedText(ParseNumber(edit14->text()), 1, 3));
            return true;
        }
        if (field == edit31) {
            ++exitHandlerRuns;
            if (!edit31->text().endsWith(QLatin1Char('/')))
                edit31->setText(edit31->text() + QLatin1Char('/'));
            return true;
        }
        return false;
    }
    QString runTimerTick() override {
        ++ticks;
        return {};
    }
    QStringList stateLines() override {
        return {QStringLiteral("ExitHandlerRuns=%1").arg(exitHandlerRuns),
                QStringLiteral("Ticks=%1").arg(ticks),
                QStringLiteral("Activations=%1").arg(activations),
                QStringLiteral("LastMouse=%1").arg(lastMouse)};
    }
    void setDialogs(DialogInterface* d) override { dialogs = d; }

    DialogInterface* dialogs = nullptr;
    TFastGraph* graph = nullptr;

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange && isActiveWindow() && activations++ == 0 &&
            startupBox)
            dialogs->showMessage(MessageKind::Error, QStringLiteral("QC.txt: Permission denied"),
                                 ButtonSet::OK);
        QMainWindow::changeEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (askOnClose) {
            const DialogButton answer =
                dialogs->showMessage(MessageKind::Confirmation,
                                     QStringLiteral("Save changes in protocol?"), ButtonSet::YesNo);
            answerLabel->setText(ButtonName(answer));
        }
        event->accept();
    }

private:
    struct MouseRecorder : QObject {
        TestWindow* window = nullptr;
        bool eventFilter(QObject*, QEvent* event) override {
            const char* kind = event->type() == QEvent::MouseButtonPress     ? "down"
                               : event->type() == QEvent::MouseButtonRelease ? "up"
                               : event->type() == QEvent::MouseMove          ? "move"
                                                                             : nullptr;
            if (kind) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                window->lastMouse = QStringLiteral("%1 %2,%3 button=%4 held=%5")
                                        .arg(QLatin1String(kind))
                                        .arg(mouse->position().x())
                                        .arg(mouse->position().y())
                                        .arg(int(mouse->button()))
                                        .arg(int(mouse->buttons()));
            }
            return false;
        }
    };

    template <typename W> W* addWidget(QVBoxLayout* layout, const char* name) {
        auto* widget = new W;
        widget->setObjectName(QString::fromUtf8(name));
        layout->addWidget(widget);
        return widget;
    }
    void readSpectrum() {
        graph->store().AddPoint(3, 0.1, 1.0 / 3.0);
        graph->store().AddPoint(3, 200.0, 1e-300);
        if (foreignBox)
            QMessageBox::information(this, QStringLiteral("Direct"), QStringLiteral("bypass"));
    }
    void askQuestion() {
        const DialogButton answer =
            dialogs->showMessage(MessageKind::Confirmation, QStringLiteral("Overwrite \"a.txt\"?"),
                                 ButtonSet::YesNoCancel);
        answerLabel->setText(ButtonName(answer));
    }

    QLineEdit* edit14 = nullptr;
    QLineEdit* hidden = nullptr;
    QLineEdit* edit31 = nullptr;
    QComboBox* combo = nullptr;
    QLabel* answerLabel = nullptr;
    MouseRecorder mouseRecorder;
};

struct ScriptRun {
    int exitCode = -1;
    QStringList lines;
    bool windowDestroyed = false;
    QString text() const { return lines.join('\n'); }
};

class ScriptDriverRun : public ::testing::Test {
protected:
    // Runs the script; `prepare` adjusts the window before it is shown.
    ScriptRun run(const QString& script, const std::function<void(TestWindow&)>& prepare = {}) {
        auto* window = new TestWindow;
        if (prepare)
            prepare(*window);
        QPointer<TestWindow> alive(window);
        QString output;
        QTextStream out(&output);
        ScriptRun result;
        result.exitCode = RunScriptText(*window, script, QDir::tempPath(), out, [&] {
            lastState = window->stateLines();
            lastAnswer = window->findChild<QLabel*>(QStringLiteral("Label1"))->text();
            delete window;
        });
        out.flush();
        result.windowDestroyed = alive.isNull();
        if (!result.windowDestroyed)
            delete window;
        result.lines = output.split('\n', Qt::SkipEmptyParts);
        return result;
    }

    QStringList lastState;
    QString lastAnswer;
};

TEST_F(ScriptDriverRun, CompletedScriptExitsZeroAndDestroysTheWindow) {
    const ScriptRun result =
        run(QStringLiteral("show Edit14\nexpect TForm1 \"Zelvanor Ymt 2.4.5 \"\n"));
    EXPECT_EQ(result.exitCode, 0) << result.text().toStdString();
    EXPECT_EQ(result.lines, QStringList{"Edit14=0.500"});
    EXPECT_TRUE(result.windowDestroyed);
    EXPECT_TRUE(lastState.contains("Activations=1")) << lastState.join(' ').toStdString();
}

TEST_F(ScriptDriverRun, PictureSavesTheControlOrTheWindowAsSeenAndRefusesHiddenOnes) {
    QTemporaryDir dir;
    const QString field = dir.filePath(QStringLiteral("sub/edit.png"));
    const QString whole = dir.filePath(QStringLiteral("window.png"));
    const ScriptRun result =
        run(QStringLiteral("picture Edit14 \"%1\"\npicture TForm1 \"%2\"\n").arg(field, whole));
    EXPECT_EQ(result.exitCode, 0) << result.text().toStdString();
    EXPECT_EQ(result.lines, (QStringList{"picture " + field, "picture " + whole}));
    const QImage fieldImage(field);
    const QImage windowImage(whole);
    ASSERT_FALSE(fieldImage.isNull());
    ASSERT_FALSE(windowImage.isNull());
    // The field is a part of the window, so its picture is smaller in both directions.
    EXPECT_LT(fieldImage.width(), windowImage.width());
    EXPECT_LT(fieldImage.height(), windowImage.height());

    const QString hiddenPicture = dir.filePath(QStringLiteral("hidden.png"));
    const ScriptRun refused = run(QStringLiteral("picture Edit15 \"%1\"\n").arg(hiddenPicture));
    EXPECT_EQ(refused.exitCode, 2) << refused.text().toStdString();
    EXPECT_FALSE(QFile::exists(hiddenPicture));
}

TEST_F(ScriptDriverRun, TypeLeavesTheFieldThroughItsExitHandler) {
    const ScriptRun result =
        run(QStringLiteral("type Edit14   2.25 V\nexpect Edit14 2.250\nstate\n"));
    EXPECT_EQ(result.exitCode, 0) << result.text().toStdString();
    EXPECT_TRUE(result.lines.contains("ExitHandlerRuns=1"));
}

TEST_F(ScriptDriverRun, EnterRunsTheLeaveHandlerOfAFieldOnAnotherTabPage) {
    const ScriptRun result =
        run(QStringLiteral("enter Edit31\nexpect Edit31 /home/lab/meas/\n"
                           "enter Edit31\nexpect Edit31 /home/lab/meas/\nstate"));
    EXPECT_EQ(result.exitCode, 0) << result.text().toStdString();
    EXPECT_TRUE(result.lines.contains("ExitHandlerRuns=2"));
}

TEST_F(ScriptDriverRun, FailedExpectationExitsOneAndSkipsTheRest) {
    const ScriptRun result = run(QStringLiteral("expect Edit14 0.5\nclick Button6\nshow Edit14"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.lines, QStringList{"expect failed: Edit14=0.500 (expected 0.5)"});
    EXPECT_TRUE(result.windowDestroyed);
}

TEST_F(ScriptDriverRun, MessageBoxesTakeQueuedAnswersInOrderAndAreLogged) {
    const ScriptRun result =
        run(QStringLiteral("answer No\nanswer cancel\nclick Button8\n"
                           "expect Label1 No\nclick Button8\nexpect Label1 Cancel"));
    EXPECT_EQ(result.exitCode, 0) << result.text().toStdString();
    EXPECT_EQ(result.lines,
              QStringList({R"(message confirmation "Overwrite \"a.txt\"?" -> No)",
                           R"(message confirmation "Overwrite \"a.txt\"?" -> Cancel)"}));
}

TEST_F(ScriptDriverRun, BoxWithoutAnswerGetsSafeAnswerAndEndsTheScript) {
    const ScriptRun result = run(QStringLiteral("click Button6\nclick Button8\nshow Edit14\n"));
    EXPECT_EQ(result.exitCode, 2);
    ASSERT_EQ(result.lines.size(), 2) << result.text().toStdString();
    EXPECT_EQ(result.lines[0], R"(message confirmation "Overwrite \"a.txt\"?" -> Cancel)");
    EXPECT_TRUE(result.lines[1].startsWith("script error: line 2: "))
        << result.lines[1].toStdString();
    EXPECT_EQ(lastAnswer, QStringLiteral("Cancel"));
}

TEST_F(ScriptDriverRun, AnswerNotOnTheBoxIsAScriptError) {
    const ScriptRun result = run(QStringLiteral("answer OK\nclick Button8\n"));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.text().contains("script error: line 2: ")) << result.text().toStdString();
    EXPECT_EQ(lastAnswer, QStringLiteral("Cancel"));
}

TEST_F(ScriptDriverRun, DialogOfAnotherKindIsAScriptError) {
    const ScriptRun result = run(QStringLiteral("file spectrum.txt\nclick Button8\n"));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.text().contains("script error: line 2: ")) << result.text().toStdString();
    EXPECT_TRUE(result.text().contains("file dialog")) << result.text().toStdString();
}

TEST_F(ScriptDriverRun, StartUpBoxIsAnsweredFromLeadingAnswers) {
    const auto startupBox = [](TestWindow& w) { w.startupBox = true; };
    const ScriptRun answered = run(QStringLiteral("answer OK\nshow Edit14"), startupBox);
    EXPECT_EQ(answered.exitCode, 0) << answered.text().toStdString();
    EXPECT_EQ(answered.lines,
              QStringList({R"(message error "QC.txt: Permission denied" -> OK)", "Edit14=0.500"}));

    const ScriptRun unanswered = run(QStringLiteral("show Edit14"), startupBox);
    EXPECT_EQ(unanswered.exitCode, 2);
    EXPECT_TRUE(unanswered.text().contains("script error: start-up: "));
    EXPECT_FALSE(unanswered.text().contains("Edit14="));
}

TEST_F(ScriptDriverRun, ClosingAtTheEndAsksAndUsesQueuedAnswer) {
    const auto ask = [](TestWindow& w) { w.askOnClose = true; };
    const ScriptRun answered = run(QStringLiteral("answer Yes"), ask);
    EXPECT_EQ(answered.exitCode, 0) << answered.text().toStdString();
    EXPECT_EQ(answered.lines,
              QStringList{R"(message confirmation "Save changes in protocol?" -> Yes)"});
    EXPECT_EQ(lastAnswer, QStringLiteral("Yes"));

    const ScriptRun unanswered = run(QStringLiteral("show Edit14"), ask);
    EXPECT_EQ(unanswered.exitCode, 2);
    EXPECT_TRUE(unanswered.text().contains("script error: shut-down: "));
    EXPECT_TRUE(unanswered.windowDestroyed);
}

TEST_F(ScriptDriverRun, QuitClosesTheWindowAndEndsTheScript) {
    const ScriptRun result =
        run(QStringLiteral("answer No\nquit\n"), [](TestWindow& w) { w.askOnClose = true; });
    EXPECT_EQ(result.exitCode, 0) << result.text().toStdString();
    EXPECT_EQ(result.lines,
              QStringList{R"(message confirmation "Save changes in protocol?" -> No)"});
    EXPECT_TRUE(result.windowDestroyed);
}

TEST_F(ScriptDriverRun, AnswerNoBoxTookFailsTheScriptAndNamesIt) {
    // The box of Button8 never comes: the script must not pass as if it had been answered.
    const ScriptRun result = run(QStringLiteral("answer OK\nshow Edit14\nfile a.txt\nquit\n"));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.lines.last().startsWith("script error: end: "));
    EXPECT_TRUE(result.lines.last().contains("answer OK (line 1)")) << result.text().toStdString();
    EXPECT_TRUE(result.lines.last().contains("line 3")) << result.text().toStdString();
}

TEST_F(ScriptDriverRun, MenuItemThatClosesTheWindowEndsTheScript) {
    const auto ask = [](TestWindow& w) { w.askOnClose = true; };
    const ScriptRun last = run(QStringLiteral("answer Yes\nclick Beenden1\n"), ask);
    EXPECT_EQ(last.exitCode, 0) << last.text().toStdString();
    // Asked once: the driver does not send a second close request.
    EXPECT_EQ(last.lines,
              QStringList{R"(message confirmation "Save changes in protocol?" -> Yes)"});
    EXPECT_TRUE(last.windowDestroyed);

    const ScriptRun more = run(QStringLiteral("click Beenden1\nshow Edit14\n"));
    EXPECT_EQ(more.exitCode, 2);
    EXPECT_TRUE(more.lines.last().startsWith("script error: line 1: the window was closed"))
        << more.text().toStdString();
    EXPECT_TRUE(more.windowDestroyed);
}

TEST_F(ScriptDriverRun, UnknownControlIsAScriptErrorWithLineNumber) {
    const ScriptRun result = run(QStringLiteral("# find it\nshow Edit14\nclick Button99\n"));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.lines.last(), R"(script error: line 3: unknown control "Button99")");
}

TEST_F(ScriptDriverRun, HiddenOrDisabledControlsCannotBeUsed) {
    EXPECT_EQ(run(QStringLiteral("click Button7")).lines.last(),
              R"(script error: line 1: control "Button7" is disabled)");
    EXPECT_EQ(run(QStringLiteral("type Edit15 1")).lines.last(),
              R"(script error: line 1: control "Edit15" is hidden)");
    // Hidden through its group, on a tab page that is not the current one.
    EXPECT_EQ(run(QStringLiteral("click Button30")).lines.last(),
              R"(script error: line 1: control "Button30" is hidden)");
    EXPECT_EQ(run(QStringLiteral("click Hilfe1")).lines.last(),
              R"(script error: line 1: control "Hilfe1" is disabled)");
    // Reading a hidden control is allowed.
    EXPECT_EQ(run(QStringLiteral("show Edit15")).exitCode, 0);
}

TEST_F(ScriptDriverRun, MalformedLineIsReportedWithItsNumberAndNothingRuns) {
    const ScriptRun result = run(QStringLiteral("click Button6\n\nselect ComboBox1 \"1\nstate\n"));
    EXPECT_EQ(result.exitCode, 2);
    ASSERT_EQ(result.lines.size(), 1) << result.text().toStdString();
    EXPECT_TRUE(result.lines[0].startsWith("script error: line 3: "));
    EXPECT_TRUE(result.windowDestroyed);
}

TEST_F(ScriptDriverRun, CheckClicksOnlyOnChangeAndSelectRunsChangeHandler) {
    int clicks = -1;
    int changes = -1;
    const ScriptRun result =
        run(QStringLiteral("check CheckBox1 1\ncheck CheckBox1 1\nexpect CheckBox1 1\n"
                           "click CheckBox1\nexpect CheckBox1 0\nselect ComboBox1 2\n"
                           "expect ComboBox1 G - B\nselect ComboBox1 3"),
            [&](TestWindow& w) {
                w.onDestroy = [&](const TestWindow& window) {
                    clicks = window.checkBoxClicks;
                    changes = window.comboChanges;
                };
            });
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.lines.last(),
              R"(script error: line 8: "ComboBox1" has no item 3 (items 0 to 2))");
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(ScriptDriverRun, RadioGroupSelectAndShow) {
    const ScriptRun result =
        run(QStringLiteral("show RadioGroup1\nselect RadioGroup1 1\nshow RadioGroup1"));
    EXPECT_EQ(result.exitCode, 0) << result.text().toStdString();
    EXPECT_EQ(result.lines, QStringList({"RadioGroup1=", "RadioGroup1=German"}));
}

TEST_F(ScriptDriverRun, MultiLineBoxPrintsEachLineAndIsAddressedByIndex) {
    const ScriptRun result = run(QStringLiteral("show Memo1\nexpect Memo1[1] second  line\n"
                                                "expect Memo1[2] x"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.lines, QStringList({"Memo1[0]=first line", "Memo1[1]=second  line",
                                         "expect failed: Memo1[2]=<no line 2> (expected x)"}));
}

TEST_F(ScriptDriverRun, TypingIntoReadOnlyBoxIsAScriptError) {
    const ScriptRun result = run(QStringLiteral("type Memo1 text"));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.lines.last(), R"(script error: line 1: field "Memo1" is read-only)");
}

TEST_F(ScriptDriverRun, CurvePrintsEveryPointWithSeventeenDigits) {
    const ScriptRun result =
        run(QStringLiteral("click Button6\ncurve fastgraph1 3\ncurve fastgraph1 4\n"
                           "curve fastgraph1 26"));
    EXPECT_EQ(result.exitCode, 2);
    ASSERT_EQ(result.lines.size(), 3) << result.text().toStdString();
    EXPECT_EQ(result.lines[0], "0.10000000000000001\t0.33333333333333331");
    EXPECT_EQ(result.lines[1], "200\t1e-300");
    EXPECT_EQ(result.lines[2], "script error: line 4: curve 26 is not one of 1 to 25");
}

TEST_F(ScriptDriverRun, MouseStepsSendRealEventsWithHeldButtons) {
    const ScriptRun result = run(QStringLiteral("mouse fastgraph1 down left 10 20\nstate\n"
                                                "mouse fastgraph1 move none 15\nstate\n"
                                                "mouse fastgraph1 up left 15 20\nstate"));
    EXPECT_EQ(result.exitCode, 0) << result.text().toStdString();
    QStringList mouse;
    for (const QString& line : result.lines) {
        if (line.startsWith("LastMouse="))
            mouse << line;
    }
    ASSERT_EQ(mouse.size(), 3);
    EXPECT_EQ(mouse[0], "LastMouse=down 10,20 button=1 held=1");
    EXPECT_TRUE(mouse[1].startsWith("LastMouse=move 15,")) << mouse[1].toStdString();
    EXPECT_TRUE(mouse[1].endsWith("button=0 held=1"));
    EXPECT_FALSE(mouse[1].startsWith("LastMouse=move 15,0 ")); // Y defaults to the middle
    EXPECT_EQ(mouse[2], "LastMouse=up 15,20 button=1 held=0");
}

TEST_F(ScriptDriverRun, TabStepMakesThePageCurrent) {
    const ScriptRun result =
        run(QStringLiteral("show PageControl1\ntab TabSheet7\nshow PageControl1\n"
                           "tab Edit14"));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.lines.mid(0, 2),
              QStringList({"PageControl1=Hardware", "PageControl1=Options"}));
    EXPECT_EQ(result.lines.last(), R"(script error: line 4: "Edit14" is not a tab sheet)");
}

TEST_F(ScriptDriverRun, ControlsListsNameClassTabVisibilityTextCaptionAndHint) {
    const ScriptRun result = run(QStringLiteral("controls\nshow fastgraph1"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(
        result.lines.contains("Edit14\tQLineEdit\tTabSheet1\t1\t1\t0.500\t\tOscillator level"));
    EXPECT_TRUE(result.lines.contains("Edit15\tQLineEdit\tTabSheet1\t0\t1\t\t\t"));
    EXPECT_TRUE(result.lines.contains("Button7\tQPushButton\tTabSheet1\t1\t0\t\t\t"));
    EXPECT_TRUE(result.lines.contains("Edit31\tQLineEdit\tTabSheet7\t1\t1\t/home/lab/meas\t\t"));
    EXPECT_TRUE(result.lines.contains(
        "Memo1\tQPlainTextEdit\tTabSheet1\t1\t1\tfirst line\\nsecond  line\t\t"));
    // A plot's text and caption are its title.
    EXPECT_TRUE(result.lines.contains(
        "fastgraph1\tymt::TFastGraph\tTabSheet1\t1\t1\tCoupling Factor\tCoupling Factor\t"));
    EXPECT_EQ(result.lines.last(), QStringLiteral("fastgraph1=Coupling Factor"));
    // A check box shows 0/1 as its text; its caption says what it switches.
    EXPECT_TRUE(result.lines.contains("CheckBox1\tQCheckBox\tTabSheet1\t1\t1\t0\tShow Points\t"));
    EXPECT_TRUE(result.lines.contains("RadioGroup1\tQGroupBox\tTabSheet1\t1\t1\t\tLanguage\t"))
        << result.text().toStdString();
}

TEST_F(ScriptDriverRun, TickAndStateReachTheWindow) {
    const ScriptRun result = run(QStringLiteral("tick\ntick\nstate"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.lines.contains("Ticks=2"));
}

TEST_F(ScriptDriverRun, WaitAdvancesTheVirtualClock) {
    clock::setVirtual(true);
    const qint64 before = clock::nowMs();
    const ScriptRun result = run(QStringLiteral("wait 60000"));
    const qint64 after = clock::nowMs();
    clock::setVirtual(false);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_GE(after - before, 60000);
    EXPECT_LT(after - before, 60000 + 10000); // only the real time of the run on top
}

TEST_F(ScriptDriverRun, WaitWithTheRealClockLetsTimeRun) {
    const qint64 before = clock::nowMs();
    EXPECT_EQ(run(QStringLiteral("wait 150")).exitCode, 0);
    EXPECT_GE(clock::nowMs() - before, 150);
}

TEST_F(ScriptDriverRun, DialogBypassingTheInterfaceIsClosedAndReported) {
    const ScriptRun result = run(QStringLiteral("click Button6\nshow Edit14"),
                                 [](TestWindow& w) { w.foreignBox = true; });
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.text().contains("script error: line 1: a dialog \"Direct\""))
        << result.text().toStdString();
}

TEST_F(ScriptDriverRun, UnreadableScriptFileIsAScriptError) {
    auto* window = new TestWindow;
    QString output;
    QTextStream out(&output);
    const int code =
        RunScript(*window, QStringLiteral("/nonexistent/script.txt"), out, [&] { delete window; });
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(output.startsWith("script error: script: cannot read script"))
        << output.toStdString();
}

TEST_F(ScriptDriverRun, ScriptFileRelativePathsComeFromItsFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile script(dir.filePath("run.txt"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("file \"my spectrum.txt\"\nclick Button6\n");
    script.close();
    auto* window = new TestWindow;
    QObject::connect(window->findChild<QPushButton*>("Button6"), &QPushButton::clicked, window,
                     [window] {
                         FileDialogOptions options;
                         options.title = QStringLiteral("Open spectrum");
                         window->dialogs->openFile(options);
                     });
    QString output;
    QTextStream out(&output);
    const int code = RunScript(*window, script.fileName(), out, [&] { delete window; });
    EXPECT_EQ(code, 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("file open \"Open spectrum\" -> \"%1\" #1")
                                    .arg(dir.filePath("my spectrum.txt"))))
        << output.toStdString();
}

} // namespace
} // namespace ymt
