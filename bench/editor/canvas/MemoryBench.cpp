// Peak memory of the editor with the largest building shown in TopView. Its own program, so
// that nothing else has raised the peak before.
#include <benchmark/benchmark.h>

#include "editor/canvas/CanvasRepaint.h"
#include "bench/support/PeakMemory.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/BuiltInPictures.h"
#include "tests/editor/support/EditorFixture.h"

namespace stackmason {
namespace {

void LargestBuildingInTopView(benchmark::State& state) {
    for (auto _ : state) {
        testing::EditorFixture f;
        f.editor.selector.Add("Air", AirImage());
        f.editor.selector.Add("block", PlaceholderImage());
        f.editor.widthSpin.SetValue(512);
        f.editor.lengthSpin.SetValue(512);
        f.editor.heightSpin.SetValue(256);
        NewBuilding(f.editor);
        ShowRequestedRepaint(f.editor);
        for (int x = 1; x <= 512; ++x)
            for (int y = 1; y <= 512; ++y)
                f.editor.grid.At(x, y, 1) = (x + y) % 2;
        f.editor.silhouetteOn = true;
        f.renderer.RedrawCanvas();
        benchmark::DoNotOptimize(f.canvas.TileCount());
    }
    state.counters["peak_MB"] = bench::PeakMegabytes();
}
BENCHMARK(LargestBuildingInTopView)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stackmason

BENCHMARK_MAIN();
