#include "editor/model/Edit.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <utility>

#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"
#include "editor/model/Repaint.h"
#include "editor/model/UserAction.h"

namespace stackmason {
namespace {

using edit::CellSwap;

// Every write is checked before the first one, so that a bad one changes nothing.
void CheckWrites(const Building& grid, const edit::CellWrite* begin, const edit::CellWrite* end) {
    for (const edit::CellWrite* write = begin; write != end; ++write)
        if (!grid.Contains(write->x, write->y, write->h) || !Building::Fits(write->code))
            throw std::out_of_range("cell or block code outside the building");
}

std::uint32_t IndexOf(const Building& grid, int x, int y, int h) {
    return static_cast<std::uint32_t>(grid.Index(x, y, h));
}

// The one writer of cells. Each swap in turn exchanges its code with its cell's, so that the
// list then holds what the cells held and, taken the other way round, is the inverse. Going
// forward, the swaps that changed nothing are left out of it (going back, every one changes
// its cell, since it did coming forward).
void Apply(Editor& editor, edit::SwapCells&& swaps, Edit& inverse) {
    std::vector<CellSwap>& list = swaps.cells;
    if (list.empty())
        return;
    MarkEditorChanged(editor);
    StoredCode* cells = editor.grid.Layer(0);
    if (swaps.backwards) {
        for (auto swap = list.rbegin(); swap != list.rend(); ++swap)
            std::swap(cells[swap->index], swap->code);
    } else {
        std::size_t kept = 0;
        for (CellSwap& swap : list) {
            const StoredCode written = swap.code;
            std::swap(cells[swap.index], swap.code);
            if (swap.code != written)
                list[kept++] = swap;
        }
        list.resize(kept);
    }
    if (list.empty())
        return;
    swaps.backwards = !swaps.backwards;
    inverse = std::move(swaps);
}

// The writes as swaps, checked first.
edit::SwapCells SwapsOf(const Building& grid, const edit::CellWrite* begin, const edit::CellWrite* end) {
    CheckWrites(grid, begin, end);
    edit::SwapCells swaps;
    swaps.cells.reserve(static_cast<std::size_t>(end - begin));
    for (const edit::CellWrite* write = begin; write != end; ++write)
        swaps.cells.push_back({IndexOf(grid, write->x, write->y, write->h), static_cast<StoredCode>(write->code)});
    return swaps;
}

// FrontView shows the working plane, which follows the slice drawn on.
void FollowInWorkingPlane(Editor& editor, const edit::CellWrite* begin, const edit::CellWrite* end) {
    const Building& grid = editor.grid;
    const int height = grid.Height();
    if (editor.InTopView() || !editor.frontPlane.HasExtents(grid.Length(), height))
        return;
    for (const edit::CellWrite* write = begin; write != end; ++write)
        if (write->x == editor.CurrentLayer() && write->h >= 1)
            editor.frontPlane.At(write->y, height - write->h + 1) = write->code;
}

void WriteCells(Editor& editor, const edit::CellWrite* begin, const edit::CellWrite* end, Edit& inverse) {
    Apply(editor, SwapsOf(editor.grid, begin, end), inverse);
    FollowInWorkingPlane(editor, begin, end);
}

// The writes that change a cell, worked out before any changes; each cell is written once.
class ChangedCells {
public:
    explicit ChangedCells(const Building& grid) : grid_(grid) {}
    void Write(int x, int y, int h, BlockCode code) {
        if (grid_.Cell(x, y, h) != code)
            swaps_.cells.push_back({IndexOf(grid_, x, y, h), static_cast<StoredCode>(code)});
    }
    edit::SwapCells&& Swaps() { return std::move(swaps_); }
    // Room for as many writes, so that a whole plane's are not copied as the list grows.
    void Reserve(std::size_t count) { swaps_.cells.reserve(count); }

private:
    const Building& grid_;
    edit::SwapCells swaps_;
};

void Apply(Editor&, edit::Nothing&&, Edit&) {}

void Apply(Editor& editor, edit::SetCells&& edit, Edit& inverse) {
    WriteCells(editor, edit.writes.data(), edit.writes.data() + edit.writes.size(), inverse);
}

void Apply(Editor& editor, edit::SetCell&& edit, Edit& inverse) {
    WriteCells(editor, &edit.write, &edit.write + 1, inverse);
}

void Apply(Editor& editor, edit::SetColumn&& edit, Edit& inverse) {
    std::vector<edit::CellWrite> writes;
    for (int h = edit.top; h >= edit.bottom; --h)
        writes.push_back({edit.x, edit.y, h, edit.code});
    WriteCells(editor, writes.data(), writes.data() + writes.size(), inverse);
}

void Apply(Editor& editor, edit::SetPlane&& edit, Edit& inverse) {
    // All memory is taken before the first cell changes.
    if (!edit.topView)
        FitFrontPlane(editor);
    const Building& grid = editor.grid;
    const auto rowOf = [&](int r) {
        return edit.cells.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(edit.columns);
    };
    ChangedCells changed(grid);
    changed.Reserve(edit.cells.size());
    for (int r = 0; r < edit.rows; ++r)
        for (int c = 0; c < edit.columns; ++c) {
            if (edit.topView)
                changed.Write(c + 1, r + 1, edit.plane, rowOf(r)[c]);
            else
                changed.Write(edit.plane, c + 1, grid.Height() - r, rowOf(r)[c]);
        }
    Apply(editor, changed.Swaps(), inverse);
    if (edit.topView)
        return;
    for (int c = 0; c < edit.columns; ++c)
        for (int r = 0; r < edit.rows; ++r)
            editor.frontPlane.At(c + 1, r + 1) = rowOf(r)[c];
}

void Apply(Editor& editor, edit::MergeLayer&& edit, Edit& inverse) {
    const Building& grid = editor.grid;
    ChangedCells changed(grid);
    if (edit.from != edit.to)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int x = 1; x <= grid.Width(); ++x)
                if (const BlockCode code = grid.Cell(x, y, edit.from); code != 0)
                    changed.Write(x, y, edit.to, code);
    Apply(editor, changed.Swaps(), inverse);
}

void Apply(Editor& editor, edit::MergeSlice&& edit, Edit& inverse) {
    const Building& grid = editor.grid;
    ChangedCells changed(grid);
    if (edit.from != edit.to)
        for (int h = 1; h <= grid.Height(); ++h)
            for (int y = 1; y <= grid.Length(); ++y)
                if (const BlockCode code = grid.Cell(edit.from, y, h); code != 0)
                    changed.Write(edit.to, y, h, code);
    Apply(editor, changed.Swaps(), inverse);
    if (!editor.InTopView())
        RefreshFrontPlane(editor);
}

void Apply(Editor& editor, edit::StampWorkingPlane&& edit, Edit& inverse) {
    const FrontPlane& plane = editor.frontPlane;
    const Building& grid = editor.grid;
    const int length = std::min(grid.Length(), plane.Length());
    const int height = grid.Height();
    ChangedCells changed(grid);
    for (int p = std::min(height, plane.Height()); p >= 1; --p)
        for (int y = 1; y <= length; ++y)
            if (const BlockCode code = plane.At(y, p); code != 0)
                changed.Write(edit.x, y, height + 1 - p, code);
    Apply(editor, changed.Swaps(), inverse);
}

void Apply(Editor& editor, edit::ClearLayer&& edit, Edit& inverse) {
    const Building& grid = editor.grid;
    ChangedCells changed(grid);
    for (int y = 0; y <= grid.Length(); ++y)
        for (int x = 0; x <= grid.Width(); ++x)
            changed.Write(x, y, edit.h, 0);
    Apply(editor, changed.Swaps(), inverse);
}

void Apply(Editor& editor, edit::ClearSlice&& edit, Edit& inverse) {
    const Building& grid = editor.grid;
    ChangedCells changed(grid);
    for (int h = 0; h <= grid.Height(); ++h)
        for (int y = 0; y <= grid.Length(); ++y)
            changed.Write(edit.x, y, h, 0);
    Apply(editor, changed.Swaps(), inverse);
    if (!editor.InTopView())
        RefreshFrontPlane(editor);
}

// The building cells x 1..X, y 1..Y, h 1..H that a box of these sizes with its corner at
// (x, y, h) covers.
CellBox PartInside(const Building& grid, int x, int y, int h, int width, int length, int height) {
    const CellBox inside{1, 1, 1, grid.Width(), grid.Length(), grid.Height()};
    return CellBox{x, y, h, x + width - 1, y + length - 1, h + height - 1}.Intersected(inside);
}

// FrontView shows the working plane, which takes the slice shown again when a box crosses it.
// Its memory is taken first, so that this cannot fail after the cells changed.
void PrepareWorkingPlane(Editor& editor) {
    if (!editor.InTopView())
        FitFrontPlane(editor);
}
void FollowBoxInWorkingPlane(Editor& editor, const CellBox& box) {
    const int slice = editor.CurrentLayer();
    if (!editor.InTopView() && slice >= box.x0 && slice <= box.x1)
        RefreshFrontPlane(editor);
}

// Writes the clip's cells that fall on the box, row by row; true when a cell changed. The
// rows are written without branches, so that a box of millions of cells takes milliseconds.
bool WriteClip(Building& grid, const edit::WriteBox& edit, const CellBox& part) {
    const int width = part.Width();
    const StoredCode keepMask = edit.airKeeps ? StoredCode{-1} : StoredCode{0};
    StoredCode differences = 0;
    for (int h = part.h0; h <= part.h1; ++h)
        for (int y = part.y0; y <= part.y1; ++y) {
            const StoredCode* from = edit.clip.Row(y - edit.y, h - edit.h) + (part.x0 - edit.x);
            StoredCode* to = grid.Row(y, h) + part.x0;
            for (int i = 0; i < width; ++i) {
                // Air with airKeeps keeps the cell: the mask is all ones exactly then.
                const auto keeps = static_cast<StoredCode>(keepMask & -static_cast<StoredCode>(from[i] == 0));
                const auto written = static_cast<StoredCode>((to[i] & keeps) | (from[i] & ~keeps));
                differences = static_cast<StoredCode>(differences | (written ^ to[i]));
                to[i] = written;
            }
        }
    return differences != 0;
}

void Apply(Editor& editor, edit::WriteBox&& edit, Edit& inverse) {
    const BlockClip& clip = edit.clip;
    const CellBox part = PartInside(editor.grid, edit.x, edit.y, edit.h, clip.Width(), clip.Length(), clip.Height());
    if (part.Empty())
        return;
    BlockClip before = ClipOfBox(editor.grid, part);
    PrepareWorkingPlane(editor);
    MarkEditorChanged(editor);
    if (!WriteClip(editor.grid, edit, part))
        return;
    FollowBoxInWorkingPlane(editor, part);
    inverse = edit::WriteBox{part.x0, part.y0, part.h0, std::move(before), false};
}

void Apply(Editor& editor, edit::FillBox&& edit, Edit& inverse) {
    const CellBox& box = edit.box;
    Building& grid = editor.grid;
    if (box.Empty() || !Building::Fits(edit.code) || !grid.Contains(box.x0, box.y0, box.h0) ||
        !grid.Contains(box.x1, box.y1, box.h1))
        throw std::out_of_range("box or block code outside the building");
    BlockClip before = ClipOfBox(grid, box);
    PrepareWorkingPlane(editor);
    MarkEditorChanged(editor);
    const auto code = static_cast<StoredCode>(edit.code);
    bool changed = false;
    for (int h = box.h0; h <= box.h1; ++h)
        for (int y = box.y0; y <= box.y1; ++y) {
            StoredCode* row = grid.Row(y, h) + box.x0;
            changed = changed || std::any_of(row, row + box.Width(), [&](StoredCode cell) { return cell != code; });
            std::fill_n(row, box.Width(), code);
        }
    if (!changed)
        return;
    FollowBoxInWorkingPlane(editor, box);
    inverse = edit::WriteBox{box.x0, box.y0, box.h0, std::move(before), false};
}

// Restores the cells a removal took with the layer, when there are any.
void FillInsertedLayer(Building& grid, const edit::InsertLayer& edit) {
    const int layer = edit.after + 1;
    const std::size_t width = grid.RowCells() - 1;
    if (!edit.cells.empty())
        for (int y = 1; y <= grid.Length(); ++y)
            std::copy_n(edit.cells.data() + static_cast<std::size_t>(y - 1) * width, width, grid.Row(y, layer) + 1);
    if (edit.topEdge.empty())
        return;
    const int top = grid.Height();
    std::copy_n(edit.topEdge.data(), grid.RowCells(), grid.Row(0, top));
    for (int y = 1; y <= grid.Length(); ++y)
        grid.Row(y, top)[0] = edit.topEdge[grid.RowCells() + static_cast<std::size_t>(y) - 1];
}

void Apply(Editor& editor, edit::InsertLayer&& edit, Edit& inverse) {
    Building restacked = editor.grid.WithLayerInserted(edit.after);
    FillInsertedLayer(restacked, edit);
    MarkEditorChanged(editor);
    editor.grid = std::move(restacked);
    inverse = edit::RemoveLayer{edit.after + 1};
}

// What removing the layer loses, as the insertion that brings it back: its cells and the top
// layer's index-0 row and column.
edit::InsertLayer RemovedLayerOf(const Building& grid, int layer) {
    edit::InsertLayer removed{layer - 1, {}, {}};
    const std::size_t width = grid.RowCells() - 1;
    for (int y = 1; y <= grid.Length(); ++y) {
        const StoredCode* row = grid.Row(y, layer) + 1;
        if (removed.cells.empty() && std::all_of(row, row + width, [](StoredCode code) { return code == 0; }))
            continue;
        if (removed.cells.empty())
            removed.cells.resize(width * static_cast<std::size_t>(grid.Length()));
        std::copy_n(row, width, removed.cells.data() + static_cast<std::size_t>(y - 1) * width);
    }
    const int top = grid.Height();
    removed.topEdge.assign(grid.Row(0, top), grid.Row(0, top) + grid.RowCells());
    for (int y = 1; y <= grid.Length(); ++y)
        removed.topEdge.push_back(grid.Row(y, top)[0]);
    return removed;
}

void Apply(Editor& editor, edit::RemoveLayer&& edit, Edit& inverse) {
    edit::InsertLayer removed = RemovedLayerOf(editor.grid, edit.layer);
    Building restacked = editor.grid.WithLayerRemoved(edit.layer);
    MarkEditorChanged(editor);
    editor.grid = std::move(restacked);
    inverse = std::move(removed);
}

// A square building that is its own mirror image about the diagonal, on every layer.
bool IsSymmetric(const Building& grid) {
    if (grid.Width() != grid.Length())
        return false;
    for (int h = 0; h <= grid.Height(); ++h)
        for (int y = 0; y <= grid.Length(); ++y)
            for (int x = 0; x < y; ++x)
                if (grid.Cell(x, y, h) != grid.Cell(y, x, h))
                    return false;
    return true;
}

void Apply(Editor& editor, edit::SwapAxes&& edit, Edit& inverse) {
    if (IsSymmetric(editor.grid))
        return;
    MarkEditorChanged(editor);
    editor.grid.Transpose();
    std::swap(editor.frontPlane, edit.plane);
    inverse = std::move(edit);
}

bool AllAir(const Building& grid) {
    for (int h = 1; h <= grid.Height(); ++h) {
        const StoredCode* layer = grid.Layer(h);
        if (std::any_of(layer, layer + grid.LayerCells(), [](StoredCode code) { return code != 0; }))
            return false;
    }
    return true;
}

void Apply(Editor& editor, edit::TurnLayers&&, Edit& inverse) {
    // Turning air changes nothing.
    if (AllAir(editor.grid))
        return;
    auto workspace = editor.grid.LayerWorkspace();
    edit::TurnLayersBack back;
    const Building& grid = editor.grid;
    bool anyLost = false;
    grid.ForEachCellTurnedOut([&](int x, int y, int h) { anyLost = anyLost || grid.Cell(x, y, h) != 0; });
    if (anyLost)
        grid.ForEachCellTurnedOut(
            [&](int x, int y, int h) { back.lost.push_back(static_cast<StoredCode>(grid.Cell(x, y, h))); });
    MarkEditorChanged(editor);
    editor.grid.TurnLayers(workspace);
    inverse = std::move(back);
}

void Apply(Editor& editor, edit::TurnLayersBack&& edit, Edit& inverse) {
    auto workspace = editor.grid.LayerWorkspace();
    MarkEditorChanged(editor);
    Building& grid = editor.grid;
    grid.TurnLayersBack(workspace);
    inverse = edit::TurnLayers{};
    if (edit.lost.empty())
        return;
    const StoredCode* lost = edit.lost.data();
    grid.ForEachCellTurnedOut([&](int x, int y, int h) { grid.SetCell(x, y, h, *lost++); });
}

constexpr std::size_t kMaskBits = 64;

bool MaskHas(const std::vector<std::uint64_t>& mask, std::size_t bit) {
    return ((mask[bit / kMaskBits] >> (bit % kMaskBits)) & 1) != 0;
}

// Where cell (x, y, h) comes in the box's cells counted x fastest, then y, then h.
std::size_t PlaceInBox(const CellBox& box, int x, int y, int h) {
    const auto offset = [](int value, int origin) { return static_cast<std::size_t>(value - origin); };
    return (offset(h, box.h0) * static_cast<std::size_t>(box.Length()) + offset(y, box.y0)) *
               static_cast<std::size_t>(box.Width()) +
           offset(x, box.x0);
}

// A bad edit is refused before any cell changes.
void CheckRecode(const edit::RecodeCells& edit) {
    if (!Building::Fits(edit.from) || !Building::Fits(edit.to))
        throw std::out_of_range("block code outside what a cell holds");
    if (!edit.mask.empty() && edit.mask.size() < (edit.box.CellCount() + kMaskBits - 1) / kMaskBits)
        throw std::invalid_argument("cell mask shorter than its box");
}

void Apply(Editor& editor, edit::RecodeCells&& edit, Edit& inverse) {
    CheckRecode(edit);
    Building& grid = editor.grid;
    const CellBox cells = edit.box.Intersected({1, 1, 1, grid.Width(), grid.Length(), grid.Height()});
    if (cells.Empty() || edit.from == edit.to)
        return;
    // All memory is taken before the first cell changes: the record, a bit per cell of the
    // box, and the working plane's extents when it shows a slice of the box.
    std::vector<std::uint64_t> changed((cells.CellCount() + kMaskBits - 1) / kMaskBits, 0);
    const int shownSlice = editor.CurrentLayer();
    const bool slicesShown = !editor.InTopView() && shownSlice >= cells.x0 && shownSlice <= cells.x1;
    if (slicesShown)
        FitFrontPlane(editor);
    const auto from = static_cast<StoredCode>(edit.from);
    const auto to = static_cast<StoredCode>(edit.to);
    const bool masked = !edit.mask.empty();
    bool anyChanged = false;
    bool shownChanged = false;
    std::size_t place = 0;
    for (int h = cells.h0; h <= cells.h1; ++h)
        for (int y = cells.y0; y <= cells.y1; ++y) {
            StoredCode* row = grid.Row(y, h);
            const std::size_t maskRow = masked ? PlaceInBox(edit.box, cells.x0, y, h) : 0;
            for (int x = cells.x0; x <= cells.x1; ++x, ++place) {
                if (row[x] != from || (masked && !MaskHas(edit.mask, maskRow + static_cast<std::size_t>(x - cells.x0))))
                    continue;
                if (!anyChanged)
                    MarkEditorChanged(editor);
                anyChanged = true;
                shownChanged = shownChanged || x == shownSlice;
                row[x] = to;
                changed[place / kMaskBits] |= std::uint64_t{1} << (place % kMaskBits);
            }
        }
    if (!anyChanged)
        return;
    inverse = edit::RecodeCells{cells, edit.to, edit.from, std::move(changed)};
    if (slicesShown && shownChanged)
        RefreshFrontPlane(editor);
}

// Unpacking the incoming building is the one part that can fail, and it comes first.
void SwapBuilding(Editor& editor, edit::ReplaceBuilding& edit) {
    Building incoming = std::move(edit.grid).Unpack();
    edit.grid = PackedBuilding(std::exchange(editor.grid, std::move(incoming)));
    std::swap(editor.frontPlane, edit.frontPlane);
}

// The selection is not part of what a pack replaces: it stays where the new items allow.
void KeepSelection(Editor& editor, int selected) {
    if (selected >= 0 && selected < editor.selector.Count())
        editor.selector.Select(selected);
    else
        SelectFirstBlock(editor);
}

// The items are swapped before the selector's listener hears of it; should the listener fail,
// the swap has still happened.
void SwapPackItems(Editor& editor, edit::ReplacePack& edit) {
    editor.texturePackName.swap(edit.name);
    editor.selector.TakeItemsOf(edit.selector);
}

void Apply(Editor& editor, edit::ReplaceBuilding&& edit, Edit& inverse) {
    MarkEditorChanged(editor);
    SwapBuilding(editor, edit);
    inverse = std::move(edit);
}

void Apply(Editor& editor, edit::ReplacePack&& edit, Edit& inverse) {
    MarkEditorChanged(editor);
    const int selected = editor.selector.Selected();
    try {
        SwapPackItems(editor, edit);
    } catch (...) {
        inverse = std::move(edit);
        throw;
    }
    inverse = std::move(edit);
    KeepSelection(editor, selected);
}

void Apply(Editor& editor, edit::ReplaceBuildingAndPack&& edit, Edit& inverse) {
    MarkEditorChanged(editor);
    SwapBuilding(editor, edit.building);
    const int selected = editor.selector.Selected();
    try {
        SwapPackItems(editor, edit.pack);
    } catch (...) {
        inverse = std::move(edit);
        throw;
    }
    inverse = std::move(edit);
    KeepSelection(editor, selected);
}

// The cell of the plane shown that (x, y, h) is, as DrawCell takes it; none when it is not shown.
RepaintRequest CellShown(const Editor& editor, int x, int y, int h) {
    const int layer = editor.CurrentLayer();
    if (editor.InTopView())
        return h == layer ? CellRepaint(x, y) : RepaintRequest{};
    const int height = editor.grid.Height();
    return x == layer && h >= 1 && h <= height ? CellRepaint(y, height - h + 1) : RepaintRequest{};
}

// What the canvas must repaint once the edit is applied, worked out from what it touches.
struct TouchedBy {
    const Editor& editor;

