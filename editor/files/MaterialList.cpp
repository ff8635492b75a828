#include "editor/files/MaterialList.h"

#include <algorithm>

#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/CodeCounts.h"
#include "editor/files/CsvFiles.h"
#include "editor/files/GameVersions.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {
namespace {

constexpr std::uint64_t kStack = 64;

// The cells of ScopeCells, counted the quick way of their shape.
CodeCounts CountScope(const Editor& editor, MaterialScope scope) {
    CodeCounts counts;
    const CellBox cells = ScopeCells(editor, scope);
    if (cells.Empty())
        return counts;
    if (scope == MaterialScope::Building)
        counts.AddBuilding(editor.grid);
    else if (editor.InTopView())
        counts.AddLayer(editor.grid, cells.h0);
    else
        counts.AddSlice(editor.grid, cells.x0);
    return counts;
}

}  // namespace

MaterialList CountMaterials(const Editor& editor, MaterialScope scope) {
    return MaterialsOf(CountScope(editor, scope), editor.selector, SessionGameRelease(editor).dataVersion);
}

MaterialList MaterialsOf(const CodeCounts& counts, const SelectorModel& selector, std::int64_t dataVersion) {
    const PackBlockStates states(selector);
    MaterialList list;
    for (const BlockCode code : counts.CodesPresent()) {
        if (code == 0)
            continue;
        MaterialRow row;
        row.code = code;
        row.name = code > 0 && code < selector.Count() ? selector.ItemAt(code).text
                                                        : "block code " + std::to_string(code);
        // The pack's states are 1.13's; the builder gathers blocks by the names of their game.
        const std::string& state13 = states.StateOf(code);
        row.blockState = state13.empty() ? state13 : StateAtRelease(state13, dataVersion);
        row.count = counts.Of(code);
        list.total += row.count;
        list.rows.push_back(std::move(row));
    }
    std::stable_sort(list.rows.begin(), list.rows.end(),
                     [](const MaterialRow& a, const MaterialRow& b) { return a.count > b.count; });
    return list;
}

std::string AsStacks(std::uint64_t count) {
    const std::uint64_t stacks = count / kStack, rest = count % kStack;
    if (stacks == 0)
        return std::to_string(rest);
    std::string text = stacks == 1 ? "64" : std::to_string(stacks) + " x 64";
    return rest == 0 ? text : text + " + " + std::to_string(rest);
}

std::string MaterialCsv(const MaterialList& list) {
    std::string csv = "name,block state,count\n";
    for (const MaterialRow& row : list.rows)
        csv += CsvField(row.name) + "," + CsvField(row.blockState) + "," + std::to_string(row.count) + "\n";
    return csv;
}

FileRequest MaterialListRequest() { return CsvFileRequest("Save material list"); }

bool SaveMaterialList(Editor& editor, const MaterialList& list) {
    return SaveCsvFile(editor, MaterialListRequest(), [&list] { return MaterialCsv(list); });
}

}  // namespace stackmason
