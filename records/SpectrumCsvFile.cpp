// The CSV writer and the readers that turn CSV and analyzer data files into the content the
// window applies as it does for the program's own spectrum file.
#include "records/SpectrumCsvFile.h"

#include "core/NumberParsing.h"
#include "core/SpectrumPointFile.h"
#include "core/TextFile.h"
#include "evaluation/DisplayQuantities.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace ymt {
namespace {

// The keys of the results, written and read under the same names.
const char kTandPerMille[] = "tand_1e-3";
const char kTandPer10000[] = "tand_1e-4";

QByteArray keyLine(const QString& key, const QString& value) {
    // A line break inside a field would end the "#" line and begin a row that is none.
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]+"));
    return "# " + key.toUtf8() + ": " +
           QString(value).replace(lineBreak, QStringLiteral(" ")).toUtf8() + '\n';
}

// "k31" of the mode caption "k31        [%]"; empty when it names no mode.
QString modeKey(const QString& caption) {
    const QString mode = caption.left(4).trimmed();
    return mode.isEmpty() ? QString() : mode + QStringLiteral("_percent");
}

bool isModeKey(const QString& key) {
    static const QRegularExpression mode(QStringLiteral("^k(31|33|t|15|p)_percent$"));
    return mode.match(key).hasMatch();
}

void useDisplayPairOneTitles(SpectrumFileContent& content) {
    const DisplayPairTexts texts = DisplayPairCaptions(1);
    content.leftAxisTitle = texts.YAxisTitle;
    content.rightAxisTitle = texts.Y2AxisTitle;
}

} // namespace

QByteArray SpectrumCsvBytes(const ResultsSnapshot& s, const QString& dateTime,
                            const CurveStore& store,
                            std::optional<std::pair<double, double>> visibleRange) {
    const ShownResults& r = s.Shown;
    QByteArray out = "# Zelvanor Ymt spectrum: frequency in kHz, |Z| in ohm, theta in degrees\n";
    out += keyLine(QStringLiteral("date"), dateTime);
    out += keyLine(QStringLiteral("measured_by"), s.Sample.MeasuredBy);
    out += keyLine(QStringLiteral("material"), s.Sample.Material);
    out += keyLine(QStringLiteral("sample"), s.SampleNameText);
    out += keyLine(QStringLiteral("notes"), s.NotesText);
    out += keyLine(QStringLiteral("electrode_distance_mm"), s.ElectrodeDistanceText);
    out += keyLine(QStringLiteral("electrode_area_mm2"), s.ElectrodeAreaText);
    // The density only when the operator typed one: no line is better than an invented value.
    if (s.Sample.DensityKgM3)
        out += keyLine(QStringLiteral("density_kg_m3"),
                       QString::number(*s.Sample.DensityKgM3, 'g', QLocale::FloatingPointShortest));
    out += keyLine(QStringLiteral("averaging"), s.Averaging);
    out += keyLine(QStringLiteral("osc_level_V"), s.Voltage);
    out += keyLine(QStringLiteral("dc_bias_V"), s.Bias);
    out += keyLine(QStringLiteral("capacitance_frequency_kHz"), s.CapFrequency);
    out += keyLine(QStringLiteral("capacitance_nF"), ResultText(r.Cap));
    out += keyLine(
        QLatin1String(s.TandUnit.contains(QStringLiteral("1e-3")) ? kTandPerMille : kTandPer10000),
        ResultText(r.TanD));
    out += keyLine(QStringLiteral("eps_rel"), ResultText(r.Eps));
    out += keyLine(QStringLiteral("rs_ohm"), ResultText(r.Rs));
    out += keyLine(QStringLiteral("fmin_kHz"), ResultText(r.FMin));
    out += keyLine(QStringLiteral("fmax_kHz"), ResultText(r.FMax));
    out += keyLine(QStringLiteral("keff_percent"), ResultText(r.KEff));
    const QString mode = modeKey(s.ModeCaption);
    if (!mode.isEmpty())
        out += keyLine(mode, ResultText(r.KMode));
    out += keyLine(QStringLiteral("q_3dB"), ResultText(r.Q3dB));
    out += keyLine(QStringLiteral("b_3dB_kHz"), ResultText(r.B3dB));
    out += kSpectrumCsvTitles;
    out += '\n';
    const Curve& magnitude = store.curve(3);
    const Curve& phase = store.curve(4);
    const std::size_t count = std::min(magnitude.Points.size(), phase.Points.size());
    out.reserve(out.size() + qsizetype(count) * 40);
    for (std::size_t i = 0; i < count; ++i) {
        const double f = magnitude.Points[i].x;
        if (visibleRange && !(f > visibleRange->first && f < visibleRange->second))
            continue;
        out += SpectrumCsvRow({f, magnitude.Points[i].y, phase.Points[i].y});
    }
    return out;
}

