#include "bench/support/BenchEditors.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/support/BuildingText.h"
#include "common/Constants.h"
#include "editor/files/BuildingFiles.h"
#include "tests/support/TempFolder.h"

namespace stackmason {
namespace bench {

void FixedChoiceDialogs::ShowError(const std::string& text) {
    std::fprintf(stderr, "error: %s\n", text.c_str());
    std::exit(1);
}

void FillMixedSelector(Editor& editor) {
    editor.selector.Clear();
    editor.selector.Add("Air", Image(32, 32));
    for (int code = 1; code <= 80; ++code) {
        editor.selector.Add("block", Image(32, 32));
        editor.selector.SetData(code, code >= 13 && code <= 28 ? 35 : code % 60 + 1);
    }
}

void WriteGeneratedBuilding(const std::string& path, int width, int length, int height) {
    const std::string text = BuildingText(width, length, height, kBenchPackName);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file.flush()) {
        std::fprintf(stderr, "error: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void LoadGeneratedBuilding(BenchEditor& bench, int width, int length, int height) {
    const std::string path = test::ProcessTempFile("generated.txt");
    WriteGeneratedBuilding(path, width, length, height);
    // The size fields take the header's sizes, which lie in their ranges.
    const FileChoice earlier = bench.dialogs.choice;
    bench.dialogs.choice = {path, kTextFilter};
    LoadBuilding(bench.editor);
    bench.dialogs.choice = earlier;
    std::filesystem::remove(path);
    FillMixedSelector(bench.editor);
}

void LoadLargestBuilding(BenchEditor& bench) {
    LoadGeneratedBuilding(bench, kMaxGridWidth, kMaxGridLength, kMaxGridHeight);
}

}  // namespace bench
}  // namespace stackmason
