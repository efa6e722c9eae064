// Feeds arbitrary bytes as a spectrum file to "Open Spectrum..." of the main window, which
// applies the header to the fields and the rows to the plot: every field keeps a text of a
// sensible length, the plot's frequency axis stays finite, and a refused file changes nothing.
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzWindow.h"

#include "plot/FastGraph.h"

#include <QLineEdit>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using ymt::fuzz::check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ymt::fuzz::FuzzWindow& w = ymt::fuzz::Window();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    w.dialogs.file = ymt::fuzz::WriteScratchFile(bytes, "spectrum.txt");

    auto* rangeStart = w.window->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* rangeStop = w.window->findChild<QLineEdit*>(QStringLiteral("Edit2"));
    const QString startBefore = rangeStart->text(), stopBefore = rangeStop->text();
    const int messagesBefore = w.dialogs.messages;
    w.window->ffnen1Click();

    const bool opened = bytes.contains("mpedan");
    if (!opened && w.dialogs.messages > messagesBefore) {
        check(rangeStart->text() == startBefore && rangeStop->text() == stopBefore);
    }
    // Ranges come from the rows, which hold frequencies the analyzers can have.
    for (QLineEdit* range : {rangeStart, rangeStop})
        check(range->text().size() <= 16);
    check(std::isfinite(w.window->fastgraph1->XAxis.Min()) &&
          std::isfinite(w.window->fastgraph1->XAxis.Max()));
    if (w.dialogs.messages > messagesBefore)
        check(w.dialogs.lastMessage.size() < 400);
    return 0;
}
