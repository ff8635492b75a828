#include "editor/shell/PreviewLaunch.h"

#include <filesystem>
#include <system_error>

#include "editor/files/BuildingFiles.h"

namespace stackmason {

namespace fs = std::filesystem;

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
    SaveBuilding(editor, true);
    std::error_code error;
    const std::string workingDirectory = fs::current_path(error).string();
    editor.dialogs.RunAndWait(FindPreviewProgram(editor.programFolder), kPreviewFileName, workingDirectory);
    fs::remove(kPreviewFileName, error);
}

}  // namespace stackmason
