#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/Building.h"
#include "common/Image.h"
#include "editor/model/BlockClip.h"
#include "editor/model/CellBox.h"
#include "editor/model/EditorPorts.h"
#include "editor/model/FrontPlane.h"
#include "editor/model/History.h"
#include "editor/model/MirrorMode.h"
#include "editor/model/Repaint.h"
#include "editor/model/RunningAction.h"
#include "editor/model/SelectorModel.h"
#include "editor/model/SpinModel.h"

namespace stackmason {

enum class ViewMode { TopView = 0, FrontView = 1 };

// A box the builder marked: a rectangle of the plane of the view it was marked in, running
// through the planes from the one it was marked on to the one shown while it is open, or to
// the one it was closed on.
struct BoxSelection {
    ViewMode view = ViewMode::TopView;
    int anchorPlane = 1;
    int farPlane = 1;
    bool open = false;
    // Two opposite corners of the rectangle: (x, y) when marked in TopView, (y, h) in FrontView.
    int a0 = 1;
    int b0 = 1;
    int a1 = 1;
    int b1 = 1;
};

inline constexpr int kToolbarHeight = 90;
inline constexpr int kCanvasMargin = 5;

// The editor's whole state: the building, the working plane, the models
// of the controls the operations read and write, and the flags of the tools. There is one
// of it per editor window; the shell owns it and every operation takes it by reference.
struct Editor {
    Editor(CanvasPainter& canvasPainter, WindowPort& windowPort, DialogPort& dialogPort)
        : painter(canvasPainter, action), window(windowPort), dialogs(dialogPort) {}

    int CurrentLayer() const { return layerSpin.Value(); }
    BlockCode SelectedBlock() const { return selector.Selected(); }
    bool InTopView() const { return viewMode == ViewMode::TopView; }

    // Set by the error boundary around each user action; declared before the painter, which marks it.
    RunningAction action;
    ActionPainter painter;
    WindowPort& window;
    DialogPort& dialogs;

    // The building in force; its sizes are the building's sizes, held nowhere else.
    Building grid;
    FrontPlane frontPlane;

    ViewMode viewMode = ViewMode::TopView;
    int topViewLayer = 0;
    int frontViewLayer = 1;
    int canvasWidth = 0;
    int canvasHeight = 0;

    bool silhouetteOn = false;
    bool randomBrushActive = false;
    // Kept across new buildings and not part of the history, like the other tool flags.
    MirrorMode mirrorMode = MirrorMode::Off;
    CellPosition cursorCell;
    CellPosition lastDrawnCell;
    std::string lengthText;
    bool lineArmed = false;
    CellPosition lineStart;
    Building brushCells;
    // Seeded once per run; tests seed it themselves.
    std::mt19937 random{std::random_device{}()};
    int copiedLayer = -1;

    // The box tools. None of them is part of the history; the clipboard outlives New and Load.
    bool boxMode = false;
    bool markingBox = false;
    std::optional<BoxSelection> selection;
    BlockClip clipboard;
    // The copy that follows the pointer until it is placed or dropped, turned and mirrored as
    // the builder chose.
    std::optional<BlockClip> floatingCopy;

    std::string texturePackName = "stackmason.zip";
    // The data version of the game release the builder chose in the save requester, kept
    // for the rest of the session: saves are written for it and the material list names
    // blocks as it does. Nothing until a choice is made, which stands for the default release.
    std::optional<std::int64_t> gameDataVersion;
    std::string versionText = "Version 0.1.49";
    // Where the editor's program lies; the preview program is looked for there first.
    std::string programFolder;
    SpinModel widthSpin{1, 512, 29};
    SpinModel lengthSpin{1, 512, 20};
    SpinModel heightSpin{1, 256, 18};
    // Its value is the current layer: a height in TopView, an x in FrontView.
    SpinModel layerSpin{1, 256, 8};
    // Its items hold the block pictures: item 0 the air picture, item n that of block code n.
    SelectorModel selector;

    // The steps that can be undone and redone.
    History history;
    // The repaint the running operation asked for, until the canvas side carries it out.
    RepaintRequest repaint;
};

}  // namespace stackmason
