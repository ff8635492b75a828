#include <chrono>
#include <filesystem>

#include "editor/files/SavedFile.h"
#include "editor/files/SpongeFiles.h"

namespace stackmason {
namespace {

std::int64_t MillisecondsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string BlockDescription(BlockCode code, const SelectorModel& selector) {
    if (code > 0 && code < selector.Count())
        return selector.ItemAt(code).text;
    return "block code " + std::to_string(code);
}

}  // namespace

std::string LeftOutMessage(const LeftOutCells& leftOut, const SelectorModel& selector) {
    const std::uint64_t total = leftOut.Total();
    std::string text = std::to_string(total) + (total == 1 ? " cell was" : " cells were") +
                       " written as air, since Minecraft has no block state for " +
                       (leftOut.byCode.size() == 1 ? "its block" : "their blocks") + ":";
    // Appended piece by piece: GCC 12 reports a false -Wrestrict for `"\n" + std::string` in
    // optimised builds.
    for (const auto& [code, count] : leftOut.byCode) {
        text += '\n';
        text += BlockDescription(code, selector);
        text += ": ";
        text += std::to_string(count);
    }
    return text;
}

bool ExportSponge(Editor& editor, const std::string& path) {
    const PackBlockStates states(editor.selector);
    const SpongeMetadata metadata{std::filesystem::path(path).stem().string(), MillisecondsNow()};
    LeftOutCells leftOut;
    // Written a block at a time; the safe writer keeps an earlier file of that name until the
    // whole of the new one is on disk.
    const bool written = SaveFileReporting(editor.dialogs, path, [&](const ByteSink& sink) {
        leftOut = WriteSpongeSchematic(editor.grid, states, metadata, sink);
    });
    if (written && !leftOut.byCode.empty())
        editor.dialogs.ShowInfo(LeftOutMessage(leftOut, editor.selector));
    return written;
}

}  // namespace stackmason