    RepaintRequest operator()(const edit::Nothing&) const { return {}; }
    RepaintRequest operator()(const edit::SetCell& edit) const {
        return CellShown(editor, edit.write.x, edit.write.y, edit.write.h);
    }
    RepaintRequest operator()(const edit::SetColumn& edit) const {
        if (!editor.InTopView())
            return edit.x == editor.CurrentLayer() ? kFullRepaint : RepaintRequest{};
        const int layer = editor.CurrentLayer();
        return layer <= edit.top && layer >= edit.bottom ? CellRepaint(edit.x, edit.y) : RepaintRequest{};
    }
    // The quick repaint of a whole TopView layer; FrontView has none.
    RepaintRequest operator()(const edit::SetPlane& edit) const {
        return edit.topView ? RepaintRequest{RepaintKind::LayerCells, {}, 0, false} : kFullRepaint;
    }
    RepaintRequest operator()(const edit::WriteBox& edit) const {
        const BlockClip& clip = edit.clip;
        return BoxShown({edit.x, edit.y, edit.h, edit.x + clip.Width() - 1, edit.y + clip.Length() - 1,
                         edit.h + clip.Height() - 1});
    }
    RepaintRequest operator()(const edit::FillBox& edit) const { return BoxShown(edit.box); }
    RepaintRequest BoxShown(const CellBox& box) const {
        const int plane = editor.CurrentLayer();
        const bool crosses = editor.InTopView() ? plane >= box.h0 && plane <= box.h1 : plane >= box.x0 && plane <= box.x1;
        return crosses ? kFullRepaint : RepaintRequest{};
    }
    // A pack is always followed by a building, whose repaint shows its pictures.
    RepaintRequest operator()(const edit::ReplacePack&) const { return {}; }
    template <typename Other>
    RepaintRequest operator()(const Other&) const {
        return kFullRepaint;
    }
};

std::size_t CellsRecordedBy(const Edit& edit) {
    if (std::holds_alternative<edit::SetCell>(edit))
        return 1;
    if (const auto* column = std::get_if<edit::SetColumn>(&edit))
        return static_cast<std::size_t>(std::max(0, column->top - column->bottom + 1));
    if (const auto* cells = std::get_if<edit::SetCells>(&edit))
        return cells->writes.size();
    return 0;
}

std::size_t SelectorBytes(const SelectorModel& selector) {
    std::size_t bytes = 0;
    for (int i = 0; i < selector.Count(); ++i) {
        const SelectorModel::Item& item = selector.ItemAt(i);
        bytes += sizeof(item) + item.text.capacity() + item.image.Pixels().capacity() * sizeof(Rgba);
    }
    return bytes;
}

}  // namespace

