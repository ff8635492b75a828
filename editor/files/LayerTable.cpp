// The layer-by-block table: a row per block type of the building, a column per plane.
#include <algorithm>

#include "editor/files/BuildingFiles.h"
#include "editor/files/CsvFiles.h"
#include "editor/files/GameVersions.h"
#include "editor/files/LayerPlans.h"

namespace stackmason {

void PlaneCounts::AddLayer(const Building& grid, int h) {
    whole_.AddLayer(grid, h);
    TakePlane();
}

void PlaneCounts::AddSlice(const Building& grid, int x) {
    whole_.AddSlice(grid, x);
    TakePlane();
}

void PlaneCounts::TakePlane() {
    std::vector<CodeCount> now;
    std::vector<CodeCount> plane;
    auto earlier = before_.begin();
    for (const BlockCode code : whole_.CodesPresent()) {
        const std::uint64_t count = whole_.Of(code);
        now.emplace_back(code, count);
        // Both lists ascend by code, and a code once counted stays present.
        while (earlier != before_.end() && earlier->first < code)
            ++earlier;
        const std::uint64_t was = earlier != before_.end() && earlier->first == code ? earlier->second : 0;
        if (code != 0 && count > was)
            plane.emplace_back(code, count - was);
    }
    before_ = std::move(now);
    planes_.push_back(std::move(plane));
}

std::uint64_t PlaneCounts::On(int plane, BlockCode code) const {
    if (plane < 1 || plane > Planes())
        return 0;
    const std::vector<CodeCount>& codes = planes_[static_cast<std::size_t>(plane - 1)];
    const auto found = std::lower_bound(codes.begin(), codes.end(), code,
                                        [](const CodeCount& entry, BlockCode wanted) { return entry.first < wanted; });
    return found != codes.end() && found->first == code ? found->second : 0;
}

std::string LayerTableCsv(const PlaneCounts& counts, const std::string& planeName, const SelectorModel& selector,
                          std::int64_t dataVersion) {
    // The rows, their names and their order are the material list's, so that both agree.
    const MaterialList materials = MaterialsOf(counts.Whole(), selector, dataVersion);
    std::string csv = "Block,Block state";
    for (int plane = 1; plane <= counts.Planes(); ++plane)
        csv += "," + planeName + " " + std::to_string(plane);
    csv += ",Total\n";
    for (const MaterialRow& row : materials.rows) {
        csv += CsvField(row.name) + "," + CsvField(row.blockState);
        // Appended piece by piece: GCC 12 at -O3 warns wrongly of an overlap in `"," + text`.
        for (int plane = 1; plane <= counts.Planes(); ++plane) {
            csv += ',';
            csv += std::to_string(counts.On(plane, row.code));
        }
        csv += ',';
        csv += std::to_string(row.count);
        csv += '\n';
    }
    return csv;
}

std::string LayerTableCsv(const Editor& editor) {
    PlaneCounts counts;
    const Building& grid = editor.grid;
    if (editor.InTopView())
        for (int h = 1; h <= grid.Height(); ++h)
            counts.AddLayer(grid, h);
    else
        for (int x = 1; x <= grid.Width(); ++x)
            counts.AddSlice(grid, x);
    return LayerTableCsv(counts, editor.InTopView() ? "Layer" : "Slice", editor.selector,
                         SessionGameRelease(editor).dataVersion);
}

FileRequest LayerTableRequest() { return CsvFileRequest("Save layer table"); }

bool SaveLayerTable(Editor& editor) {
    return SaveCsvFile(editor, LayerTableRequest(), [&editor] { return LayerTableCsv(editor); });
}

}  // namespace stackmason
