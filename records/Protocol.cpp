// Formats of the protocol's lines and the protocol file reader.
#include "records/Protocol.h"

#include "core/Misc.h"
#include "core/TextCatalogue.h"
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

QStringList ProtocolHeaderBlock(const ResultsSnapshot& snapshot, const QString& notesLabel,
                                const QString& dateTimeLabel, const QString& date,
                                const QString& time, const QString& columnTitles) {
    const SampleDescription& sample = snapshot.Sample;
    QStringList block{
        QStringLiteral(" "),
        QStringLiteral("Material         : ") + sample.Material,
        notesLabel + QStringLiteral("            : ") + sample.Notes,
    };
    // Only a typed density has a line, so that headers without one keep their layout.
    if (sample.DensityKgM3)
        block << QStringLiteral("Density          : ") +
                     QString::number(*sample.DensityKgM3, 'g', 6) + QStringLiteral(" kg/m^3");
    block << dateTimeLabel + QLatin1Char(' ') + date + QStringLiteral(" - ") + time +
                 QStringLiteral(" - ") + sample.MeasuredBy
          << columnTitles << QStringLiteral(" ");
    return block;
}

QString ProtocolResultLine(const ResultsSnapshot& snapshot) {
    const ShownResults& r = snapshot.Shown;
    // Rs is written from the evaluation's record with one decimal, whatever the label rounds to.
    const QString rs =
        r.Rs.IsDetermined() ? FixedText(snapshot.Values.ZMin, 0, 1) : ResultText(r.Rs);
    const QStringList fields{
        snapshot.Sample.SampleName,
        PadToMultiple(ResultText(r.FMin), 11),
        PadToMultiple(ResultText(r.FMax), 11),
        PadToMultiple(rs, 8),
        PadToMultiple(ResultText(r.Cap), 15),
        PadToMultiple(ResultText(r.TanD), 10),
        PadToMultiple(ResultText(r.Eps), 8),
        PadToMultiple(ResultText(r.KEff), 9),
        PadToMultiple(ResultText(r.KMode), 7),
        PadToMultiple(ResultText(r.Q3dB), 7),
        PadToMultiple(ResultText(r.B3dB), 7),
    };
    return fields.join(kTab);
}

ProtocolLoad LoadProtocolFile(const QString& path) {
    ProtocolLoad load;
    const QFileInfo info(path);
    if (info.isDir()) {
        load.Error = Text(Txt::ProtocolIsFolder).arg(path);
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
