#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "editor/model/Edit.h"

namespace stackmason {

struct Editor;

// The most memory the steps that can be undone and redone may hold together. With the largest
// building in force (135 MB of cells) the editor stays well within twice its cells and 100 MB
// even when its buildings are random blocks, which pack to a byte per cell (64 MB): two of those
// fit. Buildings as builders make them, mostly air, pack to a few MB, so dozens of loads and
// any number of strokes fit all the same.
inline constexpr std::size_t kHistoryBudgetBytes = std::size_t{160} << 20;

namespace history {

// What the editor showed at one end of a step: the view and its layers, the size fields and
// the building's sizes, and in FrontView the cells where the working plane differs from the
// slice shown (index y * (H + 1) + p), which is how the plane is told apart from a fresh one.
struct Scene {
    bool topView = true;
    int layer = 1;
    int topViewLayer = 0;
    int frontViewLayer = 1;
    int widthField = 0;
    int lengthField = 0;
    int heightField = 0;
    int gridWidth = 0;
    int gridLength = 0;
    int gridHeight = 0;
    bool planeKnown = true;
    std::vector<std::pair<std::uint32_t, BlockCode>> planeDifferences;
};

// The inverses of the edits a step made, in the order they were made. Taking the step back
// applies them last to first, each leaving its own inverse in its place; taking it forward
// again applies those first to last.
struct Step {
    Scene before;
    Scene after;
    std::vector<Edit> inverses;
    std::size_t bytes = 0;
};

}  // namespace history

// The steps of the building's history: every change to the building is one step that can be
// undone and redone. A step opens when an operation starts (or a mouse button goes down on
// the canvas), gathers what ApplyEdit records of each edit it makes, and closes when the
// operation ends (or the button comes up); a step in which no cell, size, pack or view
// changed is dropped, and leaves what could be redone as it was. A new step
// drops the steps that could have been redone. The steps together hold at most the budget;
// the oldest go first, and a step larger than the whole budget is still kept, alone.
//
// Undo and redo put the building back as it was at that end of the step: cells, sizes, size
// fields, texture pack, and the view, layer and working plane, then ask for the layout and a
// full repaint. The selected block, the copied layer, the silhouette, the random brush and
// the line tool are not part of the history.
class History {
public:
    explicit History(std::size_t budgetBytes = kHistoryBudgetBytes) : budget_(budgetBytes) {}

    // Closes the open step and opens one as the editor is now. Throws std::bad_alloc, with
    // no step open, when even that cannot be had.
    void BeginStep(const Editor& editor);
    // Closes the open step; one that changed nothing is dropped. Should its record not fit in
    // memory, the whole history is dropped, so that it never holds a gap.
    void EndStep(const Editor& editor) noexcept;

    // A stroke of the pen on the canvas is one step, from the press (or the first move with a
    // button held) to the release.
    void BeginStroke(const Editor& editor);
    void EndStroke(const Editor& editor) noexcept;
    bool InStroke() const { return inStroke_; }
    // An undo or redo while a button is still held ends the stroke there: it stays one step,
    // and the rest of the drag draws nothing until the button comes up.
    bool StrokeCut() const { return strokeCut_; }

    bool CanUndo() const { return !done_.empty() || HasOpenChanges(); }
    bool CanRedo() const { return !undone_.empty() && !HasOpenChanges(); }
    // Closes the open step first (a stroke in progress ends); false when there was nothing to
    // take back (forward).
    bool Undo(Editor& editor);
    bool Redo(Editor& editor);

    // The memory the closed steps hold, and their counts.
    std::size_t Bytes() const { return bytes_; }
    std::size_t UndoCount() const { return done_.size(); }
    std::size_t RedoCount() const { return undone_.size(); }
    void Clear() noexcept;

    // For ApplyEdit and the actions that put several things in place at once. Prepare takes,
    // before an edit changes anything, the room its record needs: `changes` more inverses in the
    // open step, which it opens if none is, and room for `cells` more cell swaps in its last
    // one, so that a stroke's cells join one record. The Record calls that follow cannot fail.
    void Prepare(const Editor& editor, std::size_t cells = 0, std::size_t changes = 1);
    // Keeps the inverse of an edit just applied; one that changed nothing is left out.
    void Record(Edit&& inverse) noexcept;

private:
    friend class StepScope;

    bool HasOpenChanges() const { return open_ && !open_->inverses.empty(); }
    void CutStroke() noexcept;
    void Keep(history::Step&& step);
    void TakeStep(Editor& editor, history::Step& step, bool back);
    void DropOldestOverBudget() noexcept;
    void GiveFreedMemoryBack() noexcept;
    // Steps dropped together holding this much are worth handing their memory back for.
    static constexpr std::size_t kLargeRelease = std::size_t{16} << 20;

    std::size_t budget_;
    std::size_t bytes_ = 0;
    int scopeDepth_ = 0;
    bool inStroke_ = false;
    bool strokeCut_ = false;
    std::optional<history::Step> open_;
    std::vector<history::Step> done_;
    std::vector<history::Step> undone_;
};

// One operation as one step: the outermost scope opens it and closes it, also when the
// operation fails part-way (what it did is then the step).
class StepScope {
public:
    explicit StepScope(Editor& editor);
    ~StepScope();
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    Editor& editor_;
};

}  // namespace stackmason
