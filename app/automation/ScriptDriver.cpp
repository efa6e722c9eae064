// Runs a parsed script against the window: one operator action per step, dialogs from the
// script's answer queue, and the window closed and destroyed at the end.
#include "app/automation/ScriptDriver.h"

#include "app/automation/ScriptDriverControls.h"
#include "app/automation/ScriptParser.h"
#include "app/automation/ScriptedDialogs.h"
#include "core/Clock.h"
#include "plot/FastGraph.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

namespace ymt {
namespace {

enum class Outcome { Done, ExpectFailed, ScriptError, Quit };

bool isAnswerStep(const ScriptStep& step) {
    return step.kind == StepKind::Answer || step.kind == StepKind::File ||
           step.kind == StepKind::Color || step.kind == StepKind::PrintDialog;
}

Qt::MouseButton qtButton(MouseButtonName button) {
    switch (button) {
    case MouseButtonName::Left:
        return Qt::LeftButton;
    case MouseButtonName::Right:
        return Qt::RightButton;
    case MouseButtonName::Middle:
        return Qt::MiddleButton;
    case MouseButtonName::None:
        return Qt::NoButton;
    }
    return Qt::NoButton;
}

QString oneLine(const QString& text) {
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QString());
    flat.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    flat.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return flat;
}

// The steps "stop" and "tick wait" act during a wait for the analyzer. No step runs while a
// wait blocks the window, so the action is kept for the next time the Stop button appears and
// runs inside that wait's event processing.
class DuringNextWait : public QObject {
public:
    DuringNextWait(QAbstractButton* stopButton, std::function<void()> action)
        : QObject(stopButton), button_(stopButton), action_(std::move(action)) {
        button_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            button_->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                action_();
                deleteLater();
            });
        }
        return false;
    }

private:
    QAbstractButton* button_;
    std::function<void()> action_;
};

class ScriptRunner {
public:
    ScriptRunner(ScriptTarget& target, QTextStream& out, const QString& baseDir,
                 const std::function<void()>& destroyWindow)
        : target_(target), out_(out), dialogs_(out), baseDir_(baseDir),
          destroyWindow_(destroyWindow) {}

    int run(const ParsedScript& script);

private:
    Outcome perform(const ScriptStep& step);
    Outcome fail(const QString& message);
    void reportError(const QString& where, const QString& message);
    void queueAnswer(const ScriptStep& step);
    void startWindow();
    void closeWindow();
    void destroyWindow();
    void watchForeignDialogs();

    // Controls an operator acts on must exist and be usable; controls that are only read
    // must exist.
    QObject* usableControl(const QString& name);
    QObject* readableControl(const QString& name);

    Outcome typeText(const ScriptStep& step);
    Outcome pressEnter(const ScriptStep& step);
    Outcome click(const ScriptStep& step);
    Outcome check(const ScriptStep& step);
    Outcome select(const ScriptStep& step);
    Outcome showTab(const ScriptStep& step);
    Outcome mouse(const ScriptStep& step);
    Outcome showOrExpect(const ScriptStep& step);
    Outcome listControls();
    Outcome printCurve(const ScriptStep& step);
    Outcome pressStop();
    Outcome tick(const ScriptStep& step);
    void deliverTick();
    Outcome savePicture(const ScriptStep& step);
    void waitMs(int ms);

    ScriptTarget& target_;
    QTextStream& out_;
    ScriptedDialogs dialogs_;
    QString baseDir_;
    std::function<void()> destroyWindow_;
    QPointer<QWidget> root_;
    int currentLine_ = 0;
    QString error_;
    Qt::MouseButtons heldButtons_;
    // Lines of "tick wait" steps whose wait has not come yet.
    QList<int> waitTicksPending_;
};

Outcome ScriptRunner::fail(const QString& message) {
    error_ = message;
    return Outcome::ScriptError;
}

void ScriptRunner::reportError(const QString& where, const QString& message) {
    out_ << "script error: " << where << ": " << message << '\n';
    out_.flush();
}

