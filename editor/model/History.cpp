#include "editor/model/History.h"

#include <algorithm>
#include <utility>

#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"
#include "editor/model/Repaint.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"

namespace stackmason {
namespace {

using namespace history;

// The working plane's cell (y, p) in its own storage order.
std::uint32_t PlaneIndex(int y, int p, int height) {
    return static_cast<std::uint32_t>(y * (height + 1) + p);
}

// The view, its layers and the fields: takes no memory.
Scene CaptureView(const Editor& editor) {
    const Building& grid = editor.grid;
    Scene scene;
    scene.topView = editor.InTopView();
    scene.layer = editor.CurrentLayer();
    scene.topViewLayer = editor.topViewLayer;
    scene.frontViewLayer = editor.frontViewLayer;
    scene.widthField = editor.widthSpin.Value();
    scene.lengthField = editor.lengthSpin.Value();
    scene.heightField = editor.heightSpin.Value();
    scene.gridWidth = grid.Width();
    scene.gridLength = grid.Length();
    scene.gridHeight = grid.Height();
    return scene;
}

void AddPlaneDifferences(const Editor& editor, Scene& scene) {
    if (scene.topView)
        return;
    const Building& grid = editor.grid;
    // TopView never shows the working plane, and every switch to FrontView refreshes it; so
    // only in FrontView can it hold more than its slice.
    const int height = grid.Height();
    if (!editor.frontPlane.HasExtents(grid.Length(), height) || scene.layer < 1 || scene.layer > grid.Width()) {
        scene.planeKnown = false;
        return;
    }
    for (int p = 1; p <= height; ++p)
        for (int y = 1; y <= grid.Length(); ++y)
            if (const BlockCode code = editor.frontPlane.At(y, p); code != grid.Cell(scene.layer, y, height - p + 1))
                scene.planeDifferences.emplace_back(PlaneIndex(y, p, height), code);
}

Scene CaptureScene(const Editor& editor) {
    Scene scene = CaptureView(editor);
    AddPlaneDifferences(editor, scene);
    return scene;
}

// The working plane a scene in FrontView needs, taken before the step changes anything.
std::optional<FrontPlane> PlaneFor(const Editor& editor, const Scene& scene) {
    if (scene.topView || editor.frontPlane.HasExtents(scene.gridLength, scene.gridHeight))
        return std::nullopt;
    return FrontPlane(scene.gridLength, scene.gridHeight);
}

void ShowScene(Editor& editor, const Scene& scene, std::optional<FrontPlane>& plane) {
    editor.viewMode = scene.topView ? ViewMode::TopView : ViewMode::FrontView;
    editor.topViewLayer = scene.topViewLayer;
    editor.frontViewLayer = scene.frontViewLayer;
    editor.viewToggleLabel = scene.topView ? "FrontView" : "TopView";
    editor.layerSpin.SetRange(1, scene.topView ? editor.grid.Height() : editor.grid.Width());
    editor.layerSpin.SetValue(scene.layer);
    editor.widthSpin.SetValue(scene.widthField);
    editor.lengthSpin.SetValue(scene.lengthField);
    editor.heightSpin.SetValue(scene.heightField);
    if (!scene.topView) {
        if (plane)
            editor.frontPlane = std::move(*plane);
        // The plane has its extents now, so the refresh takes no memory.
        RefreshFrontPlane(editor);
        if (scene.planeKnown) {
            const int height = editor.grid.Height();
            for (const auto& [index, code] : scene.planeDifferences)
                editor.frontPlane.At(static_cast<int>(index) / (height + 1), static_cast<int>(index) % (height + 1)) =
                    code;
        }
    }
    ApplyCanvasLayout(editor);
    RequestRepaint(editor, kFullRepaint);
}

// Taking a change back (forward): the editor's building goes to the other end of the edit.
struct Reverse {
    Editor& editor;

