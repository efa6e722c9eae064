// Construction of the main window: the tab pages in order, the menu, the timer, the plots with
// the settings of the window definition; plus the wiring shared by all tabs.
#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/WidgetDialogs.h"
#include "app/WindowSizing.h"
#include "plot/FastGraph.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace {

// Forwards the mouse events of a plot to the window's handlers (button, x, y in client pixels).
class PlotMouseFilter : public QObject {
public:
    using Handler = std::function<void(Qt::MouseButton, int, int)>;
    PlotMouseFilter(QObject* parent, Handler down, Handler move, Handler up)
        : QObject(parent), down_(std::move(down)), move_(std::move(move)), up_(std::move(up)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const auto type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
            type != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (type == QEvent::MouseButtonPress)
            down_(mouse->button(), at.x(), at.y());
        else if (type == QEvent::MouseMove)
            move_(mouse->buttons() & Qt::LeftButton ? Qt::LeftButton : Qt::NoButton, at.x(),
                  at.y());
        else
            up_(mouse->button(), at.x(), at.y());
        return false;
    }

private:
    Handler down_, move_, up_;
};

} // namespace

TForm1::TForm1(const ymt::ProgramDirs& dirs, QWidget* parent)
    : QMainWindow(parent), ProgramDir(dirs.programDir), WorkDir(dirs.workDir),
      BackupDir(dirs.backupDir) {
    setObjectName(QStringLiteral("Form1"));
    // The timeout field's default of 30 s applies from the start, so a lost service request
    // cannot hang the program.
    CompletionTimeout = 30000;
    setWindowTitle(QStringLiteral("Zelvanor Ymt for Agilent 4x94A"));
    resize(818, 591);

    ownDialogs_ = std::make_unique<ymt::WidgetDialogs>(this);
    dialogs_.setTarget(ownDialogs_.get());

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->setDocumentMode(true);
    PageControl1->tabBar()->setExpanding(false);
    setCentralWidget(PageControl1);

    // The tab sheets carry the numbers of the window definition (6 and 7 are gone).
    const struct {
        QWidget** sheet;
        const char* name;
        QString caption;
        QWidget* (TForm1::*build)();
    } tabs[] = {
        {&TabSheet1, "TabSheet1", QStringLiteral("Hardware"), &TForm1::buildHardwareTab},
        {&TabSheet2, "TabSheet2", QStringLiteral("Sample"), &TForm1::buildSampleTab},
        {&TabSheet3, "TabSheet3", QStringLiteral("Measurement"), &TForm1::buildMeasurementTab},
        {&TabSheet4, "TabSheet4", QStringLiteral("Protocol"), &TForm1::buildProtocolTab},
        {&TabSheet5, "TabSheet5", QStringLiteral("Spectrum Comparison"),
         &TForm1::buildComparisonTab},
        {&TabSheet8, "TabSheet8", QStringLiteral("Repeat Measurement"), &TForm1::buildRepeatTab},
        {&TabSheet9, "TabSheet9", QStringLiteral("Options"), &TForm1::buildOptionsTab},
    };
    for (const auto& tab : tabs) {
        QWidget* sheet = (this->*tab.build)();
        sheet->setObjectName(QString::fromLatin1(tab.name));
        // The caption lives on the page so that language files can address it by name.
        sheet->setWindowTitle(tab.caption);
        *tab.sheet = sheet;
        PageControl1->addTab(sheet, tab.caption);
    }
    PageControl1->setCurrentWidget(TabSheet1);
    buildMenu();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    applyPlotDefinitions();
    rememberFixedPlotTexts();
    connectPlotMouse(fastgraph1, true);
    connectPlotMouse(qgraph, false);

    aboutBox_ = new ymt::AboutBox(this);
    ymt::FitWindowToAnySize(this);
    ymt::KeepMinimumSizeForContents(this, QSize(818, 591));
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::setDialogs(ymt::DialogInterface* dialogs) {
    dialogs_.setTarget(dialogs ? dialogs : ownDialogs_.get());
}

ymt::DialogInterface& TForm1::dialogs() {
    return dialogs_;
}

bool TForm1::runExitHandler(QWidget* field) {
    return leaveHandlers_.run(field);
}

void TForm1::onLeave(QLineEdit* field, void (TForm1::*handler)()) {
    leaveHandlers_.attach(field, [this, handler] { (this->*handler)(); });
}

void TForm1::connectPlotMouse(ymt::TFastGraph* plot, bool measurementPlot) {
    plot->setMouseTracking(true);
    plot->setCursor(Qt::CrossCursor);
    using namespace std::placeholders;
    if (measurementPlot) {
        plot->installEventFilter(
            new PlotMouseFilter(plot, std::bind(&TForm1::FastGraph1MouseDown, this, _1, _2, _3),
                                std::bind(&TForm1::FastGraph1MouseMove, this, _1, _2, _3),
                                std::bind(&TForm1::FastGraph1MouseUp, this, _1, _2, _3)));
        plot->OnAfterPaint = [this](ymt::TFastGraph&, QPainter& painter) {
            fastgraph1AfterPaint(painter);
        };
    } else {
        plot->installEventFilter(
            new PlotMouseFilter(plot, std::bind(&TForm1::qgraphMouseDown, this, _1, _2, _3),
                                std::bind(&TForm1::qgraphMouseMove, this, _1, _2, _3),
                                std::bind(&TForm1::qgraphMouseUp, this, _1, _2, _3)));
        plot->OnAfterPaint = [this](ymt::TFastGraph&, QPainter& painter) {
            qgraphAfterPaint(painter);
        };
    }
}