void ScriptRunner::queueAnswer(const ScriptStep& step) {
    switch (step.kind) {
    case StepKind::Answer:
        dialogs_.queue(step.button, step.line);
        break;
    case StepKind::File: {
        ScriptedDialogs::FileAnswer answer;
        answer.cancel = step.cancel;
        answer.filterIndex = step.filterIndex;
        for (const QString& path : step.paths)
            answer.paths.append(QDir::cleanPath(QDir(baseDir_).absoluteFilePath(path)));
        dialogs_.queue(answer, step.line);
        break;
    }
    case StepKind::Color:
        dialogs_.queue(
            ScriptedDialogs::ColorAnswer{step.cancel ? std::nullopt : std::optional(step.color)},
            step.line);
        break;
    case StepKind::PrintDialog:
        dialogs_.queue(
            ScriptedDialogs::PrintAnswer{
                !step.cancel,
                step.paths.isEmpty()
                    ? QString()
                    : QDir::cleanPath(QDir(baseDir_).absoluteFilePath(step.paths[0]))},
            step.line);
        break;
    default:
        break;
    }
}

void ScriptRunner::startWindow() {
    if (root_->isVisible())
        return;
    root_->show();
    root_->raise();
    root_->activateWindow();
    QElapsedTimer waited;
    waited.start();
    // Activation arrives through the window system; the first activation sets the window up.
    while (root_ && !root_->isActiveWindow() && waited.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    QCoreApplication::processEvents();
}

void ScriptRunner::watchForeignDialogs() {
    // A dialog the window opened without the dialog interface would wait for an operator
    // forever; close it and fail the step instead.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == root_)
        return;
    dialogs_.recordError(QStringLiteral("a dialog \"%1\" opened outside the dialog interface")
                             .arg(modal->windowTitle()));
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

void ScriptRunner::closeWindow() {
    if (root_) {
        root_->close();
        QCoreApplication::processEvents();
    }
    destroyWindow();
}

void ScriptRunner::destroyWindow() {
    // The window is destroyed once; its destruction may still show boxes of the shut-down.
    if (destroyWindow_)
        std::exchange(destroyWindow_, nullptr)();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

int ScriptRunner::run(const ParsedScript& script) {
    root_ = target_.rootWidget();
    target_.setDialogs(&dialogs_);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [this] { watchForeignDialogs(); });
    watchdog.start(100);

    int exitCode = 0;
    if (script.error) {
        const int line = script.error->line;
        reportError(line > 0 ? QStringLiteral("line %1").arg(line) : QStringLiteral("script"),
                    script.error->message);
        exitCode = 2;
    }

    qsizetype next = 0;
    while (next < script.steps.size() && isAnswerStep(script.steps[next]))
        queueAnswer(script.steps[next++]);
    startWindow();
    if (dialogs_.hasError()) {
        reportError(QStringLiteral("start-up"), dialogs_.takeError());
        exitCode = 2;
    }

    bool closed = false;
    for (; exitCode == 0 && next < script.steps.size() && !closed; ++next) {
        const ScriptStep& step = script.steps[next];
        currentLine_ = step.line;
        error_.clear();
        const Outcome outcome = perform(step);
        if (root_) {
            QCoreApplication::processEvents();
            // As the event loop does between operator actions; outside a running loop objects
            // released with deleteLater (Qt's layout animations among them) would pile up.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        const QString where = QStringLiteral("line %1").arg(step.line);
        if (outcome == Outcome::ScriptError) {
            reportError(where, error_);
            exitCode = 2;
        } else if (dialogs_.hasError()) {
            reportError(where, dialogs_.takeError());
            exitCode = 2;
        } else if (outcome == Outcome::ExpectFailed) {
            exitCode = 1;
        }
        // "quit", or a step that closed the window as "Exit" does, ends the script.
        closed = outcome == Outcome::Quit || !root_ || !root_->isVisible();
        if (closed && outcome != Outcome::Quit && exitCode == 0 && next + 1 < script.steps.size()) {
            reportError(where, QStringLiteral("the window was closed; the steps after this line "
                                              "cannot run"));
            exitCode = 2;
        }
    }

    if (!closed)
        closeWindow();
    else
        destroyWindow();
    watchdog.stop();
    if (dialogs_.hasError()) {
        reportError(QStringLiteral("shut-down"), dialogs_.takeError());
        if (exitCode == 0)
            exitCode = 2;
    }
    // A "tick wait" whose wait never came would let a test pass without the busy window.
    if (exitCode == 0 && !waitTicksPending_.isEmpty()) {
        QStringList lines;
        for (const int line : waitTicksPending_)
            lines << QString::number(line);
        reportError(QStringLiteral("end"),
                    QStringLiteral("no wait for the analyzer came for \"tick wait\" (line %1)")
                        .arg(lines.join(QStringLiteral(", "))));
        exitCode = 2;
    }
    // An answer no box took means a box the script waits for never came: the test would
    // otherwise pass without the behaviour it was written for.
    if (const QStringList unused = dialogs_.unusedAnswers(); exitCode == 0 && !unused.isEmpty()) {
        reportError(QStringLiteral("end"), QStringLiteral("no dialog took the queued %1: %2")
                                               .arg(unused.size() == 1 ? QStringLiteral("answer")
                                                                       : QStringLiteral("answers"),
                                                    unused.join(QStringLiteral(", "))));
        exitCode = 2;
    }
    out_.flush();
    return exitCode;
}

QObject* ScriptRunner::readableControl(const QString& name) {
    QObject* control = FindControl(root_, name);
    if (!control)
        error_ = QStringLiteral("unknown control \"%1\"").arg(name);
    return control;
}

QObject* ScriptRunner::usableControl(const QString& name) {
    QObject* control = readableControl(name);
    if (!control)
        return nullptr;
    const QString reason = UnusableReason(root_, control);
    if (!reason.isEmpty()) {
        error_ = QStringLiteral("control \"%1\" is %2").arg(name, reason);
        return nullptr;
    }
    return control;
}

Outcome ScriptRunner::perform(const ScriptStep& step) {
    switch (step.kind) {
    case StepKind::Answer:
    case StepKind::File:
    case StepKind::Color:
    case StepKind::PrintDialog:
        queueAnswer(step);
        return Outcome::Done;
    case StepKind::Type:
        return typeText(step);
    case StepKind::Enter:
        return pressEnter(step);
    case StepKind::Click:
        return click(step);
    case StepKind::Check:
        return check(step);
    case StepKind::Select:
        return select(step);
    case StepKind::Tab:
        return showTab(step);
    case StepKind::Mouse:
        return mouse(step);
    case StepKind::Show:
    case StepKind::Expect:
        return showOrExpect(step);
    case StepKind::State:
        for (const QString& line : target_.stateLines())
            out_ << line << '\n';
        return Outcome::Done;
    case StepKind::Controls:
        return listControls();
    case StepKind::Curve:
        return printCurve(step);
    case StepKind::Picture:
        return savePicture(step);
    case StepKind::Tick:
        return tick(step);
    case StepKind::Wait:
        waitMs(step.number);
        return Outcome::Done;
    case StepKind::Quit:
        closeWindow();
        return Outcome::Quit;
    case StepKind::Stop:
        return pressStop();
    }
    return Outcome::Done;
}

Outcome ScriptRunner::pressStop() {
    auto* button = qobject_cast<QAbstractButton*>(readableControl(QStringLiteral("StopButton")));
    if (!button)
        return Outcome::ScriptError;
    if (button->isVisible())
        button->click();
    else
        new DuringNextWait(button, [button] { button->click(); });
    return Outcome::Done;
}

void ScriptRunner::deliverTick() {
    if (const QString said = target_.runTimerTick(); !said.isEmpty())
        out_ << said << '\n';
    out_.flush();
}

// The timer event of the repeat measurement, now or while the window is busy with a box or a
// wait, as the real timer's event arrives inside their event processing.
Outcome ScriptRunner::tick(const ScriptStep& step) {
    switch (step.tickMoment) {
    case TickMoment::Now:
        deliverTick();
        break;
    case TickMoment::NextBox:
        dialogs_.whileNextBoxIsOpen([this] { deliverTick(); }, QStringLiteral("tick box"),
                                    step.line);
        break;
    case TickMoment::NextWait: {
        auto* button =
            qobject_cast<QAbstractButton*>(readableControl(QStringLiteral("StopButton")));
        if (!button)
            return Outcome::ScriptError;
        waitTicksPending_.append(step.line);
        new DuringNextWait(button, [this, line = step.line] {
            waitTicksPending_.removeOne(line);
            deliverTick();
        });
        break;
    }
    }
    return Outcome::Done;
}

Outcome ScriptRunner::typeText(const ScriptStep& step) {
    auto* field = qobject_cast<QWidget*>(usableControl(step.name));
    if (!field)
        return error_.isEmpty() ? fail(QStringLiteral("\"%1\" is a menu item").arg(step.name))
                                : Outcome::ScriptError;
    const QString readOnly = QStringLiteral("field \"%1\" is read-only").arg(step.name);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        if (edit->isReadOnly())
            return fail(readOnly);
        edit->setText(step.text);
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) {
        auto* spinText = spin->findChild<QLineEdit*>();
        if (spin->isReadOnly() || !spinText)
            return fail(readOnly);
        spinText->setText(step.text);
        spin->interpretText();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) {
        if (memo->isReadOnly())
            return fail(readOnly);
        memo->setPlainText(step.text);
    } else if (auto* richMemo = qobject_cast<QTextEdit*>(field)) {
        if (richMemo->isReadOnly())
            return fail(readOnly);
        richMemo->setPlainText(step.text);
    } else if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->isEditable()) {
        combo->setEditText(step.text);
    } else {
        return fail(QStringLiteral("\"%1\" is not a field to type into").arg(step.name));
    }
    target_.runExitHandler(field);
    return Outcome::Done;
}

Outcome ScriptRunner::pressEnter(const ScriptStep& step) {
    auto* field = qobject_cast<QWidget*>(usableControl(step.name));
    if (!field)
        return error_.isEmpty() ? fail(QStringLiteral("\"%1\" is a menu item").arg(step.name))
                                : Outcome::ScriptError;
    auto* combo = qobject_cast<QComboBox*>(field);
    const bool singleLine = qobject_cast<QLineEdit*>(field) ||
                            qobject_cast<QAbstractSpinBox*>(field) ||
                            (combo && combo->isEditable());
    if (!singleLine)
        return fail(QStringLiteral("\"%1\" is not a single-line field").arg(step.name));
    // Enter runs the leave handler; the field keeps the focus.
    target_.runExitHandler(field);
    return Outcome::Done;
}

Outcome ScriptRunner::click(const ScriptStep& step) {
    QObject* control = usableControl(step.name);
    if (!control)
        return Outcome::ScriptError;
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->click();
    else if (auto* action = qobject_cast<QAction*>(control))
        action->trigger();
    else
        return fail(QStringLiteral("\"%1\" cannot be clicked").arg(step.name));
    return Outcome::Done;
}

Outcome ScriptRunner::check(const ScriptStep& step) {
    QObject* control = usableControl(step.name);
    if (!control)
        return Outcome::ScriptError;
    const bool wanted = step.number == 1;
    auto* button = qobject_cast<QAbstractButton*>(control);
    auto* action = qobject_cast<QAction*>(control);
    if (button && button->isCheckable()) {
        if (button->isChecked() != wanted)
            button->click();
    } else if (action && action->isCheckable()) {
        if (action->isChecked() != wanted)
            action->trigger();
    } else {
        return fail(QStringLiteral("\"%1\" is not a check box").arg(step.name));
    }
    return Outcome::Done;
}

Outcome ScriptRunner::select(const ScriptStep& step) {
    QObject* control = usableControl(step.name);
    if (!control)
        return Outcome::ScriptError;
    const int index = step.number;
    const auto outOfRange = [&](qsizetype count) {
        return fail(QStringLiteral("\"%1\" has no item %2 (items 0 to %3)")
                        .arg(step.name)
                        .arg(index)
                        .arg(count - 1));
    };
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (index >= combo->count())
            return outOfRange(combo->count());
        // The window's change handlers listen to activated(), as for an operator's choice.
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        return Outcome::Done;
    }
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        if (index >= list->count())
            return outOfRange(list->count());
        list->setCurrentRow(index);
        return Outcome::Done;
    }
    const QList<QAbstractButton*> radios = RadioButtonsOf(control);
    if (radios.isEmpty())
        return fail(QStringLiteral("\"%1\" is not a list or radio group").arg(step.name));
    if (index >= radios.size())
        return outOfRange(radios.size());
    QAbstractButton* radio = radios[index];
    const QString reason = UnusableReason(root_, radio);
    if (!reason.isEmpty())
        return fail(QStringLiteral("item %1 of \"%2\" is %3").arg(index).arg(step.name, reason));
    radio->click();
    return Outcome::Done;
}