std::size_t edit::ReplacePack::HeldBytes() const { return name.capacity() + SelectorBytes(selector); }

std::size_t HeldBytes(const Edit& edit) {
    return std::visit(
        [](const auto& kind) -> std::size_t {
            if constexpr (requires { kind.HeldBytes(); })
                return kind.HeldBytes();
            else
                return 0;
        },
        edit);
}

void PackForKeeping(Edit& edit) noexcept {
    std::visit(
        [](auto& kind) {
            if constexpr (requires { kind.Pack(); })
                kind.Pack();
        },
        edit);
}

void ApplyAndInvert(Editor& editor, Edit&& edit, Edit& inverse) {
    const RepaintRequest touched = std::visit(TouchedBy{editor}, edit);
    std::visit([&](auto&& kind) { Apply(editor, std::move(kind), inverse); }, std::move(edit));
    if (!touched.IsEmpty())
        RequestRepaint(editor, touched);
}

void ApplyEdit(Editor& editor, Edit edit) {
    editor.history.Prepare(editor, CellsRecordedBy(edit));
    Edit inverse;
    try {
        ApplyAndInvert(editor, std::move(edit), inverse);
    } catch (...) {
        // What changed before the failure is recorded, so that it can be taken back.
        editor.history.Record(std::move(inverse));
        throw;
    }
    editor.history.Record(std::move(inverse));
}

}  // namespace stackmason
