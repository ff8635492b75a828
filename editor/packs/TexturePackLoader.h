#pragma once

#include <string>
#include <vector>

#include "common/Image.h"
#include "editor/model/Editor.h"
#include "editor/model/SelectorModel.h"

namespace stackmason {

// A texture pack read off to the side: its name and the selector's items, which hold the
// block pictures. The editor is not touched until it is put in place.
struct StagedPack {
    std::string name;
    SelectorModel selector;
    int leftOutPictures = 0;  // entries the pack's work budget had no room for
};

// Reads the archive of this name in the current directory. Air is always item 0; entry k
// becomes block code k. An entry without a picture (a folder, bytes that do not decode) keeps
// its place with the placeholder picture, and its selector item is marked as no block picture,
// so that schematic files never name it. An entry left out for the pack's work budget is a
// block like any other, shown with the missing picture. A pack that cannot be opened gives
// air alone, without a message. Throws std::bad_alloc when the memory for the pictures
// cannot be had.
StagedPack StageTexturePack(const std::string& name);

// Tells the user, in one "Info" box, how many pictures of the pack just put in place were
// left out and why; nothing when none were.
void TellOfLeftOutPictures(Editor& editor, const std::string& packName, int leftOutPictures);

// Makes the staged pack the editor's: its name and selector items, by swaps that
// cannot fail; then the selector's listener is told. Nothing is selected afterwards.
void PutPackInPlace(Editor& editor, StagedPack&& pack);

// Rebuilds the block pictures and the selector's items from the archive named by the
// editor's pack name (StageTexturePack, then PutPackInPlace).
void LoadTexturePack(Editor& editor);

// The user's "Select TexturePack": asks, lets the user choose an archive in the current
// directory, loads it and makes a new building. An archive in another folder is refused
// with an "Error" box; that, and a pack or building that cannot be had, change nothing.
void SelectTexturePack(Editor& editor);

}  // namespace stackmason
