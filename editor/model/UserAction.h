#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "editor/model/Editor.h"

namespace stackmason {

// The one error boundary around each user action: a button, a command, a shortcut, a mouse
// action on the canvas, a turn of the wheel. Whatever the action throws (std::bad_alloc,
// any other exception) ends it and becomes one "Error" box that says what could not be done
// and why: "Could not load House.txt: not enough memory. Nothing was changed." Nothing leaves
// the boundary, so no exception ever reaches the window system.
//
// Actions make that message true: they prepare everything new off to the side and change
// the editor only once nothing can fail any more. A failure after an action's first change
// (its repaint, say) is reported as having done part of it, and the canvas is laid out and
// repainted afresh so that it shows the editor as it now is.
//
// `what` names the action in words that follow "Could not "; the action can name itself more
// exactly once it knows more (NameRunningAction). A boundary inside another one, as when an
// action lets waiting window events run, reports its own action and then restores the outer.
template <typename Action>
void RunUserAction(Editor& editor, std::string_view what, Action&& action) noexcept;

// Names the running action more exactly: "load House.txt" once the file is chosen.
void NameRunningAction(Editor& editor, std::string what);

// Marks the point from which the running action changes the editor. Repaints mark it by
// themselves; an action whose first change is not a repaint marks it before that change.
void MarkEditorChanged(Editor& editor) noexcept;

// The text of the "Error" box for an action that failed with this exception.
std::string ActionFailureText(const RunningAction& action, std::exception_ptr failure);

// Shows the box for the running action's failure; never throws.
void ReportActionFailure(Editor& editor, std::exception_ptr failure) noexcept;

template <typename Action>
void RunUserAction(Editor& editor, std::string_view what, Action&& action) noexcept {
    // Taking the name allocates nothing, so not even running out of memory at once can
    // leave the outer action's name in the message.
    RunningAction outer = std::exchange(editor.action, RunningAction{what, {}, false});
    try {
        std::forward<Action>(action)();
    } catch (...) {
        ReportActionFailure(editor, std::current_exception());
    }
    editor.action = std::move(outer);
}

}  // namespace stackmason
