// One print job on a QPrinter. A job into a PDF file is printed into a temporary file beside it
// and replaces the file only when the page is complete, so that a failed print never destroys a
// PDF written earlier. Failures are reported as texts for the operator, never as success.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QPainter;
class QPrinter;
class QTemporaryFile;

namespace ymt {

class PrintJob {
public:
    explicit PrintJob(QPrinter& printer);
    ~PrintJob(); // a job that was not finished leaves no file behind
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // Starts the painter on the printer; false (with error()) when the printer or the file
    // cannot be opened.
    bool begin(QPainter& painter);
    // Ends the painter and puts a PDF file into place; false (with error()) on any failure.
    bool finish(QPainter& painter);

    // What went wrong, as the operator reads it.
    const QString& error() const { return error_; }
    // The printer or the PDF file the job goes to, as the operator knows it.
    QString target() const;

private:
    QPrinter& printer_;
    QString pdfPath_; // the file a PDF job replaces; empty for a printer
    std::unique_ptr<QTemporaryFile> partial_;
    QString error_;
};

// Prints plain text: every line preceded by one tab, in the given font, on as many pages as it
// takes. The painter must be active on the printer.
void PrintTextLines(QPainter& painter, QPrinter& printer, const QStringList& lines,
                    const QString& fontFamily, int pointSize);

} // namespace ymt
