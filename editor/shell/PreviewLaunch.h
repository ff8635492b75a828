#pragma once

#include <string>

#include "editor/files/BuildingFiles.h"
#include "editor/model/Editor.h"

namespace stackmason {

inline constexpr const char* kPreviewProgramName = "orbitscope";

// Writes the building as "preview.tmp", runs the 3-D preview on it, waits for its end, drops
// the input given meanwhile and deletes the file it wrote, also when the preview could not
// start.
void LaunchPreview(Editor& editor);

// The preview program: in the editor's own folder first, then in the current directory;
// the bare name when neither holds it (the start then fails quietly).
std::string FindPreviewProgram(const std::string& programFolder);

}  // namespace stackmason