    void operator()(CellsChanged& change) const {
        StoredCode* cells = editor.grid.Layer(0);
        for (auto swap = change.cells.rbegin(); swap != change.cells.rend(); ++swap)
            std::swap(cells[swap->index], swap->code);
    }
    void operator()(LayerInserted& change) const { editor.grid = editor.grid.WithLayerRemoved(change.after + 1); }
    void operator()(LayerRemoved& change) const {
        Building restored = editor.grid.WithLayerInserted(change.layer - 1);
        if (!change.cells.empty())
            for (int y = 1; y <= restored.Length(); ++y)
                std::copy_n(change.cells.data() + static_cast<std::size_t>(y - 1) * (restored.RowCells() - 1),
                            restored.RowCells() - 1, restored.Row(y, change.layer) + 1);
        const int top = restored.Height();
        std::copy_n(change.topEdge.data(), restored.RowCells(), restored.Row(0, top));
        for (int y = 1; y <= restored.Length(); ++y)
            restored.Row(y, top)[0] = change.topEdge[restored.RowCells() + static_cast<std::size_t>(y) - 1];
        editor.grid = std::move(restored);
    }
    void operator()(AxesSwapped& change) const {
        editor.grid.Transpose();
        StoredCode* ground = editor.grid.Layer(0);
        for (const CellSwap& cell : change.ground)
            ground[cell.index] = cell.code;
    }
    void operator()(LayersTurned& change) const {
        auto workspace = editor.grid.LayerWorkspace();
        editor.grid.TurnLayersBack(workspace);
        if (change.lost.empty())
            return;
        Building& grid = editor.grid;
        const StoredCode* lost = change.lost.data();
        grid.ForEachCellTurnedOut([&](int x, int y, int h) { grid.SetCell(x, y, h, *lost++); });
    }
    void operator()(BuildingSwapped& change) const { std::swap(editor.grid, change.grid); }
    void operator()(PackSwapped& change) const { SwapPack(editor, change); }

    static void SwapPack(Editor& editor, PackSwapped& change) {
        const int selected = editor.selector.Selected();
        editor.texturePackName.swap(change.name);
        editor.selector.TakeItemsOf(change.selector);
        // The selection is not part of the history: it stays where the pack allows.
        if (selected >= 0 && selected < editor.selector.Count())
            editor.selector.Select(selected);
        else
            SelectFirstBlock(editor);
    }
};

struct Forward {
    Editor& editor;

