// Feeds arbitrary bytes, read as UTF-8 and as code page 1252, to the reading of test and demo
// scripts: a malformed script names one line of it and yields no steps; a good one yields steps
// in the order of their lines.
#include "app/automation/ScriptParser.h"
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"

#include <cstddef>
#include <cstdint>

namespace {

using ymt::fuzz::check;

void parse(const QString& text) {
    const ymt::ParsedScript script = ymt::ParseScript(text);
    // Lines end at LF (a CR before it belongs to the line ending, a lone CR to the line).
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    if (script.error) {
        check(script.steps.isEmpty());
        check(script.error->line >= 1 && script.error->line <= lines + 1);
        check(!script.error->message.isEmpty());
        return;
    }
    int previous = 0;
    for (const ymt::ScriptStep& step : script.steps) {
        check(step.line > previous && step.line <= lines);
        previous = step.line;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    parse(QString::fromUtf8(bytes));
    parse(ymt::DecodeCp1252(bytes));
    return 0;
}
