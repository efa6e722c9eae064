// Feeds arbitrary bytes as a language file to the main window: the texts may change, but no
// list may change its length or its selection (they are stored settings), and the window
// still writes a complete language file afterwards.
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzWindow.h"

#include <QComboBox>

#include <cstddef>
#include <cstdint>
#include <map>

namespace {

using ymt::fuzz::check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ymt::fuzz::FuzzWindow& w = ymt::fuzz::Window();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString& path = ymt::fuzz::WriteScratchFile(bytes, "fuzz.lng");

    std::map<QComboBox*, std::pair<int, int>> lists;
    for (QComboBox* list : w.window->findChildren<QComboBox*>())
        lists[list] = {list->count(), list->currentIndex()};
    std::map<ymt::TRadioGroup*, std::pair<int, int>> groups;
    for (ymt::TRadioGroup* group : w.window->findChildren<ymt::TRadioGroup*>())
        groups[group] = {group->count(), group->itemIndex()};

    w.window->applyLanguageFile(path);

    for (const auto& [list, before] : lists)
        check(list->count() == before.first && list->currentIndex() == before.second);
    for (const auto& [group, before] : groups)
        check(group->count() == before.first && group->itemIndex() == before.second);
    check(w.window->writeLanguageFile(ymt::fuzz::ScratchFile("written.lng")));
    return 0;
}
