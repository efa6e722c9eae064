// Printing: "Print Spectrum..." and "Print..." (the one-page printout drucken), "Print
// protocol...", and the printer of the run that the dialogs and the preferred printer set up.
#include "app/MainWindow.h"
#include "core/Clock.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "plot/DrawingUnits.h"
#include "plot/FastGraph.h"
#include "plot/PrintJob.h"
#include "plot/Printout.h"

#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>

#include <cmath>

namespace {

// 0.1 mm per inch: the page is laid out in units of 0.1 mm.
constexpr double kUnitsPerInch = 254.0;

} // namespace

QPrinter& TForm1::printer() {
    if (!printer_)
        printer_ = std::make_shared<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool TForm1::selectPreferredPrinter() {
    const int index = printerList->currentIndex();
    if (index < 0 || index >= printerList->count())
        return false;
    QPrinter& p = printer();
    p.setOutputFileName(QString());
    p.setPrinterName(printerList->itemText(index));
    return true;
}

namespace {

// Qt's print dialog proposes "<document>.pdf" in the process's current folder (when it lies in
// the home); for the time of the dialog that is the working directory, as in the file dialogs.
class InWorkingDirectory {
public:
    explicit InWorkingDirectory(const QString& directory) : previous_(QDir::currentPath()) {
        QDir::setCurrent(directory);
    }
    ~InWorkingDirectory() { QDir::setCurrent(previous_); }
    InWorkingDirectory(const InWorkingDirectory&) = delete;
    InWorkingDirectory& operator=(const InWorkingDirectory&) = delete;

private:
    QString previous_;
};

} // namespace

bool TForm1::askForPrinter() {
    const InWorkingDirectory folder(WorkDir);
    return dialogs().printDialog(printer());
}

void TForm1::reportPrintFailure(const QString& error) {
    dialogs().showMessage(ymt::MessageKind::Error, error, ymt::ButtonSet::OK);
}

void TForm1::Drucken1Click() {
    selectPreferredPrinter();
    // Qt's dialog offers "<sample name>.pdf" when the operator chooses a PDF file.
    printer().setDocName(measurementNameEdit->text());
    if (!askForPrinter())
        return;
    drucken();
}

void TForm1::Button26Click() {
    if (!selectPreferredPrinter())
        return;
    drucken();
}

void TForm1::drucken() {
    int language = std::max(printLanguageGroup->itemIndex(), 0);
    if (language == 2) {
        const ymt::DialogButton answer =
            dialogs().showMessage(ymt::MessageKind::Confirmation,
                                  ymt::Text(ymt::Txt::AskPrintoutLanguage), ymt::ButtonSet::YesOK);
        language = answer == ymt::DialogButton::Yes ? 0 : 1;
    }
    QGuiApplication::clipboard()->setText(measurementNameEdit->text() + QStringLiteral(".pdf"));

    // The German geometry list follows the English one; the page shows the list of its language.
    geometryListGerman->setCurrentIndex(geometryList->currentIndex());
    ymt::PrintoutExtras texts;
    texts.Language = language;
    texts.ProductLine = QStringLiteral("Zelvanor Ymt %1 - impedance spectroscopy of piezoelectric "
                                       "samples")
                            .arg(VersionText.trimmed());
    const QLocale locale = QLocale::system();
    // One reading of the clock: two would pair one day's date with the next day's time at
    // midnight.
    const QDateTime now = ymt::clock::currentDateTime();
    texts.DateTime = locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral(" / ") +
                     locale.toString(now.time(), QLocale::ShortFormat);
    texts.Geometry = (language == 0 ? geometryList : geometryListGerman)->currentText();
    texts.QualityControl = {qcCapVerdict->text(), qcTandVerdict->text(), qcKeffVerdict->text(),
                            qcKVerdict->text(), qcFminVerdict->text()};

    QPrinter& page = printer();
    ymt::PrintJob job(page);
    QPainter painter;
    if (!job.begin(painter)) {
        reportPrintFailure(job.error());
        return;
    }
    const bool landscape = page.pageLayout().orientation() == QPageLayout::Landscape;
    const double unitX = page.logicalDpiX() / kUnitsPerInch;
    const double unitY = page.logicalDpiY() / kUnitsPerInch;
    const int printableWidth = static_cast<int>(std::lround(page.width() / unitX));
    const int printableHeight = static_cast<int>(std::lround(page.height() / unitY));
    ymt::DrawPrintoutPage(painter,
                          ymt::LayOutPrintoutPage(resultsSnapshot(), texts, landscape,
                                                  printableWidth, printableHeight),
                          unitX, unitY);

    const QString xTitle = fastgraph1->XAxis.Title();
    fastgraph1->XAxis.setTitle(ymt::Label(language, 14));
    ymt::DrawPlotInScreenUnits(painter, *fastgraph1,
                               ymt::PrintoutPlotRect(landscape, page.width(), page.height()),
                               double(page.logicalDpiX()) / fastgraph1->logicalDpiX(),
                               double(page.logicalDpiY()) / fastgraph1->logicalDpiY());
    fastgraph1->XAxis.setTitle(xTitle);
    if (!job.finish(painter))
        reportPrintFailure(job.error());
}

// Print protocol...: the protocol text as it stands in the memo, in a fixed-pitch font. It asks
// for the printer like "Print Spectrum...", so that the protocol can also go into a PDF file.
void TForm1::Button14Click() {
    selectPreferredPrinter();
    printer().setDocName(QStringLiteral("Protocol"));
    if (!askForPrinter())
        return;
    ymt::PrintJob job(printer());
    QPainter painter;
    if (!job.begin(painter)) {
        reportPrintFailure(job.error());
        return;
    }
    ymt::PrintTextLines(painter, printer(), Memo2->toPlainText().split(QLatin1Char('\n')),
                        QStringLiteral("Courier New"), 8);
    if (!job.finish(painter))
        reportPrintFailure(job.error());
}
