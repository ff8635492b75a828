#include "editor/shell/PreviewLaunch.h"

#include <filesystem>
#include <system_error>

#include "editor/files/BuildingFiles.h"

namespace stackmason {

namespace fs = std::filesystem;

namespace {

// Removes the exchange file on every way out of the launch, also when starting or waiting for
// the preview fails, but only one the editor wrote itself: when the write failed, whatever
// stands under that name (a folder, a link, the user's own file) is not ours.
struct WrittenPreviewFile {
    bool written;
    ~WrittenPreviewFile() {
        std::error_code error;
        if (written && fs::is_regular_file(fs::symlink_status(kPreviewFileName, error)))
            fs::remove(kPreviewFileName, error);
    }
};

}  // namespace

std::string FindPreviewProgram(const std::string& programFolder) {
    std::error_code error;
    for (const fs::path& folder : {fs::path(programFolder), fs::current_path(error)}) {
        if (folder.empty())
            continue;
        const fs::path candidate = folder / kPreviewProgramName;
        if (fs::is_regular_file(candidate, error))
            return fs::absolute(candidate, error).string();
    }
    return kPreviewProgramName;
}

void LaunchPreview(Editor& editor) {
    // The preview mode of SaveBuilding, told whether the file was written.
    const WrittenPreviewFile file{WriteBuildingToFile(editor, kPreviewFileName)};
    std::error_code error;
    const std::string workingDirectory = fs::current_path(error).string();
    editor.dialogs.RunAndWait(FindPreviewProgram(editor.programFolder), kPreviewFileName, workingDirectory);
    // The window did not react during the wait; clicks and keys given meanwhile were meant for
    // a window that showed nothing, so they are dropped rather than run now.
    editor.window.DropPendingEvents();
}

}  // namespace stackmason
