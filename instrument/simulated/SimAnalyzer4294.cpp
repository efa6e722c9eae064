// The command language of the simulated HP 4294A: "HEADER parameter" commands separated by
// ";", traces as comma-separated value pairs, "*OPC?" answered once the analyzer is idle.
#include "instrument/simulated/SimAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ymt::sim {
namespace {

std::vector<ParsedCommand> parse4294(const QByteArray& message) {
    std::vector<ParsedCommand> parsed;
    for (const QByteArray& rawPart : message.split(';')) {
        const QByteArray part = rawPart.trimmed();
        if (part.isEmpty())
            continue;
        const qsizetype blank = part.indexOf(' ');
        ParsedCommand command;
        command.header = (blank < 0 ? part : part.left(blank)).toUpper();
        command.argument = blank < 0 ? QByteArray() : part.mid(blank + 1).trimmed().toUpper();
        parsed.push_back(command);
    }
    return parsed;
}

// MEAS parameters in the order of the display pair codes 1-20.
constexpr const char* kFunctionNames[] = {"IMPH", "IRIM", "LSR",  "LSQ",  "CSR", "CSQ", "CSD",
                                          "AMPH", "ARIM", "LPG",  "LPQ",  "CPG", "CPQ", "CPD",
                                          "IMLS", "IMCS", "IMLP", "IMCP", "LPR", "CPR"};

// Each value is followed by 0, as the instrument sends for scalar parameters.
void traceReply(SimAnalyzer& analyzer) {
    const std::vector<double>& values = analyzer.trace(analyzer.activeTrace);
    const int length = analyzer.traceLength();
    QByteArray out;
    out.reserve(length * 34);
    char number[40];
    for (int i = 0; i < length; ++i) {
        const std::size_t index = std::min<std::size_t>(std::size_t(i), values.size() - 1);
        const int size = std::snprintf(number, sizeof number, "%+.9E,+0.000000000E+00",
                                       std::isfinite(values[index]) ? values[index] : 0.0);
        if (i > 0)
            out += ',';
        out.append(number, size);
    }
    analyzer.reply("OUTPDTRC?", out);
}

// FORM4 (ASCII) numbers, comma-separated: one per point.
void sweepParameterReply(SimAnalyzer& analyzer) {
    const std::vector<double> hz = analyzer.sweepFrequencies();
    QByteArray out;
    out.reserve(qsizetype(hz.size()) * 17);
    char number[24];
    for (std::size_t i = 0; i < hz.size(); ++i) {
        const int size = std::snprintf(number, sizeof number, "%+.9E", hz[i]);
        if (i > 0)
            out += ',';
        out.append(number, size);
    }
    analyzer.reply("OUTPSWPRM?", out);
}

bool noArgument(const QByteArray& argument) {
    return argument.isEmpty();
}

const SimCommandSet& makeCommandSet() {
    static const SimCommandSet set{
        AnalyzerModel::HP4294A,
        40.0,
        110e6,
        2,
        801,
        201,
        100.0,
        3.0,
        "\n",
        parse4294,
        {
            {"PRES",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 a.preset();
                 a.beginOperation(500);
                 return noArgument(arg);
             }},
            // Sweep range, points, mode and trigger.
            {"STAR", setFrequency<&SimAnalyzer::setStart>},
            {"STOP", setFrequency<&SimAnalyzer::setStop>},
            {"CENT", setFrequency<&SimAnalyzer::setCenter>},
            {"SPAN", setFrequency<&SimAnalyzer::setSpan>},
            {"POIN", setPointsCommand},
            {"CONT",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 a.continuous = true;
                 return noArgument(arg);
             }},
            {"SING",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 a.continuous = false;
                 a.triggerSweep();
                 return noArgument(arg);
             }},
            {"HOLD",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 a.continuous = false;
                 return noArgument(arg);
             }},
            // ASCII is the only data format the simulation sends.
            {"FORM4", [](SimAnalyzer&, const QByteArray& arg) { return noArgument(arg); }},
            // Measurement function, averaging, oscillator level and bias.
            {"MEAS",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 for (int code = 1; code <= 20; ++code)
                     if (arg == kFunctionNames[code - 1]) {
                         a.function = code;
                         return true;
                     }
                 return false;
             }},
            {"PAVERFACT",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 double count = 0;
                 if (!SimAnalyzer::numberArgument(arg, count) || count < 1 || count > 256)
                     return false;
                 a.averaging = static_cast<int>(std::round(count));
                 return true;
             }},
            {"PAVER",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 return SimAnalyzer::switchArgument(arg, a.averagingOn);
             }},
            {"AVERREST", [](SimAnalyzer&, const QByteArray& arg) { return noArgument(arg); }},
            {"POWMOD", [](SimAnalyzer&, const QByteArray& arg) { return arg == "VOLT"; }},
            {"POWE",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 double volts = 0;
                 if (!SimAnalyzer::numberArgument(arg, volts))
                     return false;
                 a.oscLevelV = std::clamp(volts, 0.005, 1.0);
                 return true;
             }},
            {"DCMOD", [](SimAnalyzer&, const QByteArray& arg) { return arg == "VOLT"; }},
            {"DCV",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 double volts = 0;
                 if (!SimAnalyzer::numberArgument(arg, volts))
                     return false;
                 a.biasV = std::clamp(volts, -40.0, 40.0);
                 return true;
             }},
            {"DCO",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 return SimAnalyzer::switchArgument(arg, a.biasOn);
             }},
            // Open/short compensation: state and the measurement of the fixture.
            {"COMSTA",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 return SimAnalyzer::switchArgument(arg, a.openCompensation);
             }},
            {"COMSTB",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 return SimAnalyzer::switchArgument(arg, a.shortCompensation);
             }},
            {"COMA",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 a.beginOperation(a.sweepDurationMs());
                 return noArgument(arg);
             }},
            {"COMB",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 a.beginOperation(a.sweepDurationMs());
                 return noArgument(arg);
             }},
            // Display.
            {"TRAC",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 if (arg != "A" && arg != "B")
                     return false;
                 a.activeTrace = arg[0];
                 return true;
             }},
            {"FMT",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 if (arg != "LOGY" && arg != "LINY")
                     return false;
                 (a.activeTrace == 'A' ? a.logScaleA : a.logScaleB) = arg == "LOGY";
                 return true;
             }},
            {"AUTO", [](SimAnalyzer&, const QByteArray& arg) { return noArgument(arg); }},
            // Queries.
            {"STAR?",
             [](SimAnalyzer& a, const QByteArray&) { return replyNumber(a, "STAR?", a.startHz); }},
            {"STOP?",
             [](SimAnalyzer& a, const QByteArray&) { return replyNumber(a, "STOP?", a.stopHz); }},
            {"CENT?",
             [](SimAnalyzer& a, const QByteArray&) {
                 return replyNumber(a, "CENT?", (a.startHz + a.stopHz) / 2);
             }},
            {"SPAN?",
             [](SimAnalyzer& a, const QByteArray&) {
                 return replyNumber(a, "SPAN?", a.stopHz - a.startHz);
             }},
            {"POIN?",
             [](SimAnalyzer& a, const QByteArray&) {
                 a.reply("POIN?", QByteArray::number(a.points));
                 return true;
             }},
            {"MEAS?",
             [](SimAnalyzer& a, const QByteArray&) {
                 a.reply("MEAS?", kFunctionNames[std::clamp(a.function, 1, 20) - 1]);
                 return true;
             }},
            {"OUTPSWPRM?",
             [](SimAnalyzer& a, const QByteArray&) {
                 sweepParameterReply(a);
                 return true;
             }},
            {"*IDN?",
             [](SimAnalyzer& a, const QByteArray&) {
                 a.reply("*IDN?", "HEWLETT-PACKARD,4294A,0,1.11");
                 return true;
             }},
            {"OUTPDTRC?",
             [](SimAnalyzer& a, const QByteArray&) {
                 traceReply(a);
                 return true;
             }},
            {"*OPC?",
             [](SimAnalyzer& a, const QByteArray&) {
                 a.reply("*OPC?", "1", a.busyUntil());
                 return true;
             }},
        }};
    return set;
}

} // namespace

const SimCommandSet& hp4294CommandSet() {
    return makeCommandSet();
}

} // namespace ymt::sim