    void operator()(CellsChanged& change) const {
        StoredCode* cells = editor.grid.Layer(0);
        for (CellSwap& swap : change.cells)
            std::swap(cells[swap.index], swap.code);
    }
    void operator()(LayerInserted& change) const { editor.grid = editor.grid.WithLayerInserted(change.after); }
    void operator()(LayerRemoved& change) const { editor.grid = editor.grid.WithLayerRemoved(change.layer); }
    void operator()(AxesSwapped&) const {
        FrontPlane plane(editor.grid.Width(), editor.grid.Height());
        editor.grid.Transpose();
        editor.grid.ClearLayer(0);
        editor.frontPlane = std::move(plane);
    }
    void operator()(LayersTurned&) const { editor.grid.TurnLayers(); }
    void operator()(BuildingSwapped& change) const { std::swap(editor.grid, change.grid); }
    void operator()(PackSwapped& change) const { Reverse::SwapPack(editor, change); }
};

std::size_t SceneBytes(const Scene& scene) {
    return scene.planeDifferences.capacity() * sizeof(scene.planeDifferences[0]);
}

std::size_t SelectorBytes(const SelectorModel& selector) {
    std::size_t bytes = 0;
    for (int i = 0; i < selector.Count(); ++i) {
        const SelectorModel::Item& item = selector.ItemAt(i);
        bytes += sizeof(item) + item.text.capacity() + item.image.Pixels().capacity() * sizeof(Rgba);
    }
    return bytes;
}

struct ChangeBytes {
    std::size_t operator()(const CellsChanged& c) const { return c.cells.capacity() * sizeof(CellSwap); }
    std::size_t operator()(const LayerInserted&) const { return 0; }
    std::size_t operator()(const LayerRemoved& c) const {
        return (c.cells.capacity() + c.topEdge.capacity()) * sizeof(StoredCode);
    }
    std::size_t operator()(const AxesSwapped& c) const { return c.ground.capacity() * sizeof(CellSwap); }
    std::size_t operator()(const LayersTurned& c) const { return c.lost.capacity() * sizeof(StoredCode); }
    std::size_t operator()(const BuildingSwapped& c) const {
        return (c.grid.CellCount() + c.grid.LayerCells()) * sizeof(StoredCode);
    }
    std::size_t operator()(const PackSwapped& c) const { return c.name.capacity() + SelectorBytes(c.selector); }
};

std::size_t StepBytes(const Step& step) {
    std::size_t bytes = sizeof(Step) + SceneBytes(step.before) + SceneBytes(step.after) +
                        step.changes.capacity() * sizeof(Change);
    for (const Change& change : step.changes)
        bytes += std::visit(ChangeBytes{}, change);
    return bytes;
}

}  // namespace

void History::BeginStep(const Editor& editor) {
    EndStep(editor);
    // Closing the step takes no memory: the room for it is had now.
    if (done_.size() == done_.capacity())
        done_.reserve(std::max<std::size_t>(16, done_.size() * 2));
    Step step;
    step.before = CaptureScene(editor);
    open_ = std::move(step);
}

void History::EndStep(const Editor& editor) noexcept {
    if (!open_)
        return;
    Step step = std::move(*open_);
    open_.reset();
    if (step.changes.empty())
        return;
    step.after = CaptureView(editor);
    try {
        AddPlaneDifferences(editor, step.after);
    } catch (...) {
        // Without the working plane's differences the plane is shown as a fresh one.
        step.after.planeKnown = false;
        step.after.planeDifferences.clear();
    }
    try {
        Keep(std::move(step));
    } catch (...) {
        // A history with a step missing would take later steps back onto the wrong building.
        Clear();
    }
}

void History::Keep(Step&& step) {
    step.bytes = StepBytes(step);
    // A new change drops what could have been redone.
    for (const Step& dropped : undone_)
        bytes_ -= dropped.bytes;
    undone_.clear();
    if (step.bytes > budget_) {
        done_.clear();
        bytes_ = 0;
    }
    bytes_ += step.bytes;
    done_.push_back(std::move(step));
    DropOldestOverBudget();
}

void History::DropOldestOverBudget() noexcept {
    std::size_t drop = 0;
    while (bytes_ > budget_ && done_.size() - drop > 1)
        bytes_ -= done_[drop++].bytes;
    done_.erase(done_.begin(), done_.begin() + static_cast<std::ptrdiff_t>(drop));
}

void History::Clear() noexcept {
    open_.reset();
    done_.clear();
    undone_.clear();
    bytes_ = 0;
}

void History::Prepare(const Editor& editor, std::size_t cells, std::size_t more) {
    if (!open_)
        BeginStep(editor);
    std::vector<Change>& changes = open_->changes;
    if (changes.capacity() - changes.size() < more)
        changes.reserve(std::max(changes.size() + more, changes.capacity() * 2));
    if (cells == 0)
        return;
    if (changes.empty() || !std::holds_alternative<CellsChanged>(changes.back()))
        changes.emplace_back(CellsChanged{});
    std::vector<CellSwap>& swaps = std::get<CellsChanged>(changes.back()).cells;
    if (swaps.capacity() - swaps.size() < cells)
        swaps.reserve(std::max(swaps.size() + cells, swaps.capacity() * 2));
}

void History::AddCell(std::uint32_t index, StoredCode replaced) noexcept {
    std::get<CellsChanged>(open_->changes.back()).cells.push_back({index, replaced});
}

void History::Record(Change&& change) noexcept {
    // Merged with the cells before it only when it holds cells, for which Prepare made room.
    open_->changes.push_back(std::move(change));
}

bool History::Undo(Editor& editor) {
    EndStep(editor);
    if (done_.empty())
        return false;
    Step& step = done_.back();
    // What can fail comes first: the room on the other stack and the working plane.
    undone_.reserve(undone_.size() + 1);
    std::optional<FrontPlane> plane = PlaneFor(editor, step.before);
    MarkEditorChanged(editor);
    for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change)
        std::visit(Reverse{editor}, *change);
    undone_.push_back(std::move(step));
    done_.pop_back();
    ShowScene(editor, undone_.back().before, plane);
    return true;
}

bool History::Redo(Editor& editor) {
    EndStep(editor);
    if (undone_.empty())
        return false;
    Step& step = undone_.back();
    done_.reserve(done_.size() + 1);
    std::optional<FrontPlane> plane = PlaneFor(editor, step.after);
    MarkEditorChanged(editor);
    for (Change& change : step.changes)
        std::visit(Forward{editor}, change);
    done_.push_back(std::move(step));
    undone_.pop_back();
    ShowScene(editor, done_.back().after, plane);
    return true;
}

StepScope::StepScope(Editor& editor) : editor_(editor) {
    if (editor.history.scopeDepth_ == 0)
        editor.history.BeginStep(editor);
    ++editor.history.scopeDepth_;
}

StepScope::~StepScope() {
    if (--editor_.history.scopeDepth_ == 0)
        editor_.history.EndStep(editor_);
}

}  // namespace stackmason
