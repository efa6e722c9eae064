// Formats of the protocol's lines and the protocol file reader.
#include "records/Protocol.h"

#include "core/Misc.h"
#include "core/TextFile.h"

#include <QFileInfo>

namespace ymt {
namespace {

const QChar kTab = QLatin1Char('\t');

} // namespace

QString ProtocolColumnTitles(const QString& sampleWord, const QString& sampleName,
                             const QString& frequencyText, const QString& lossTangentUnit,
                             const QString& modeCaption) {
    const QStringList fields{
        PadToMultiple(sampleWord, static_cast<int>(sampleName.size())),
        QStringLiteral("f(min)[kHz]"),
        QStringLiteral("f(max)[kHz]"),
        QStringLiteral("Rs [Ohm]"),
        QStringLiteral("C(") + frequencyText + QStringLiteral("kHz)[nF]"),
        QStringLiteral("tand ") + lossTangentUnit,
        QStringLiteral("eps(rel)"),
        QStringLiteral("k(eff)[%]"),
        modeCaption.left(4).leftJustified(4, QLatin1Char(' ')) + QStringLiteral("[%]"),
        QStringLiteral("Q(3dB)"),
        QStringLiteral("B(3dB)"),
    };
    return fields.join(kTab);
}

QStringList ProtocolHeaderBlock(const ProtocolHeaderTexts& texts) {
    return {
        QStringLiteral(" "),
        QStringLiteral("Material         : ") + texts.Material,
        texts.NotesLabel + QStringLiteral("            : ") + texts.Notes,
        texts.DateTimeLabel + QLatin1Char(' ') + texts.Date + QStringLiteral(" - ") + texts.Time +
            QStringLiteral(" - ") + texts.MeasuredBy,
        texts.ColumnTitles,
        QStringLiteral(" "),
    };
}

QString ProtocolResultLine(const ProtocolResultTexts& t) {
    const QStringList fields{
        t.SampleName,
        PadToMultiple(t.FMin, 11),
        PadToMultiple(t.FMax, 11),
        PadToMultiple(t.Rs, 8),
        PadToMultiple(t.Cap, 15),
        PadToMultiple(t.TanD, 10),
        PadToMultiple(t.Eps, 8),
        PadToMultiple(t.KEff, 9),
        PadToMultiple(t.KMode, 7),
        PadToMultiple(t.Q3dB, 7),
        PadToMultiple(t.B3dB, 7),
    };
    return fields.join(kTab);
}

ProtocolLoad LoadProtocolFile(const QString& path) {
    ProtocolLoad load;
    const QFileInfo info(path);
    if (info.isDir()) {
        load.Error = QStringLiteral("%1 is a folder, not a protocol file.").arg(path);
        return load;
    }
    if (FileSizeKB(path) > kProtocolLoadLimitKB) {
        load.Status = ProtocolLoadStatus::TooLarge;
        return load;
    }
    if (!ReadTextFile(path, load.Lines, &load.Error)) {
        load.Lines.clear();
        return load;
    }
    for (QString& line : load.Lines)
        line.replace(QChar(0), QLatin1Char(' '));
    load.Status = ProtocolLoadStatus::Loaded;
    return load;
}

} // namespace ymt
