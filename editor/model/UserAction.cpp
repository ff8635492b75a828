#include "editor/model/UserAction.h"

#include <new>
#include <stdexcept>

#include "editor/model/Repaint.h"
#include "editor/model/Views.h"

namespace stackmason {
namespace {

std::string ReasonOf(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return "not enough memory";
    } catch (const std::length_error&) {
        // What a container says when asked for more than it can ever hold.
        return "not enough memory";
    } catch (const std::exception& error) {
        const std::string text = error.what();
        return text.empty() ? "an unexpected error" : text;
    } catch (...) {
        return "an unexpected error";
    }
}

// After a failure that came once the action had changed the editor, the canvas may show a
// half-finished repaint or have an old size; a fresh layout and repaint, which the canvas
// side carries out after the action, show the editor as it now is.
void ShowEditorAsItIs(Editor& editor) noexcept {
    editor.canvasWidth = CanvasWidthFor(editor);
    editor.canvasHeight = CanvasHeightFor(editor);
    editor.repaint = kLayoutAndFullRepaint;
}

}  // namespace

void NameRunningAction(Editor& editor, std::string what) { editor.action.exactly = std::move(what); }

void MarkEditorChanged(Editor& editor) noexcept { editor.action.changedEditor = true; }

std::string ActionFailureText(const RunningAction& action, std::exception_ptr failure) {
    const std::string_view what = action.Text().empty() ? "do that" : action.Text();
    return "Could not " + std::string(what) + ": " + ReasonOf(failure) +
           (action.changedEditor ? ". Part of it may have been done." : ". Nothing was changed.");
}

void ReportActionFailure(Editor& editor, std::exception_ptr failure) noexcept {
    if (editor.action.changedEditor)
        ShowEditorAsItIs(editor);
    try {
        editor.dialogs.ShowError(ActionFailureText(editor.action, failure));
    } catch (...) {
        // Not even the message could be shown; the editor goes on as it is.
    }
}

}  // namespace stackmason
