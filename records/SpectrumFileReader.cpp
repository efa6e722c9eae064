// Reads a spectrum text file into memory: the header fields line by line, then the rows through
// the shared row reader. Nothing here touches the window.
#include "records/SpectrumFile.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "core/TextFile.h"
#include "evaluation/CouplingFactors.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace ymt {
namespace {

// The text after the first ": ", whole: the program writes fields of any length and a reopened
// file gives back what was typed. Empty when the line has none.
QString afterColonBlank(const QString& line) {
    const qsizetype at = line.indexOf(QStringLiteral(": "));
    return at < 0 ? QString() : line.mid(at + 2);
}

// The text from the second character after the first ":".
QString afterColon(const QString& line) {
    const qsizetype at = line.indexOf(QLatin1Char(':'));
    return at < 0 ? QString() : line.mid(at + 2);
}

class HeaderLines {
public:
    explicit HeaderLines(QIODevice& device) : device_(device) {}
    // The next line; a file shorter than the header gives empty texts.
    QString next() {
        QByteArray line;
        if (!ReadFileLine(device_, line))
            return {};
        return DecodeCp1252(line);
    }

private:
    QIODevice& device_;
};

} // namespace

QString MeasuredByFromTitleLine(const QString& line) {
    const QString dashes = QStringLiteral(" -- ");
    qsizetype at = line.indexOf(dashes);
    if (at >= 0)
        return line.mid(at + dashes.size());
    // Older files without the separator name the operator after " von " or " by ".
    QString name = line;
    for (const QString& word : {QStringLiteral(" von "), QStringLiteral(" by ")}) {
        at = name.indexOf(word);
        if (at >= 0)
            name = name.mid(at + word.size());
    }
    return name;
}

int CouplingTypeFromLine(const QString& line) {
    int type = -1;
    // The mode names of the evaluation without their padding blanks ("kt ", "kp ").
    for (int i = 0; i < kCouplingModeCount; ++i)
        if (line.contains(ModeName(i).trimmed()))
            type = i;
    return type;
}

double LossTangentFromLine(const QString& line) {
    const double value = ParseNumber(afterColon(line));
    return line.contains(QStringLiteral("1e-3")) ? value * 10 : value;
}

SpectrumFileRead ReadSpectrumFile(const QString& path, qint64 maxRows) {
    SpectrumFileRead read;
    const QFileInfo info(path);
    if (!info.exists()) {
        read.status = SpectrumReadStatus::NotFound;
        return read;
    }
    if (info.isDir()) {
        read.status = SpectrumReadStatus::NotAFile;
        return read;
    }
    if (!info.isFile()) {
        read.status = SpectrumReadStatus::NotARegularFile;
        return read;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.status = file.exists() ? SpectrumReadStatus::CannotRead : SpectrumReadStatus::NotFound;
        read.error = path + QStringLiteral(": ") + file.errorString();
        return read;
    }
    return ReadSpectrumFile(file, maxRows);
}

SpectrumFileRead ReadSpectrumFile(QIODevice& device, qint64 maxRows) {
    SpectrumFileRead read;
    SpectrumFileContent& c = read.content;
    HeaderLines lines(device);
    const QString title = lines.next();
    if (!title.contains(QStringLiteral("mpedan"))) {
        read.status = SpectrumReadStatus::UnknownFormat;
        return read;
    }
    c.measuredBy = MeasuredByFromTitleLine(title);
    lines.next();
    c.material = afterColonBlank(lines.next());
    c.sampleName = afterColonBlank(lines.next());
    c.notes = afterColonBlank(lines.next());
    lines.next();
    c.electrodeDistance = afterColonBlank(lines.next());
    c.electrodeArea = afterColonBlank(lines.next());
    lines.next();
    c.capacitanceFrequency = afterColonBlank(lines.next());
    c.capacitance = afterColonBlank(lines.next());
    const QString tandLine = lines.next();
    c.tand = LossTangentFromLine(tandLine);
    c.hasTand = afterColon(tandLine).contains(QRegularExpression(QStringLiteral("[0-9]")));
    c.eps = afterColonBlank(lines.next());
    c.fmin = afterColonBlank(lines.next());
    c.fmax = afterColonBlank(lines.next());
    c.keff = afterColonBlank(lines.next());
    const QString modeLine = lines.next();
    c.couplingType = CouplingTypeFromLine(modeLine);
    c.kmode = afterColon(modeLine);

    QString line = lines.next();
    if (line.contains(QStringLiteral("Q(mech")))
        line = lines.next();
    if (!line.isEmpty()) {
        c.hasQuality = true;
        c.q3db = afterColon(line);
        c.b3db = afterColonBlank(lines.next());
        c.b3dbValue = ParseNumber(c.b3db.section(QLatin1Char('('), 0, 0));
        lines.next();
    }
    const QStringList titles = lines.next().split(QLatin1Char('\t'));
    c.leftAxisTitle = titles.value(1);
    c.rightAxisTitle = titles.value(2);

    c.rows = ReadSpectrumRows(device, maxRows);
    if (c.rows.tooManyRows)
        read.status = SpectrumReadStatus::TooManyRows;
    return read;
}

} // namespace ymt
