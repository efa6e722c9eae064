// Reading a printed PDF back with the poppler tools, independently of the Qt code that wrote it:
// its text, the boxes of its words (in points) and its page count and size.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

namespace ymt::test {

inline QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of the PDF as pdftotext lays it out.
inline QString PdfText(const QString& path) {
    return RunTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

// "Pages:" and "Page size:" of pdfinfo.
struct PdfInfo {
    int pages = 0;
    QString pageSize;
};
inline PdfInfo ReadPdfInfo(const QString& path) {
    PdfInfo info;
    for (const QString& line : RunTool(QStringLiteral("pdfinfo"), {path}).split('\n')) {
        if (line.startsWith(QLatin1String("Pages:")))
            info.pages = line.mid(6).trimmed().toInt();
        if (line.startsWith(QLatin1String("Page size:")))
            info.pageSize = line.mid(10).trimmed();
    }
    return info;
}

struct PdfWord {
    QString text;
    double xMin, yMin, xMax, yMax; // points, from the top left corner of the page
};
inline std::vector<PdfWord> PdfWords(const QString& path) {
    const QString html =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

// The first word with this text; a word with empty text when there is none.
inline PdfWord FindPdfWord(const std::vector<PdfWord>& words, const QString& text) {
    for (const PdfWord& w : words)
        if (w.text == text)
            return w;
    return {QString(), 0, 0, 0, 0};
}

} // namespace ymt::test
