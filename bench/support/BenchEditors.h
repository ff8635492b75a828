#pragma once

#include <optional>
#include <string>

#include "editor/files/FileRequests.h"
#include "editor/model/Editor.h"
#include "tests/editor/support/FakePorts.h"

namespace stackmason {
namespace bench {

// Always chooses the same file and says yes; an error ends the benchmark program, since a
// benchmark that failed measures nothing.
class FixedChoiceDialogs : public DialogPort {
public:
    void ShowError(const std::string& text) override;
    void ShowInfo(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return true; }
    std::optional<FileChoice> AskOpenFile(const FileRequest&) override { return choice; }
    std::optional<FileChoice> AskSaveFile(const FileRequest&) override { return choice; }
    bool RunAndWait(const std::string&, const std::string&, const std::string&) override { return true; }
    void ShowInfoWindow() override {}

    FileChoice choice;
};

// An editor on fake ports whose file dialogs choose what the benchmark says.
struct BenchEditor {
    testing::CountingPainter painter;
    testing::FakeWindow window;
    FixedChoiceDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// The pack the generated buildings name: no such file lies in the benchmarks' folders, so
// loading one keeps the built-in pictures and the time measured is the building's alone.
inline constexpr const char* kBenchPackName = "no-such-pack.zip";

// 80 blocks whose ids repeat some (wool), as a loaded pack would give them; the export and
// import need ids for every code in the building.
void FillMixedSelector(Editor& editor);

// Writes the generated building of these sizes (codes 0 to 80, seeded) as a text building file
// at `path`; a file that cannot be written ends the program.
void WriteGeneratedBuilding(const std::string& path, int width, int length, int height);

// Writes the generated building of these sizes (codes 0 to 80, seeded) to a file of its own
// under the temporary folder, loads it through the Load button as a user would, removes the
// file and gives the editor the mixed selector. The cells are filled through the editor's own
// operations only, so this keeps working whatever the building's storage.
void LoadGeneratedBuilding(BenchEditor& bench, int width, int length, int height);

// The same with the largest building, 512 x 512 x 256.
void LoadLargestBuilding(BenchEditor& bench);

}  // namespace bench
}  // namespace stackmason