Outcome ScriptRunner::showTab(const ScriptStep& step) {
    auto* page = qobject_cast<QWidget*>(usableControl(step.name));
    if (!page)
        return error_.isEmpty() ? fail(QStringLiteral("\"%1\" is not a tab sheet").arg(step.name))
                                : Outcome::ScriptError;
    QTabWidget* tabs = TabWidgetOfPage(page);
    if (!tabs)
        return fail(QStringLiteral("\"%1\" is not a tab sheet").arg(step.name));
    tabs->setCurrentWidget(page);
    return Outcome::Done;
}

Outcome ScriptRunner::mouse(const ScriptStep& step) {
    auto* widget = qobject_cast<QWidget*>(usableControl(step.name));
    if (!widget)
        return error_.isEmpty() ? fail(QStringLiteral("\"%1\" is a menu item").arg(step.name))
                                : Outcome::ScriptError;
    const QPoint position(step.number, step.y.value_or(widget->height() / 2));
    const Qt::MouseButton button = qtButton(step.mouseButton);
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton eventButton = Qt::NoButton;
    if (step.mouseAction == MouseAction::Down) {
        type = QEvent::MouseButtonPress;
        eventButton = button;
        heldButtons_ |= button;
    } else if (step.mouseAction == MouseAction::Up) {
        type = QEvent::MouseButtonRelease;
        eventButton = button;
        heldButtons_ &= ~Qt::MouseButtons(button);
    }
    QMouseEvent event(type, QPointF(position), QPointF(widget->mapToGlobal(position)), eventButton,
                      heldButtons_, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
    return Outcome::Done;
}

Outcome ScriptRunner::showOrExpect(const ScriptStep& step) {
    const bool expect = step.kind == StepKind::Expect;
    QString name = step.name;
    std::optional<qsizetype> lineIndex;
    QObject* control = FindControl(root_, name);
    static const QRegularExpression indexed(QStringLiteral("^(.+)\\[(\\d+)\\]$"));
    if (const QRegularExpressionMatch match = indexed.match(name); !control && match.hasMatch()) {
        name = match.captured(1);
        lineIndex = match.captured(2).toLongLong();
    }
    if (!control && !(control = readableControl(name)))
        return Outcome::ScriptError;
    const ControlValue value = ValueOf(control);
    if (!value.ok)
        return fail(QStringLiteral("\"%1\" shows no text").arg(name));

    QString actual;
    bool missingLine = false;
    if (lineIndex) {
        if (!value.multiLine)
            return fail(QStringLiteral("\"%1\" is not a multi-line box").arg(name));
        missingLine = *lineIndex >= value.lines.size();
        if (missingLine && !expect)
            return fail(QStringLiteral("\"%1\" has %2 lines").arg(name).arg(value.lines.size()));
        actual =
            missingLine ? QStringLiteral("<no line %1>").arg(*lineIndex) : value.lines[*lineIndex];
    } else {
        actual = value.single();
    }

    if (expect) {
        if (missingLine || actual != step.text) {
            out_ << "expect failed: " << step.name << '=' << oneLine(actual) << " (expected "
                 << step.text << ")\n";
            return Outcome::ExpectFailed;
        }
        return Outcome::Done;
    }
    if (value.multiLine && !lineIndex) {
        for (qsizetype i = 0; i < value.lines.size(); ++i)
            out_ << name << '[' << i << "]=" << value.lines[i] << '\n';
    } else {
        out_ << step.name << '=' << oneLine(actual) << '\n';
    }
    return Outcome::Done;
}

Outcome ScriptRunner::listControls() {
    for (QObject* control : NamedControls(root_)) {
        const QWidget* page = TabPageOf(root_, control);
        const ControlValue value = ValueOf(control);
        out_ << control->objectName() << '\t' << control->metaObject()->className() << '\t'
             << (page ? page->objectName() : QString()) << '\t'
             << (IsHiddenByProgram(root_, control) ? 0 : 1) << '\t'
             << (IsEnabledInWindow(root_, control) ? 1 : 0) << '\t'
             << (value.ok ? oneLine(value.single()) : QString()) << '\t'
             << oneLine(CaptionOf(control)) << '\t' << oneLine(HintOf(control)) << '\n';
    }
    return Outcome::Done;
}

Outcome ScriptRunner::printCurve(const ScriptStep& step) {
    QObject* control = readableControl(step.name);
    if (!control)
        return Outcome::ScriptError;
    auto* graph = qobject_cast<TFastGraph*>(control);
    if (!graph)
        return fail(QStringLiteral("\"%1\" is not a plot").arg(step.name));
    if (!CurveStore::isValidCurve(step.number))
        return fail(QStringLiteral("curve %1 is not one of 1 to 25").arg(step.number));
    const CurveStore& store = graph->store();
    for (int i = 0; i < store.pointCount(step.number); ++i) {
        const CurvePoint point = store.point(step.number, i);
        out_ << QString::asprintf("%.17g\t%.17g", point.x, point.y) << '\n';
    }
    return Outcome::Done;
}

void ScriptRunner::waitMs(int ms) {
    if (clock::isVirtual()) {
        clock::sleepMs(ms);
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// "picture NAME FILE": the control as the operator sees it (a tab page, a plot; the window by
// its own name) as a PNG file, for pictures of the program that follow its real look.
Outcome ScriptRunner::savePicture(const ScriptStep& step) {
    QWidget* widget = step.name == root_->objectName()
                          ? root_.data()
                          : qobject_cast<QWidget*>(usableControl(step.name));
    if (!widget)
        return error_.isEmpty() ? fail(QStringLiteral("\"%1\" is a menu item").arg(step.name))
                                : Outcome::ScriptError;
    const QString path = QDir::cleanPath(QDir(baseDir_).absoluteFilePath(step.text));
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!widget->grab().save(path, "PNG"))
        return fail(QStringLiteral("cannot write the picture \"%1\"").arg(path));
    out_ << "picture " << path << '\n';
    return Outcome::Done;
}

} // namespace

int RunScriptText(ScriptTarget& target, const QString& scriptText, const QString& baseDir,
                  QTextStream& out, const std::function<void()>& destroyWindow) {
    ScriptRunner runner(target, out, baseDir, destroyWindow);
    return runner.run(ParseScript(scriptText));
}

int RunScript(ScriptTarget& target, const QString& scriptPath, QTextStream& out,
              const std::function<void()>& destroyWindow) {
    QFile file(scriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        ParsedScript unreadable;
        unreadable.error = ScriptParseError{
            0, QStringLiteral("cannot read script \"%1\": %2").arg(scriptPath, file.errorString())};
        ScriptRunner runner(target, out, QDir::currentPath(), destroyWindow);
        return runner.run(unreadable);
    }
    const QString text = QString::fromUtf8(file.readAll());
    return RunScriptText(target, text, QFileInfo(scriptPath).absolutePath(), out, destroyWindow);
}

} // namespace ymt
