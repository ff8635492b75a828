#pragma once

#include <string>

#include "editor/model/Editor.h"

namespace stackmason {

// Rebuilds the block pictures and the selector's items from the archive named by the
// editor's pack name in the current directory. Air is always item 0; entry k becomes block
// code k. An entry without a picture (a folder, bytes that do not decode) keeps its place with
// the placeholder picture, and its selector item is marked as no block picture, so that
// schematic files never name it. A pack that cannot be opened leaves air alone, without a
// message.
void LoadTexturePack(Editor& editor);

// The user's "Select TexturePack": asks, lets the user choose an archive, loads it and makes
// a new building.
void SelectTexturePack(Editor& editor);

// The name part of a path, behind its last "/" or "\".
std::string FileNamePart(const std::string& path);

}  // namespace stackmason
