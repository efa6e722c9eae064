// The state lines of the window (key=value, doubles with %.17g) that scripts and tests read.
#include "app/MainWindow.h"

#include "plot/FastGraph.h"

#include <QLabel>

namespace {

QString number(double value) {
    return QString::asprintf("%.17g", value);
}

} // namespace

QStringList TForm1::stateLines() {
    QStringList lines;
    auto add = [&lines](const char* key, const QString& value) {
        lines << QString::fromLatin1(key) + QLatin1Char('=') + value;
    };
    auto addNumber = [&add](const char* key, double value) { add(key, number(value)); };
    auto addInt = [&add](const char* key, long long value) { add(key, QString::number(value)); };

    const ymt::EvaluationResults& r = Results;
    addNumber("FMin", r.FMin);
    addNumber("FMax", r.FMax);
    addNumber("ZMin", r.ZMin);
    addNumber("ZMax", r.ZMax);
    addInt("IndexMin", r.IndexMin);
    addInt("IndexMax", r.IndexMax);
    addNumber("B3dB", r.B3dB);
    addNumber("Q3dB", r.Q3dB);
    addNumber("KEff", r.KEff);
    addNumber("KMode", r.KMode);
    addNumber("CapNF", r.CapNF);
    addNumber("TanD", r.TanD);
    addNumber("EpsRel", r.EpsRel);
    addNumber("ZAvg", r.ZAvg);
    addNumber("ThetaAvg", r.ThetaAvg);

    addInt("AnalyzerHandle", AnalyzerHandle);
    addInt("AnalyzerModel", AnalyzerModel);
    addNumber("AnalyzerMin", AnalyzerMin);
    addNumber("AnalyzerMax", AnalyzerMax);
    addNumber("RangeStart", RangeStart);
    addNumber("RangeStop", RangeStop);
    addInt("PointsPerRange", PointsPerRange);
    addInt("CompletionTimeout", CompletionTimeout);
    addInt("Averaging", Averaging);
    addNumber("OscLevel", OscLevel);
    addNumber("BiasLevel", BiasLevel);

    addInt("DisplayCode", DisplayCode);
    addNumber("MinMarker", MinMarker);
    addNumber("MaxMarker", MaxMarker);
    addInt("ShowMarkers", ShowMarkers ? 1 : 0);
    add("PlotPrompt", PlotPrompt);
    addInt("ZoomDepth", ZoomHistory.depth());
    addInt("AwaitMinClick", AwaitMinClick ? 1 : 0);
    addInt("AwaitMaxClick", AwaitMaxClick ? 1 : 0);

    add("ProgramDir", ProgramDir);
    add("WorkDir", WorkDir);
    add("BackupDir", BackupDir);

    const struct {
        const char* key;
        QLabel* label;
    } labels[] = {
        {"label.C", capValue},      {"label.tand", tandValue},   {"label.eps", epsValue},
        {"label.fmin", fminValue},  {"label.fmax", fmaxValue},   {"label.Rs", rsValue},
        {"label.keff", keffValue},  {"label.kmode", kmodeValue}, {"label.Q3dB", q3dbValue},
        {"label.B3dB", b3dbValue},  {"label.D", dValue},         {"qc.C", qcCapVerdict},
        {"qc.tand", qcTandVerdict}, {"qc.keff", qcKeffVerdict},  {"qc.k", qcKVerdict},
        {"qc.fmin", qcFminVerdict}};
    for (const auto& entry : labels)
        add(entry.key, entry.label->text());
    // Verdict colours as 0x00BBGGRR.
    const struct {
        const char* key;
        QLabel* label;
    } verdictColors[] = {{"qccolor.C", qcCapVerdict},
                         {"qccolor.tand", qcTandVerdict},
                         {"qccolor.keff", qcKeffVerdict},
                         {"qccolor.k", qcKVerdict},
                         {"qccolor.fmin", qcFminVerdict}};
    for (const auto& entry : verdictColors) {
        const QColor color = entry.label->palette().color(QPalette::WindowText);
        add(entry.key, QString::asprintf("0x%06X", unsigned(ymt::fromQColor(color))));
    }
    addInt("ProtocolChanged", ProtocolChanged ? 1 : 0);
    addInt("HeaderChanged", HeaderChanged ? 1 : 0);
    add("ProtocolFileName", ProtocolFileName);
    addNumber("ElectrodeArea", Sample.ElectrodeArea);
    addNumber("ElectrodeDistance", Sample.ElectrodeDistance);
    // The titles the three plots show, and whether their frequency axis is logarithmic.
    for (const ymt::TFastGraph* plot : {fastgraph1, qgraph, dauergraph}) {
        const QString name = plot->objectName();
        lines << name + QStringLiteral(".Title=") + plot->Title()
              << name + QStringLiteral(".XAxisTitle=") + plot->XAxis.Title()
              << name + QStringLiteral(".YAxisTitle=") + plot->YAxis.Title()
              << name + QStringLiteral(".Y2AxisTitle=") + plot->Y2Axis.Title()
              << name + QStringLiteral(".XLog=") + QString::number(plot->XAxis.Log() ? 1 : 0);
    }
    lines << comparisonStateLines();
    appendCircuitFitState(lines);
    appendMaterialState(lines);
    return lines;
}
