// Full repaints and mouse drags on big buildings: first headless (the model and the tile
// canvas), then in the editor's own window on the offscreen platform, where the widget's paint
// of what changed is part of what the user waits for.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <random>

#include "editor/canvas/CanvasRepaint.h"
#include "bench/support/OffscreenWindow.h"
#include "editor/canvas/CanvasInput.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/BuiltInPictures.h"
#include "editor/shell/CanvasView.h"
#include "editor/shell/MainWindow.h"
#include "tests/editor/support/EditorFixture.h"

namespace stackmason {
namespace {

// A pack of 40 pictures, every fourth one see-through.
std::vector<Image> Pictures() {
    std::vector<Image> pictures{AirImage()};
    std::mt19937 random(3);
    for (int i = 1; i <= 40; ++i) {
        Image image(32, 32);
        for (Rgba& p : image.Pixels())
            p = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(i * 6), 90,
                 static_cast<std::uint8_t>(i % 4 == 0 ? 100 : 255)};
        pictures.push_back(image);
    }
    return pictures;
}

// Counts full repaints while passing everything on.
class CountingPainter final : public CanvasPainter {
public:
    explicit CountingPainter(CanvasPainter& inner) : inner_(inner) {}
    void ResizeCanvas(int w, int h) override { inner_.ResizeCanvas(w, h); }
    void PaintEmptyTopView() override { inner_.PaintEmptyTopView(); }
    void RedrawCanvas() override {
        ++redraws;
        inner_.RedrawCanvas();
    }
    void DrawCell(int a, int b) override { inner_.DrawCell(a, b); }
    int redraws = 0;

private:
    CanvasPainter& inner_;
};

struct BigEditor {
    BigEditor(int width, int length, int height) {
        renderer.Attach(editor);
        for (const Image& picture : Pictures())
            editor.selector.Add("block", picture);
        editor.widthSpin.SetValue(width);
        editor.lengthSpin.SetValue(length);
        editor.heightSpin.SetValue(height);
        NewBuilding(editor);
        ShowRequestedRepaint(editor);
    }
    // Layers 1 and 2 half full of random blocks, the ground as well.
    void FillLowLayers() {
        std::mt19937 random(11);
        for (int x = 1; x <= editor.grid.Width(); ++x)
            for (int y = 1; y <= editor.grid.Length(); ++y)
                for (int h = 0; h <= 2; ++h)
                    editor.grid.At(x, y, h) = random() % 2 ? static_cast<BlockCode>(1 + random() % 40) : 0;
    }
    TileCanvas canvas;
    CanvasRenderer renderer{canvas};
    CountingPainter painter{renderer};
    testing::FakeWindow window;
    testing::FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// Buildings of side x side (29 x 20) x height cells.
void RedrawTopViewWithSilhouette(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    BigEditor big(side, side == 29 ? 20 : side, static_cast<int>(state.range(1)));
    big.FillLowLayers();
    big.editor.silhouetteOn = true;
    big.editor.layerSpin.SetValue(2);
    for (auto _ : state)
        big.renderer.RedrawCanvas();
    state.counters["tiles"] = static_cast<double>(big.canvas.TileCount());
}
BENCHMARK(RedrawTopViewWithSilhouette)->Args({29, 4})->Args({512, 4})->Args({512, 256})->Unit(benchmark::kMillisecond);

// 1000 moves with the left button held across a 512 x 512 building, as a drag does.
void DragThousandMoves(benchmark::State& state) {
    BigEditor big(512, 512, 8);
    big.FillLowLayers();
    big.editor.layerSpin.SetValue(3);
    CanvasEvent press{CanvasEvent::Kind::LeftPress, 100, 100, true};
    HandleCanvasEvent(big.editor, press);
    int step = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i, ++step) {
            CanvasEvent move{CanvasEvent::Kind::Move, 100 + (step * 7) % 16000, 100 + (step * 3) % 16000, true};
            HandleCanvasEvent(big.editor, move);
        }
    }
    state.counters["time_per_event"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["full_repaints"] = big.painter.redraws;
}
BENCHMARK(DragThousandMoves)->Unit(benchmark::kMillisecond);

// The editor's main window with a building of side x side x height cells, layers 1 and 2 half
// full, silhouettes on, layer 2 shown.
class WindowWithBuilding {
public:
    WindowWithBuilding(int side, int height) : window_(std::make_unique<testing::FakeDialogs>()) {
        Editor& editor = window_.State();
        for (const Image& picture : Pictures())
            editor.selector.Add("block", picture);
        editor.widthSpin.SetValue(side);
        editor.lengthSpin.SetValue(side);
        editor.heightSpin.SetValue(height);
        NewBuilding(editor);
        ShowRequestedRepaint(editor);
        std::mt19937 random(11);
        for (int x = 1; x <= side; ++x)
            for (int y = 1; y <= side; ++y)
                for (int h = 0; h <= 2; ++h)
                    editor.grid.At(x, y, h) = random() % 2 ? static_cast<BlockCode>(1 + random() % 40) : 0;
        editor.silhouetteOn = true;
        editor.layerSpin.SetValue(2);
        window_.show();
        if (!QTest::qWaitForWindowExposed(&window_))
            std::abort();
        editor.painter.RedrawCanvas();
        bench::ShowWindowChanges();
    }

    Editor& State() { return window_.State(); }

private:
    MainWindow window_;
};

// A full TopView repaint with silhouettes as the user waits for it: the grid read, the tile
// canvas composed and the visible part of the canvas widget painted.
void WindowRedrawTopViewWithSilhouette(benchmark::State& state) {
    WindowWithBuilding window(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        window.State().painter.RedrawCanvas();
        bench::ShowWindowChanges();
    }
}
BENCHMARK(WindowRedrawTopViewWithSilhouette)->Args({29, 4})->Args({512, 4})->Args({512, 256})->Unit(benchmark::kMillisecond);

// The single-cell repaint beside it: a left press drawing one cell, painted in the window.
void WindowDrawOneCell(benchmark::State& state) {
    WindowWithBuilding window(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    int step = 0;
    for (auto _ : state) {
        ++step;
        const CanvasEvent press{CanvasEvent::Kind::LeftPress, 40 + (step % 20) * 32, 40 + (step % 15) * 32, true};
        HandleCanvasEvent(window.State(), press);
        bench::ShowWindowChanges();
    }
}
BENCHMARK(WindowDrawOneCell)->Args({512, 4})->Args({512, 256})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) { return stackmason::bench::RunOffscreenWindowBenchmarks(argc, argv); }
