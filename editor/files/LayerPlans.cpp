#include "editor/files/LayerPlans.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <utility>


namespace stackmason {
namespace {

constexpr double kMarginMm = 10;
constexpr double kTitleBandMm = 16;
constexpr double kGapMm = 2;
constexpr double kTileMapWidthMm = 30;
constexpr double kLandscapeLegendWidthMm = 70;
constexpr double kPortraitLegendHeightMm = 55;

struct PaperMm {
    double width;
    double height;
};

PaperMm PaperOf(PaperSize paper, bool landscape) {
    const PaperMm portrait = paper == PaperSize::Letter ? PaperMm{215.9, 279.4} : PaperMm{210, 297};
    return landscape ? PaperMm{portrait.height, portrait.width} : portrait;
}

// The plane's cells as the canvas lays them out: columns x and rows y in TopView, columns y and
// picture rows p = H + 1 - h in FrontView.
struct PlaneShape {
    int columns;
    int rows;
    int count;
};

PlaneShape ShapeOf(const Editor& editor) {
    const Building& grid = editor.grid;
    return editor.InTopView() ? PlaneShape{grid.Width(), grid.Length(), grid.Height()}
                              : PlaneShape{grid.Length(), grid.Height(), grid.Width()};
}

BlockCode CellOf(const Editor& editor, int plane, int column, int row) {
    const Building& grid = editor.grid;
    return editor.InTopView() ? grid.Cell(column, row, plane) : grid.Cell(plane, column, grid.Height() + 1 - row);
}

PlaneCounts CountPlanes(const Editor& editor, int planes) {
    PlaneCounts counts;
    for (int plane = 1; plane <= planes; ++plane) {
        if (editor.InTopView())
            counts.AddLayer(editor.grid, plane);
        else
            counts.AddSlice(editor.grid, plane);
    }
    return counts;
}

// The cell size and paper turn that print the plane on the fewest pages, the larger cells on
// a tie, portrait on a tie of both.
struct PageChoice {
    bool landscape = false;
    double cellMm = 0;
    int pageColumns = 1;
    int pageRows = 1;
    std::size_t tiles = 0;
};

PageChoice ChoosePages(const PlaneShape& shape, const PlanSettings& settings) {
    PageChoice best;
    for (const bool landscape : {false, true}) {
        const PageRectMm grid = PageLayout(settings.paper, landscape).grid;
        const double fitting = std::min(grid.width / shape.columns, grid.height / shape.rows);
        PageChoice choice;
        choice.landscape = landscape;
        choice.cellMm = std::clamp(fitting, settings.smallestCellMm, settings.largestCellMm);
        // A hair of slack, so that a plane that fits exactly is not cut for a rounding.
        choice.pageColumns = std::max(1, static_cast<int>(std::floor(grid.width / choice.cellMm + 1e-9)));
        choice.pageRows = std::max(1, static_cast<int>(std::floor(grid.height / choice.cellMm + 1e-9)));
        choice.tiles = SplitIntoTiles(shape.columns, shape.rows, choice.pageColumns, choice.pageRows,
                                      settings.overlapCells)
                           .size();
        const bool better = best.tiles == 0 || choice.tiles < best.tiles ||
                            (choice.tiles == best.tiles && choice.cellMm > best.cellMm + 1e-9);
        if (better)
            best = choice;
    }
    return best;
}

// Where each tile starts along one side: every `step` cells, the last one ending at the side's end.
std::vector<std::pair<int, int>> Spans(int length, int page, int overlap) {
    std::vector<std::pair<int, int>> spans;
    const int step = std::max(1, page - std::max(0, overlap));
    for (int start = 1;; start += step) {
        const int end = std::min(length, start + page - 1);
        spans.emplace_back(start, end - start + 1);
        if (end >= length)
            break;
    }
    return spans;
}

// The codes that show in a rectangle of the plane, air left out.
std::vector<BlockCode> CodesIn(const Editor& editor, int plane, const PlaneRect& rect) {
    std::vector<bool> seen(std::size_t{1} << 16);
    std::vector<BlockCode> codes;
    for (int row = rect.row; row < rect.row + rect.rows; ++row)
        for (int column = rect.column; column < rect.column + rect.columns; ++column) {
            const BlockCode code = CellOf(editor, plane, column, row);
            const auto slot = static_cast<std::size_t>(code - std::numeric_limits<StoredCode>::min());
            if (code != 0 && !seen[slot]) {
                seen[slot] = true;
                codes.push_back(code);
            }
        }
    return codes;
}

std::string PlaneTitle(const Editor& editor, int plane) {
    return (editor.InTopView() ? "Layer " : "Slice ") + std::to_string(plane);
}

}  // namespace

PlanPageLayout PageLayout(PaperSize paper, bool landscape) {
    const PaperMm size = PaperOf(paper, landscape);
    PlanPageLayout layout;
    layout.pageWidth = size.width;
    layout.pageHeight = size.height;
    const double inner = size.width - 2 * kMarginMm;
    layout.title = {kMarginMm, kMarginMm, inner, kTitleBandMm};
    layout.tileMap = {size.width - kMarginMm - kTileMapWidthMm, kMarginMm + 1, kTileMapWidthMm, kTitleBandMm - 2};
    const double top = kMarginMm + kTitleBandMm + kGapMm;
    const double band = layout.numberBandMm;
    if (landscape) {
        layout.legend = {size.width - kMarginMm - kLandscapeLegendWidthMm, top, kLandscapeLegendWidthMm,
                         size.height - top - kMarginMm};
        layout.grid = {kMarginMm + band, top + band, layout.legend.x - kGapMm - band - (kMarginMm + band),
                       size.height - kMarginMm - band - (top + band)};
    } else {
        layout.legend = {kMarginMm, size.height - kMarginMm - kPortraitLegendHeightMm, inner, kPortraitLegendHeightMm};
        layout.grid = {kMarginMm + band, top + band, inner - 2 * band,
                       layout.legend.y - kGapMm - band - (top + band)};
    }
    return layout;
}

std::vector<PlaneRect> SplitIntoTiles(int columns, int rows, int pageColumns, int pageRows, int overlap) {
    std::vector<PlaneRect> tiles;
    if (columns < 1 || rows < 1)
        return tiles;
    const auto across = Spans(columns, std::max(1, pageColumns), overlap);
    const auto down = Spans(rows, std::max(1, pageRows), overlap);
    for (const auto& [row, rowCount] : down)
        for (const auto& [column, columnCount] : across)
            tiles.push_back({column, row, columnCount, rowCount});
    return tiles;
}

LayerPlan MakeLayerPlan(const Editor& editor, const std::string& buildingName, const PlanSettings& settings) {
    LayerPlan plan;
    plan.buildingName = buildingName.empty() ? "untitled" : buildingName;
    plan.width = editor.grid.Width();
    plan.length = editor.grid.Length();
    plan.height = editor.grid.Height();
    plan.packName = editor.texturePackName;
    plan.topView = editor.InTopView();
    plan.settings = settings;
    plan.materials = CountMaterials(editor, MaterialScope::Building);
    std::unordered_map<BlockCode, std::shared_ptr<const std::string>> named;
    for (const MaterialRow& row : plan.materials.rows)
        named.emplace(row.code, std::make_shared<const std::string>(row.name));

    const PlaneShape shape = ShapeOf(editor);
    const PageChoice pages = ChoosePages(shape, settings);
    const std::vector<PlaneRect> tiles =
        SplitIntoTiles(shape.columns, shape.rows, pages.pageColumns, pages.pageRows, settings.overlapCells);
    const int tileColumns = static_cast<int>(Spans(shape.columns, pages.pageColumns, settings.overlapCells).size());
    const int tileRows = tileColumns > 0 ? static_cast<int>(tiles.size()) / tileColumns : 0;

    const PlaneCounts counts = CountPlanes(editor, shape.count);
    std::unordered_map<BlockCode, std::uint64_t> upToHere;
    for (int plane = 1; plane <= shape.count; ++plane) {
        std::unordered_map<BlockCode, std::uint64_t> onPlane;
        for (const auto& [code, count] : counts.CodesOn(plane)) {
            onPlane[code] = count;
            upToHere[code] += count;
        }
        if (onPlane.empty())
            continue;
        for (std::size_t t = 0; t < tiles.size(); ++t) {
            PlanPage page;
            page.plane = plane;
            page.title = PlaneTitle(editor, plane);
            page.cells = tiles[t];
            page.tileColumns = tileColumns;
            page.tileRows = tileRows;
            page.tileColumn = static_cast<int>(t) % tileColumns;
            page.tileRow = static_cast<int>(t) / tileColumns;
            page.landscape = pages.landscape;
            page.cellMm = pages.cellMm;
            for (const BlockCode code : CodesIn(editor, plane, tiles[t])) {
                // Every code of the building has its row in the building's material list.
                page.legend.push_back({code, named.at(code), onPlane[code], upToHere[code]});
            }
            // A tile of nothing but air would be a blank sheet.
            if (page.legend.empty())
                continue;
            std::sort(page.legend.begin(), page.legend.end(), [](const PlanLegendRow& a, const PlanLegendRow& b) {
                return a.onPlane != b.onPlane ? a.onPlane > b.onPlane : a.code < b.code;
            });
            plan.pages.push_back(std::move(page));
        }
    }
    return plan;
}

}  // namespace stackmason
