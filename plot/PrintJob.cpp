#include "plot/PrintJob.h"

#include "core/FileWrite.h"
#include "localisation/ProgramTexts.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryFile>
#include <QTextDocument>

namespace ymt {

PrintJob::PrintJob(QPrinter& printer) : printer_(printer) {}

PrintJob::~PrintJob() {
    // The printer keeps pointing at the operator's file, not at the partial one.
    if (!pdfPath_.isEmpty())
        printer_.setOutputFileName(pdfPath_);
}

QString PrintJob::target() const {
    if (!pdfPath_.isEmpty())
        return pdfPath_;
    return printer_.printerName();
}

bool PrintJob::begin(QPainter& painter) {
    error_.clear();
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        pdfPath_ = printer_.outputFileName();
        if (pdfPath_.isEmpty()) {
            // Qt falls back to PDF output without a file when no printer is installed.
            error_ = Text(Txt::PrintNoPrinter);
            return false;
        }
        const QFileInfo info(pdfPath_);
        if (info.isDir()) {
            error_ = Text(Txt::PrintTargetIsFolder).arg(pdfPath_);
            return false;
        }
        partial_ =
            std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.") +
                                             info.fileName() + QStringLiteral(".XXXXXX.part"));
        if (!partial_->open()) {
            error_ = Text(Txt::PrintCannotPrintTo).arg(pdfPath_, partial_->errorString());
            partial_.reset();
            return false;
        }
        partial_->close();
        printer_.setOutputFileName(partial_->fileName());
    }
    if (!painter.begin(&printer_)) {
        error_ = pdfPath_.isEmpty() ? Text(Txt::PrintPrinterCannotOpen).arg(target())
                                    : Text(Txt::PrintCannotPrint).arg(pdfPath_);
        return false;
    }
    return true;
}

bool PrintJob::finish(QPainter& painter) {
    const bool ended = painter.end();
    if (!ended || printer_.printerState() == QPrinter::Error) {
        error_ = Text(Txt::PrintFailed).arg(target());
        return false;
    }
    if (pdfPath_.isEmpty())
        return true;
    QFile partial(partial_->fileName());
    QString reason;
    bool written = false;
    if (!partial.open(QIODevice::ReadOnly)) {
        reason = partial.errorString();
    } else {
        const QByteArray pdf = partial.readAll();
        // The printer writes its page unchecked: a full disk shows as a document without its end.
        if (!pdf.trimmed().endsWith("%%EOF"))
            reason = Text(Txt::PrintPageIncomplete);
        else
            written = ReplaceFileContents(pdfPath_, pdf, &reason);
    }
    if (!written)
        error_ = Text(Txt::PrintCannotPrintTo).arg(pdfPath_, reason);
    partial.close();
    partial_.reset();
    printer_.setOutputFileName(pdfPath_);
    return written;
}

void PrintTextLines(QPainter& painter, QPrinter& printer, const QStringList& lines,
                    const QString& fontFamily, int pointSize) {
    QStringList tabbed;
    tabbed.reserve(lines.size());
    for (const QString& line : lines)
        tabbed.append(QLatin1Char('\t') + line);
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer);
    QFont font(fontFamily);
    font.setPointSize(pointSize);
    document.setDefaultFont(font);
    document.setPlainText(tabbed.join(QLatin1Char('\n')));
    const QSizeF page(printer.width(), printer.height());
    document.setPageSize(page);
    for (int n = 0; n < document.pageCount(); ++n) {
        if (n > 0)
            printer.newPage();
        painter.save();
        painter.translate(0, -n * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(QPointF(0, n * page.height()), page);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

} // namespace ymt