SpectrumFileContent SpectrumContentOfCsv(const SpectrumCsvRead& csv) {
    SpectrumFileContent c;
    auto value = [&csv](const char* key) {
        for (const auto& [name, text] : csv.keys)
            if (name == QLatin1String(key))
                return text;
        return QString();
    };
    c.measuredBy = value("measured_by");
    c.material = value("material");
    c.sampleName = value("sample");
    c.notes = value("notes");
    c.electrodeDistance = value("electrode_distance_mm");
    c.electrodeArea = value("electrode_area_mm2");
    c.capacitanceFrequency = value("capacitance_frequency_kHz");
    c.capacitance = value("capacitance_nF");
    const QString perMille = value(kTandPerMille);
    const QString tand = perMille.isEmpty() ? value(kTandPer10000) : perMille;
    c.hasTand = tand.contains(QRegularExpression(QStringLiteral("[0-9]")));
    c.tand = ParseNumber(tand) * (perMille.isEmpty() ? 1 : 10);
    c.eps = value("eps_rel");
    c.fmin = value("fmin_kHz");
    c.fmax = value("fmax_kHz");
    c.keff = value("keff_percent");
    for (const auto& [name, text] : csv.keys)
        if (isModeKey(name)) {
            c.couplingType = CouplingTypeFromLine(name);
            c.kmode = text;
        }
    for (const auto& [name, text] : csv.keys)
        if (name == QLatin1String("q_3dB")) {
            c.hasQuality = true;
            c.q3db = text;
            c.b3db = value("b_3dB_kHz");
            c.b3dbValue = ParseNumber(c.b3db);
        }
    useDisplayPairOneTitles(c);
    c.rows.points = csv.points;
    return c;
}

SpectrumFileContent SpectrumContentOfAnalyzerData(const AnalyzerDataFile& file,
                                                  const QString& fileName) {
    SpectrumFileContent c;
    c.sampleName = QFileInfo(fileName).completeBaseName();
    c.notes = AnalyzerDataNotes(file);
    // No result was determined from these points yet: every result shows "---".
    for (QString* result : {&c.capacitance, &c.eps, &c.fmin, &c.fmax, &c.keff, &c.kmode})
        *result = QStringLiteral("---");
    useDisplayPairOneTitles(c);
    c.rows.points = file.points;
    return c;
}

SpectrumFileRead ReadAnySpectrumFile(const QString& path) {
    SpectrumFileRead read;
    const QFileInfo info(path);
    if (!info.exists()) {
        read.status = SpectrumReadStatus::NotFound;
        return read;
    }
    if (info.isDir() || !info.isFile())
        return ReadSpectrumFile(path); // names the kind of file
    QFile file(path);
    QByteArray firstLine;
    if (file.open(QIODevice::ReadOnly))
        ReadFileLine(file, firstLine);
    const SpectrumFileKind kind = SpectrumFileKindOf(firstLine);
    if (kind != SpectrumFileKind::AnalyzerData && kind != SpectrumFileKind::Csv)
        return ReadSpectrumFile(path);
    file.close();
    QByteArray bytes;
    QString reason;
    if (!ReadWholeFile(path, bytes, &reason)) {
        read.status = SpectrumReadStatus::CannotRead;
        read.error = path + QStringLiteral(": ") + reason;
        return read;
    }
    const QString name = QFileInfo(path).fileName();
    if (kind == SpectrumFileKind::AnalyzerData) {
        const AnalyzerDataRead data = ParseAnalyzerDataFile(bytes);
        if (!data.ok) {
            read.status = SpectrumReadStatus::Refused;
            read.error = name + QStringLiteral(": ") + data.error;
            return read;
        }
        read.content = SpectrumContentOfAnalyzerData(data.file, path);
        read.phasesOutside90 = data.file.phasesOutside90;
        return read;
    }
    const SpectrumCsvRead csv = ParseSpectrumCsv(bytes);
    if (!csv.ok) {
        read.status = SpectrumReadStatus::Refused;
        read.error = name + QStringLiteral(": ") + csv.error;
        return read;
    }
    read.content = SpectrumContentOfCsv(csv);
    for (const SpectrumPoint& point : csv.points)
        read.phasesOutside90 += std::fabs(point.phase) > 90 ? 1 : 0;
    return read;
}

} // namespace ymt
