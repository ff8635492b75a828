#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/files/MaterialList.h"
#include "editor/model/Editor.h"

namespace stackmason {

// The plan of a building for a builder who builds it by hand, plane by plane: what the layer
// booklet and the layer pictures print. Worked out headless from the editor's building, view,
// pack and game release; the painting lives apart (PlanPainter).

enum class PaperSize { A4, Letter };

struct PlanSettings {
    PaperSize paper = PaperSize::A4;
    // Cells are printed no smaller than this, so that a builder can count them; a plane that
    // does not fit a page at this size is split into tiles.
    double smallestCellMm = 4.0;
    double largestCellMm = 10.0;
    // Cells a tile repeats of its neighbours, so that the pages join up.
    int overlapCells = 2;
};

// A rectangle of a page in millimetres from its top left.
struct PageRectMm {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// Where the parts of a plane's page go. The cells start at the grid's top left, `cellMm` on a
// side; the coordinate numbers go in the band of `numberBandMm` around the grid; the legend
// fills its rectangle in columns; the tile map (when a plane has more than one tile) sits at the
// right of the title band.
struct PlanPageLayout {
    double pageWidth = 0;
    double pageHeight = 0;
    PageRectMm title;
    PageRectMm tileMap;
    PageRectMm grid;
    PageRectMm legend;
    double numberBandMm = 6;
};
PlanPageLayout PageLayout(PaperSize paper, bool landscape);

// A block on a page's legend.
struct PlanLegendRow {
    BlockCode code = 0;
    // Shared by every page that lists the block: the largest building's booklet has some
    // 40,000 pages of up to 80 rows each.
    std::shared_ptr<const std::string> name;
    std::uint64_t onPlane = 0;    // on the whole plane of the page
    std::uint64_t upToPlane = 0;  // on planes 1 to this one
};

// A rectangle of a plane, in the plane's own cells counted from 1: columns are x (TopView) or
// y (FrontView), rows y (TopView) or picture rows counted from the top, p = H + 1 - h (FrontView).
struct PlaneRect {
    int column = 1;
    int row = 1;
    int columns = 0;
    int rows = 0;
    friend bool operator==(const PlaneRect&, const PlaneRect&) = default;
};

// One printed page of a plane, or one tile of it.
struct PlanPage {
    int plane = 1;  // the layer h (TopView) or the slice x (FrontView)
    std::string title;  // "Layer N" or "Slice N"
    PlaneRect cells;
    // Its place among the tiles of the plane, from the top left; one tile when the plane fits.
    int tileColumn = 0;
    int tileRow = 0;
    int tileColumns = 1;
    int tileRows = 1;
    bool landscape = false;
    double cellMm = 0;
    // The blocks that show on this page, the most used on the plane first.
    std::vector<PlanLegendRow> legend;
};

struct LayerPlan {
    std::string buildingName;  // the file's name without folder, or "untitled"
    int width = 0;
    int length = 0;
    int height = 0;
    std::string packName;
    bool topView = true;
    PlanSettings settings;
    MaterialList materials;  // the whole building
    // Every plane that holds a block, TopView layer 1 (slice 1) first; a plane's tiles row by
    // row from the top left, those of nothing but air left out.
    std::vector<PlanPage> pages;
};

// The plan of the editor's building in the view it shows.
LayerPlan MakeLayerPlan(const Editor& editor, const std::string& buildingName, const PlanSettings& settings = {});

// The tiles a plane of `columns` x `rows` cells is cut into for pages of `pageColumns` x
// `pageRows` cells, each tile repeating `overlap` cells of the one before; row by row.
std::vector<PlaneRect> SplitIntoTiles(int columns, int rows, int pageColumns, int pageRows, int overlap);

// The layer-by-block table as CSV: a header "Block,Block state,Layer 1,...,Layer N,Total"
// ("Slice" in FrontView), then a row per block type of the building, the most used first,
// with its count on every plane (0 included) and its total. Lines end in LF.
std::string LayerTableCsv(const Editor& editor);

// How many cells of each block code every plane of a building holds, the planes counted one
// after the other: from the editor's building, or from a file read a layer at a time.
class PlaneCounts {
public:
    using CodeCount = std::pair<BlockCode, std::uint64_t>;

    // Counts layer h (slice x) of the grid as the next plane.
    void AddLayer(const Building& grid, int h);
    void AddSlice(const Building& grid, int x);

    int Planes() const { return static_cast<int>(planes_.size()); }
    // The cells of the plane-th plane counted (from 1) that hold the code.
    std::uint64_t On(int plane, BlockCode code) const;
    // The codes on the plane-th plane counted (from 1) and their counts, air left out, by
    // ascending code.
    const std::vector<CodeCount>& CodesOn(int plane) const { return planes_[static_cast<std::size_t>(plane - 1)]; }
    // The cells of every plane counted.
    const CodeCounts& Whole() const { return whole_; }

private:
    void TakePlane();

    // All planes are counted into one counter; a plane's own counts are what it added.
    CodeCounts whole_;
    std::vector<CodeCount> before_;
    // The codes on each plane, air left out, by ascending code.
    std::vector<std::vector<CodeCount>> planes_;
};

// The table of the counted planes, named "Layer" or "Slice", the blocks named by the pack's
// selector with the block states of the game release of `dataVersion`.
std::string LayerTableCsv(const PlaneCounts& counts, const std::string& planeName, const SelectorModel& selector,
                          std::int64_t dataVersion);

// Asks for a file name with a save requester for CSV files, as SaveMaterialList does, and
// writes the editor's layer table there. True when written.
bool SaveLayerTable(Editor& editor);

// The save requester's question.
FileRequest LayerTableRequest();

}  // namespace stackmason
