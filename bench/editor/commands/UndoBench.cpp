// Undo and redo on the largest building, 512 x 512 x 256, full of blocks: what the history
// holds after 1,000 single-cell strokes (goal: under 1 MB) and after one RotateLayers, and the
// time of RotateLayers, FlipAxis and a fill against the time of taking each back and doing it
// again (goal: undo and redo no slower than the command itself).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <memory>

#include "bench/support/BenchEditors.h"
#include "editor/canvas/CanvasInput.h"
#include "editor/commands/FillArea.h"
#include "editor/commands/FlipAxis.h"
#include "editor/commands/LayerCommands.h"
#include "editor/commands/RotateLayers.h"

namespace stackmason {
namespace {

// One editor with the largest building for the whole run: loading it takes seconds.
bench::BenchEditor& Largest() {
    static const std::unique_ptr<bench::BenchEditor> made = [] {
        auto editor = std::make_unique<bench::BenchEditor>();
        bench::LoadLargestBuilding(*editor);
        return editor;
    }();
    made->editor.history.Clear();
    return *made;
}

double Kilobytes(std::size_t bytes) { return static_cast<double>(bytes) / 1024.0; }

// The heap in use, as the allocator counts it.
std::size_t HeapInUse() { return mallinfo2().uordblks; }

void Click(Editor& editor, CanvasEvent::Kind kind, int x, int y) {
    CanvasEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.left = kind == CanvasEvent::Kind::LeftPress;
    event.right = kind == CanvasEvent::Kind::RightPress;
    HandleCanvasEvent(editor, event);
    event.kind = CanvasEvent::Kind::Other;
    event.left = event.right = false;
    HandleCanvasEvent(editor, event);
}

// On the building as loaded: registered first, since later benchmarks turn it.
void BM_HistoryAfterRotateLayers(benchmark::State& state) {
    Editor& editor = Largest().editor;
    std::size_t bytes = 0, heap = 0;
    for (auto _ : state) {
        editor.history.Clear();
        const std::size_t heapBefore = HeapInUse();
        RotateLayers(editor);
        bytes = editor.history.Bytes();
        heap = HeapInUse() - heapBefore;
    }
    state.counters["history_KB"] = Kilobytes(bytes);
    state.counters["heap_KB"] = Kilobytes(heap);
}
BENCHMARK(BM_HistoryAfterRotateLayers)->Unit(benchmark::kMillisecond)->Iterations(1);

// 1,000 strokes of one cell each, with the pen and the eraser, on cells that change.
void BM_HistoryAfterSingleCellStrokes(benchmark::State& state) {
    Editor& editor = Largest().editor;
    editor.layerSpin.SetValue(100);
    std::size_t bytes = 0, heap = 0, steps = 0;
    int round = 0;
    for (auto _ : state) {
        editor.history.Clear();
        const std::size_t heapBefore = HeapInUse();
        for (int stroke = 0; stroke < 1000; ++stroke) {
            editor.selector.Select(1 + (stroke + round) % 80);
            const int x = (stroke * 37) % 512, y = (stroke * 101) % 512;
            Click(editor, stroke % 2 == 0 ? CanvasEvent::Kind::LeftPress : CanvasEvent::Kind::RightPress,
                  x * 32 + 5, y * 32 + 5);
        }
        bytes = editor.history.Bytes();
        heap = HeapInUse() - heapBefore;
        steps = editor.history.UndoCount();
        ++round;
    }
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["history_KB"] = Kilobytes(bytes);
    state.counters["heap_KB"] = Kilobytes(heap);
}
BENCHMARK(BM_HistoryAfterSingleCellStrokes)->Unit(benchmark::kMillisecond)->Iterations(3);

// The command, its undo and its redo, each timed on its own; the iteration time is the
// command's, the counters give all three in milliseconds.
template <typename Command>
void TimeCommandUndoRedo(benchmark::State& state, Editor& editor, Command command) {
    using Clock = std::chrono::steady_clock;
    const auto milliseconds = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    double commandMs = 0, undoMs = 0, redoMs = 0;
    for (auto _ : state) {
        editor.history.Clear();
        const auto start = Clock::now();
        command();
        const auto done = Clock::now();
        editor.history.Undo(editor);
        const auto undone = Clock::now();
        editor.history.Redo(editor);
        const auto redone = Clock::now();
        commandMs += milliseconds(done - start);
        undoMs += milliseconds(undone - done);
        redoMs += milliseconds(redone - undone);
        state.SetIterationTime(std::chrono::duration<double>(done - start).count());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["command_ms"] = commandMs / n;
    state.counters["undo_ms"] = undoMs / n;
    state.counters["redo_ms"] = redoMs / n;
}

void BM_RotateLayersUndoRedo(benchmark::State& state) {
    Editor& editor = Largest().editor;
    TimeCommandUndoRedo(state, editor, [&] { RotateLayers(editor); });
}
BENCHMARK(BM_RotateLayersUndoRedo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_FlipAxisUndoRedo(benchmark::State& state) {
    Editor& editor = Largest().editor;
    TimeCommandUndoRedo(state, editor, [&] { FlipAxis(editor); });
}
BENCHMARK(BM_FlipAxisUndoRedo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// The whole of layer 129, emptied first, filled with one block and then the other.
void BM_FillAreaUndoRedo(benchmark::State& state) {
    Editor& editor = Largest().editor;
    editor.layerSpin.SetValue(129);
    ClearLayer(editor);
    editor.cursorCell = {256, 256};
    int block = 1;
    TimeCommandUndoRedo(state, editor, [&] {
        editor.selector.Select(block);
        FillArea(editor);
        block = 3 - block;
    });
}
BENCHMARK(BM_FillAreaUndoRedo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

}  // namespace
}  // namespace stackmason
