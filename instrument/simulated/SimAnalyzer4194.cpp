// The command language of the simulated HP 4194A: "NAME=value", "NAMEn" and "NAME?" parts,
// traces as 13-byte fields, the service request at the end of a triggered sweep.
#include "instrument/simulated/SimAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ymt::sim {
namespace {

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::vector<ParsedCommand> parse4194(const QByteArray& message) {
    std::vector<ParsedCommand> parsed;
    for (const QByteArray& rawPart : message.split(';')) {
        const QByteArray part = rawPart.trimmed().toUpper();
        if (part.isEmpty())
            continue;
        qsizetype i = 0;
        while (i < part.size() && isLetter(part[i]))
            ++i;
        ParsedCommand command{part.left(i), {}};
        QByteArray rest = part.mid(i).trimmed();
        if (rest.startsWith('?')) {
            command.header += '?';
            rest = rest.mid(1).trimmed();
        } else if (rest.startsWith('=')) {
            rest = rest.mid(1).trimmed();
        }
        command.argument = rest;
        parsed.push_back(command);
    }
    return parsed;
}

// A 4194A field is 12 characters: sign, d.ddddd, E, sign, two exponent digits.
void appendField(QByteArray& out, double value) {
    if (!std::isfinite(value) || std::fabs(value) < 1e-99)
        value = 0;
    value = std::clamp(value, -9.99999e99, 9.99999e99);
    char field[24];
    std::snprintf(field, sizeof field, "%+.5E", value);
    out.append(field, 12);
}

void traceReply(SimAnalyzer& analyzer, char name) {
    const std::vector<double>& values = analyzer.trace(name);
    const int length = analyzer.traceLength();
    QByteArray out;
    out.reserve(length * 13);
    for (int i = 0; i < length; ++i) {
        const std::size_t index = std::min<std::size_t>(std::size_t(i), values.size() - 1);
        appendField(out, values[index]);
        // The last field ends with a line feed, sent with END.
        out += i + 1 < length ? ',' : '\n';
    }
    analyzer.reply(name == 'A' ? "A?" : "B?", out);
}

// NAMEn with n one of the listed codes.
bool codeArgument(const QByteArray& argument, int low, int high, int& code) {
    bool ok = false;
    code = argument.toInt(&ok);
    return ok && code >= low && code <= high;
}

const SimCommandSet& makeCommandSet() {
    static const SimCommandSet set{
        AnalyzerModel::HP4194A,
        100.0,
        40e6,
        2,
        401,
        401,
        150.0,
        4.0,
        "\r\n",
        parse4194,
        {
            // Sweep range, points, mode and trigger.
            {"START", setFrequency<&SimAnalyzer::setStart>},
            {"STOP", setFrequency<&SimAnalyzer::setStop>},
            {"CENTER", setFrequency<&SimAnalyzer::setCenter>},
            {"SPAN", setFrequency<&SimAnalyzer::setSpan>},
            {"NOP", setPointsCommand},
            {"SWM",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 int mode = 0;
                 if (!codeArgument(arg, 1, 2, mode))
                     return false;
                 a.continuous = mode == 1;
                 return true;
             }},
            {"SWTRG",
             [](SimAnalyzer& a, const QByteArray&) {
                 a.triggerSweep();
                 return true;
             }},
            {"RQS",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 int mask = 0;
                 if (!codeArgument(arg, 0, 255, mask))
                     return false;
                 a.serviceRequestEnabled = (mask & 2) != 0;
                 return true;
             }},
            // Measurement function, averaging, oscillator level and bias.
            {"IMP", [](SimAnalyzer& a,
                       const QByteArray& arg) { return codeArgument(arg, 1, 20, a.function); }},
            {"NOA",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 int count = 0;
                 // The analyzer averages 1, 2, 4 ... 256 sweeps.
                 if (!codeArgument(arg, 1, 256, count) || (count & (count - 1)) != 0)
                     return false;
                 a.averaging = count;
                 return true;
             }},
            {"OSC",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 double volts = 0;
                 if (!SimAnalyzer::numberArgument(arg, volts))
                     return false;
                 a.oscLevelV = std::clamp(volts, 0.01, 1.0);
                 return true;
             }},
            {"BIAS",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 double volts = 0;
                 if (!SimAnalyzer::numberArgument(arg, volts))
                     return false;
                 a.biasV = std::clamp(volts, -40.0, 40.0);
                 a.biasOn = true;
                 return true;
             }},
            {"DCOFF",
             [](SimAnalyzer& a, const QByteArray&) {
                 a.biasOn = false;
                 return true;
             }},
            // Open/short compensation.
            {"SHT",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 int on = 0;
                 return codeArgument(arg, 0, 1, on) && ((a.shortCompensation = on == 1), true);
             }},
            {"OPN",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 int on = 0;
                 return codeArgument(arg, 0, 1, on) && ((a.openCompensation = on == 1), true);
             }},
            {"CMPN",
             [](SimAnalyzer&, const QByteArray& arg) {
                 int mode = 0;
                 return codeArgument(arg, 1, 2, mode);
             }},
            {"ZOPEN",
             [](SimAnalyzer& a, const QByteArray&) {
                 a.beginOperation(2000);
                 return true;
             }},
            {"ZSHRT",
             [](SimAnalyzer& a, const QByteArray&) {
                 a.beginOperation(2000);
                 return true;
             }},
            // Display.
            {"ASC",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 int scale = 0;
                 return codeArgument(arg, 1, 2, scale) && ((a.logScaleA = scale == 2), true);
             }},
            {"BSC",
             [](SimAnalyzer& a, const QByteArray& arg) {
                 int scale = 0;
                 return codeArgument(arg, 1, 2, scale) && ((a.logScaleB = scale == 2), true);
             }},
            {"DPB", [](SimAnalyzer& a,
                       const QByteArray& arg) { return codeArgument(arg, 1, 3, a.displayMode); }},
            {"AUTO", [](SimAnalyzer&, const QByteArray&) { return true; }},
            // Queries.
            {"START?",
             [](SimAnalyzer& a, const QByteArray&) { return replyNumber(a, "START?", a.startHz); }},
            {"STOP?",
             [](SimAnalyzer& a, const QByteArray&) { return replyNumber(a, "STOP?", a.stopHz); }},
            {"CENTER?",
             [](SimAnalyzer& a, const QByteArray&) {
                 return replyNumber(a, "CENTER?", (a.startHz + a.stopHz) / 2);
             }},
            {"SPAN?",
             [](SimAnalyzer& a, const QByteArray&) {
                 return replyNumber(a, "SPAN?", a.stopHz - a.startHz);
             }},
            {"NOP?",
             [](SimAnalyzer& a, const QByteArray&) { return replyNumber(a, "NOP?", a.points); }},
            {"A?",
             [](SimAnalyzer& a, const QByteArray&) {
                 traceReply(a, 'A');
                 return true;
             }},
            {"B?",
             [](SimAnalyzer& a, const QByteArray&) {
                 traceReply(a, 'B');
                 return true;
             }},
        }};
    return set;
}

} // namespace

const SimCommandSet& hp4194CommandSet() {
    return makeCommandSet();
}

} // namespace ymt::sim
