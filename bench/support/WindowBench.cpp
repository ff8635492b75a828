#include "bench/support/WindowBench.h"

#include <unistd.h>

#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "bench/support/OffscreenWindow.h"
#include "editor/shell/CanvasView.h"
#include "editor/shell/CommandIds.h"
#include "editor/shell/DispatchCommand.h"
#include "editor/shell/ToolbarActions.h"
#include "tests/support/TempFolder.h"

namespace stackmason {
namespace bench {
namespace {

std::filesystem::path& Folder() {
    static std::filesystem::path folder;
    return folder;
}

void CopyPack(const char* name) {
    std::error_code error;
    std::filesystem::copy_file(std::filesystem::path(STACKMASON_PACK_DIR) / name, Folder() / name,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        std::fprintf(stderr, "error: cannot copy the pack %s: %s\n", name, error.message().c_str());
        std::exit(1);
    }
}

}  // namespace

const std::filesystem::path& EnterWorkingFolder(const std::string& name) {
    Folder() = test::ProcessTempFolder() / name;
    std::filesystem::create_directories(Folder());
    CopyPack("stackmason.zip");
    CopyPack("minecraft.zip");
    CopyPack("gameblocks.zip");
    std::filesystem::current_path(Folder());
    return Folder();
}

void LeaveWorkingFolder() {
    std::error_code error;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), error);
    std::filesystem::remove_all(Folder(), error);
}

WindowBench::WindowBench() {
    auto dialogs = std::make_unique<FixedChoiceDialogs>();
    dialogs_ = dialogs.get();
    window_ = std::make_unique<MainWindow>(std::move(dialogs));
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) {
        std::fprintf(stderr, "error: the window was never shown\n");
        std::exit(1);
    }
    ShowWindowChanges();
}

WindowBench::~WindowBench() = default;

void WindowBench::Load(const std::string& path, int filter) {
    dialogs_->choice = {path, filter};
    PressLoadButton(State());
    ShowWindowChanges();
}

void WindowBench::Save(const std::string& path, int filter) {
    dialogs_->choice = {path, filter};
    PressSaveButton(State());
    ShowWindowChanges();
}

void WindowBench::PressNew() {
    PressNewButton(State());
    ShowWindowChanges();
}

void WindowBench::Command(int id) {
    DispatchCommand(State(), id);
    ShowWindowChanges();
}

void WindowBench::ClickCanvas(int x, int y) {
    QTest::mouseClick(&window_->CanvasWidget(), Qt::LeftButton, {}, QPoint(x, y));
    ShowWindowChanges();
}

void WindowBench::Undo() {
    DispatchCommand(State(), kUndo);
    ShowWindowChanges();
}

}  // namespace bench
}  // namespace stackmason
