#pragma once

#include "editor/canvas/CanvasRenderer.h"
#include "editor/canvas/TileCanvas.h"
#include "tests/editor/support/FakePorts.h"

namespace stackmason::testing {

// An editor painting onto a real tile canvas, in a fake window with fake dialogs.
struct EditorFixture {
    EditorFixture() { renderer.Attach(editor); }

    TileCanvas canvas;
    CanvasRenderer renderer{canvas};
    FakeWindow window;
    FakeDialogs dialogs;
    Editor editor{renderer, window, dialogs};
};

}  // namespace stackmason::testing
