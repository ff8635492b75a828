// Full repaints and mouse drags on big buildings.
#include <benchmark/benchmark.h>

#include <random>

#include "editor/canvas/CanvasInput.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/BuiltInPictures.h"
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
        editor.blockImages = Pictures();
        for (const Image& picture : editor.blockImages)
            editor.selector.Add("block", picture);
        editor.widthSpin.SetValue(width);
        editor.lengthSpin.SetValue(length);
        editor.heightSpin.SetValue(height);
        NewBuilding(editor);
    }
    // Layers 1 and 2 half full of random blocks, the ground as well.
    void FillLowLayers() {
        std::mt19937 random(11);
        for (int x = 1; x <= editor.gridWidth; ++x)
            for (int y = 1; y <= editor.gridLength; ++y)
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

void RedrawTopViewWithSilhouette(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    BigEditor big(side, side == 29 ? 20 : side, 4);
    big.FillLowLayers();
    big.editor.silhouetteOn = true;
    big.editor.layerSpin.SetValue(2);
    for (auto _ : state)
        big.renderer.RedrawCanvas();
    state.counters["tiles"] = static_cast<double>(big.canvas.TileCount());
}
BENCHMARK(RedrawTopViewWithSilhouette)->Arg(29)->Arg(512)->Unit(benchmark::kMillisecond);

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

}  // namespace
}  // namespace stackmason

BENCHMARK_MAIN();
