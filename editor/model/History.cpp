#include "editor/model/History.h"

#include <algorithm>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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

// Shows the scene through the view switch, which lays the canvas out, fits and refreshes the
// working plane and asks for the repaint; then the layers and the plane's own cells follow.
void ShowScene(Editor& editor, const Scene& scene, std::optional<FrontPlane>& plane) {
    editor.widthSpin.SetValue(scene.widthField);
    editor.lengthSpin.SetValue(scene.lengthField);
    editor.heightSpin.SetValue(scene.heightField);
    if (scene.topView) {
        editor.topViewLayer = scene.layer;
        ShowTopView(editor);
    } else {
        // The plane has its extents now, so the switch takes no memory.
        if (plane)
            editor.frontPlane = std::move(*plane);
        editor.frontViewLayer = scene.layer;
        ShowFrontView(editor);
        if (scene.planeKnown) {
            const int height = editor.grid.Height();
            for (const auto& [index, code] : scene.planeDifferences)
                editor.frontPlane.At(static_cast<int>(index) / (height + 1), static_cast<int>(index) % (height + 1)) =
                    code;
        }
    }
    editor.topViewLayer = scene.topViewLayer;
    editor.frontViewLayer = scene.frontViewLayer;
}

// Applies each inverse in turn, leaving its own inverse in its place: last to first takes the
// step back, first to last forward again.
void ApplyInverses(Editor& editor, std::vector<Edit>& inverses, bool lastFirst) {
    const std::size_t count = inverses.size();
    for (std::size_t i = 0; i < count; ++i) {
        Edit& slot = inverses[lastFirst ? count - 1 - i : i];
        Edit taken = std::move(slot);
        slot = edit::Nothing{};
        ApplyAndInvert(editor, std::move(taken), slot);
        PackForKeeping(slot);
    }
}

std::size_t SceneBytes(const Scene& scene) {
    return scene.planeDifferences.capacity() * sizeof(scene.planeDifferences[0]);
}

std::size_t StepBytes(const Step& step) {
    std::size_t bytes = sizeof(Step) + SceneBytes(step.before) + SceneBytes(step.after) +
                        step.inverses.capacity() * sizeof(Edit);
    for (const Edit& inverse : step.inverses)
        bytes += HeldBytes(inverse);
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
    if (step.inverses.empty() && step.before.topView == editor.InTopView())
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
    const std::size_t heldBefore = bytes_;
    // A new change drops what could have been redone.
    for (const Step& dropped : undone_)
        bytes_ -= dropped.bytes;
    undone_.clear();
    if (step.bytes > budget_) {
        done_.clear();
        bytes_ = 0;
    }
    const std::size_t added = step.bytes;
    bytes_ += step.bytes;
    done_.push_back(std::move(step));
    DropOldestOverBudget();
    const std::size_t dropped = heldBefore + added - bytes_;
    if (dropped >= kLargeRelease)
        GiveFreedMemoryBack();
}

// A packed building is many small blocks of the heap, which the allocator keeps for itself
// once freed; without handing them back, memory would stay at its highest after the history
// has dropped the buildings.
void History::GiveFreedMemoryBack() noexcept {
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
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
    std::vector<Edit>& inverses = open_->inverses;
    if (inverses.capacity() - inverses.size() < more)
        inverses.reserve(std::max(inverses.size() + more, inverses.capacity() * 2));
    if (cells == 0 || inverses.empty())
        return;
    // A stroke's cells join the record of the cells before them.
    if (auto* last = std::get_if<edit::SwapCells>(&inverses.back()); last && last->backwards) {
        std::vector<edit::CellSwap>& swaps = last->cells;
        if (swaps.capacity() - swaps.size() < cells)
            swaps.reserve(std::max(swaps.size() + cells, swaps.capacity() * 2));
    }
}

void History::Record(Edit&& inverse) noexcept {
    if (std::holds_alternative<edit::Nothing>(inverse))
        return;
    PackForKeeping(inverse);
    std::vector<Edit>& inverses = open_->inverses;
    const auto* cells = std::get_if<edit::SwapCells>(&inverse);
    auto* last = inverses.empty() ? nullptr : std::get_if<edit::SwapCells>(&inverses.back());
    // Joined with the cells before it only where Prepare made room for them.
    if (cells && last && cells->backwards && last->backwards &&
        last->cells.capacity() - last->cells.size() >= cells->cells.size()) {
        last->cells.insert(last->cells.end(), cells->cells.begin(), cells->cells.end());
        return;
    }
    inverses.push_back(std::move(inverse));
}

void History::BeginStroke(const Editor& editor) {
    inStroke_ = true;
    strokeCut_ = false;
    BeginStep(editor);
}

void History::EndStroke(const Editor& editor) noexcept {
    inStroke_ = false;
    strokeCut_ = false;
    EndStep(editor);
}

void History::CutStroke() noexcept {
    if (!inStroke_)
        return;
    inStroke_ = false;
    strokeCut_ = true;
}

bool History::Undo(Editor& editor) {
    CutStroke();
    EndStep(editor);
    if (done_.empty())
        return false;
    Step& step = done_.back();
    // What can fail comes first: the room on the other stack and the working plane.
    undone_.reserve(undone_.size() + 1);
    std::optional<FrontPlane> plane = PlaneFor(editor, step.before);
    TakeStep(editor, step, true);
    undone_.push_back(std::move(step));
    done_.pop_back();
    ShowScene(editor, undone_.back().before, plane);
    return true;
}

bool History::Redo(Editor& editor) {
    CutStroke();
    EndStep(editor);
    if (undone_.empty())
        return false;
    Step& step = undone_.back();
    done_.reserve(done_.size() + 1);
    std::optional<FrontPlane> plane = PlaneFor(editor, step.after);
    TakeStep(editor, step, false);
    done_.push_back(std::move(step));
    undone_.pop_back();
    DropOldestOverBudget();
    ShowScene(editor, done_.back().after, plane);
    return true;
}

void History::TakeStep(Editor& editor, Step& step, bool back) {
    MarkEditorChanged(editor);
    try {
        ApplyInverses(editor, step.inverses, back);
    } catch (...) {
        // Part of the step is taken; the history no longer matches the building.
        Clear();
        throw;
    }
    // The inverses held now may be of other kinds, holding more or less.
    bytes_ -= step.bytes;
    step.bytes = StepBytes(step);
    bytes_ += step.bytes;
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
