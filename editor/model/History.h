#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/Building.h"
#include "editor/model/FrontPlane.h"
#include "editor/model/SelectorModel.h"

namespace stackmason {

struct Editor;

// The most memory the steps that can be undone and redone may hold together.
inline constexpr std::size_t kHistoryBudgetBytes = std::size_t{512} << 20;

namespace history {

// One cell and a code: taking the step back or forward swaps the code held here with the
// cell's, so one record serves both ways. The index is the cell's place in the building's
// cells (Building::Index), which stays valid because the steps are taken back in order.
struct CellSwap {
    std::uint32_t index = 0;
    StoredCode code = 0;
};

// What one edit did, as little as takes it back and forward again.
struct CellsChanged {
    std::vector<CellSwap> cells;
};
struct LayerInserted {
    int after = 0;
};
// The removed layer's cells x, y >= 1, row by row (none when they were all air), and the
// index-0 row and column of the top layer, which the removal drops.
struct LayerRemoved {
    int layer = 0;
    std::vector<StoredCode> cells;
    std::vector<StoredCode> topEdge;
};
// The swap is its own inverse; only the ground it clears is kept, as the cells that were not
// air, indexed as before the swap.
struct AxesSwapped {
    std::vector<CellSwap> ground;
};
// Turning back recomputes every cell that stayed in its layer; the codes of the cells turned
// out of it are kept, in the order Building::ForEachCellTurnedOut visits them (none when they
// were all air).
struct LayersTurned {
    std::vector<StoredCode> lost;
};
// The building another one replaced, and the pack with its selector items.
struct BuildingSwapped {
    Building grid;
};
struct PackSwapped {
    std::string name;
    SelectorModel selector;
};

using Change =
    std::variant<CellsChanged, LayerInserted, LayerRemoved, AxesSwapped, LayersTurned, BuildingSwapped, PackSwapped>;

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

struct Step {
    Scene before;
    Scene after;
    std::vector<Change> changes;
    std::size_t bytes = 0;
};

}  // namespace history

// The steps of the building's history: every change to the building is one step that can be
// undone and redone. A step opens when an operation starts (or a mouse button goes down on
// the canvas), gathers what ApplyEdit records of each edit it makes, and closes when the
// operation ends (or the button comes up); a step that changed nothing is dropped. A new step
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

    bool CanUndo() const { return !done_.empty() || HasOpenChanges(); }
    bool CanRedo() const { return !undone_.empty() && !HasOpenChanges(); }
    // Closes the open step first; false when there was nothing to take back (forward).
    bool Undo(Editor& editor);
    bool Redo(Editor& editor);

    // The memory the closed steps hold, and their counts.
    std::size_t Bytes() const { return bytes_; }
    std::size_t UndoCount() const { return done_.size(); }
    std::size_t RedoCount() const { return undone_.size(); }
    void Clear() noexcept;

    // For ApplyEdit and the actions that put several things in place at once. Prepare takes,
    // before an edit changes anything, the room its record needs: `changes` more changes and
    // `cells` more cell swaps in the open step, which it opens if none is. The Add and Record
    // calls that follow cannot fail.
    void Prepare(const Editor& editor, std::size_t cells = 0, std::size_t changes = 1);
    void AddCell(std::uint32_t index, StoredCode replaced) noexcept;
    void Record(history::Change&& change) noexcept;

private:
    friend class StepScope;

    bool HasOpenChanges() const { return open_ && !open_->changes.empty(); }
    void Keep(history::Step&& step);
    void DropOldestOverBudget() noexcept;

    std::size_t budget_;
    std::size_t bytes_ = 0;
    int scopeDepth_ = 0;
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
