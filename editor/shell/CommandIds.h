#pragma once

namespace stackmason {

// One id space for the context menu's items and the keyboard shortcuts. CommandTable.cpp
// says what each of them is and does.
enum CommandId : int {
    kCopyLayer = 1,
    kPasteLayer = 2,
    kInsertLayer = 3,
    kRemoveLayer = 4,
    kFillArea = 5,
    kSilhouette = 6,
    kToggleView = 7,
    kOrbitscope = 8,
    kFlipAxis = 9,
    kLoadBrush = 10,
    kRandomBrush = 11,
    kRotateLayers = 16,
    kScrollUp = 20,
    kScrollLeft = 21,
    kScrollDown = 22,
    kScrollRight = 23,
    kSelectTexturePack = 24,
    kShowContextMenu = 25,
    kClearLayer = 26,
    kConfirmLayer = 76,
    // Additions of this editor, numbered clear of the commands above.
    kUndo = 100,
    kRedo = 101,
    kMaterialList = 102,
    kSelectBox = 103,
    kCopyBox = 104,
    kCutBox = 105,
    kPasteBox = 106,
    kDeleteBox = 107,
    kStackBox = 108,
    kDropBox = 109,
    kSelectAll = 110,
    kTurnCopyClockwise = 111,
    kTurnCopyAnticlockwise = 112,
    kMirrorCopyLeftRight = 113,
    kMirrorCopyFrontBack = 114,
    kMirrorDrawing = 115,
    kLayerPlans = 116,
    kLayerPictures = 117,
};

}  // namespace stackmason
