#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "bench/support/BenchEditors.h"
#include "editor/shell/MainWindow.h"

namespace stackmason {
namespace bench {

// A folder of its own under TMPDIR (else /tmp) holding the default texture packs, made the
// current directory, so that buildings name a pack that is there and the window loads it as
// a user's would. Removed by LeaveWorkingFolder.
const std::filesystem::path& EnterWorkingFolder(const std::string& name);
void LeaveWorkingFolder();

// The editor's main window, shown on Qt's offscreen platform and started as the program
// starts it, its file dialogs choosing what the benchmark says. Each action runs as the
// window runs it, one user action inside its error boundary, and returns once the window has
// painted the result.
class WindowBench {
public:
    WindowBench();
    ~WindowBench();

    Editor& State() { return window_->State(); }

    // The Load button with this file and type chosen.
    void Load(const std::string& path, int filter);
    // The Save button with this file and type chosen; an existing file is replaced.
    void Save(const std::string& path, int filter);
    void PressNew();
    void Undo();
    // A command of the menu or the keyboard, by its id.
    void Command(int id);
    // A left click on the canvas at this pixel of it: press and release.
    void ClickCanvas(int x, int y);

private:
    FixedChoiceDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace bench
}  // namespace stackmason
