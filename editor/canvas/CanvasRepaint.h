#pragma once

#include <string_view>
#include <utility>

#include "editor/model/Editor.h"
#include "editor/model/UserAction.h"

namespace stackmason {

// Carries out the repaint the editor's operations asked for (Repaint.h): first the layout,
// the canvas sized and the scroller placed below the toolbar as wide as the window, then the
// paint. The request is taken before anything is painted, so a paint that fails is not
// repeated by the next call.
void ShowRequestedRepaint(Editor& editor);

// The same after an action's error boundary: a failure shows nothing more, since the next
// repaint shows the editor as it is.
void ShowRemainingRepaint(Editor& editor) noexcept;

// One user action inside its error boundary (UserAction.h), ending with the repaint it asked
// for; when it fails, the layout and repaint its failure asks for follow.
template <typename Action>
void RunShownAction(Editor& editor, std::string_view what, Action&& action) noexcept {
    RunUserAction(editor, what, [&] {
        std::forward<Action>(action)();
        ShowRequestedRepaint(editor);
    });
    ShowRemainingRepaint(editor);
}

}  // namespace stackmason
