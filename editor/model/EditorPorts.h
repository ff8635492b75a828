#pragma once

#include <optional>
#include <string>
#include <vector>

namespace stackmason {

// What the editor's operations need from the window around them. The Qt shell implements
// these; tests use fakes, so every user action can run without a display.

// The canvas as the operations see it: the repaints, which read the editor's state.
class CanvasPainter {
public:
    virtual ~CanvasPainter() = default;
    // Gives the surface the size of the current layout; new pixels show the margin colour.
    virtual void ResizeCanvas(int width, int height) = 0;
    // A new building's first paint: the air picture in every building cell, then the label.
    virtual void PaintEmptyTopView() = 0;
    virtual void RedrawCanvas() = 0;
    virtual void DrawCell(int a, int b) = 0;
    // The quick repaint after a fill in TopView: every cell of the current layer as the picture
    // of its code (air as the air picture), then the view label. No background pass, no
    // silhouette, and the keyboard focus stays where it is. A painter without a quick path
    // repaints fully.
    virtual void PaintLayerCells() { RedrawCanvas(); }
    // Shows the selected box's outline and the floating copy as the editor now has them, over
    // the cells; cheap when they did not change.
    virtual void ShowOverlay() {}
};

// The main window's part in the operations.
class WindowPort {
public:
    virtual ~WindowPort() = default;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Places the scroller and sizes its scrollable area and the canvas inside it.
    virtual void PlaceCanvasScroller(int x, int y, int width, int height, int canvasWidth, int canvasHeight) = 0;
    virtual void FocusCanvasScroller() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // Scroll position of the canvas in its scroller, and scrolling it (clamped by the scroller).
    virtual int ScrollX() const = 0;
    virtual int ScrollY() const = 0;
    virtual void ScrollTo(int x, int y) = 0;
    // Drops the mouse and key events that queued up while a long operation ran.
    virtual void DropPendingEvents() = 0;
    virtual bool LayerSpinHasFocus() const { return false; }
    // Opens the context menu at the mouse cursor.
    virtual void OpenContextMenu() {}
    // Shows the material list window until the user closes it.
    virtual void OpenMaterialList() {}
};

// A file requester's question and the user's answer.
struct FileRequest {
    std::string title;
    // Pairs of the label the user sees and the pattern it stands for, e.g.
    // {"txt(*.txt)", "*.txt"}.
    std::vector<std::pair<std::string, std::string>> filters;
    int selectedFilter = 0;
    std::string startName;
    // A choice offered beside the filters, shown with its label, e.g. "Game version:";
    // none when `choices` is empty. selectedChoice is the entry preselected.
    std::string choiceLabel;
    std::vector<std::string> choices;
    int selectedChoice = -1;
};
struct FileChoice {
    std::string path;
    int filter = 0;
    // The entry of the request's choices the user left selected; -1 when it offered none.
    int choice = -1;
};

// Which way stacked copies of a box go: east is +x, south +y (down the TopView canvas), up +h.
enum class StackDirection { East, West, North, South, Up, Down };
struct StackRequest {
    int count = 1;
    StackDirection direction = StackDirection::Up;
};

// Modal questions, file requesters and the start of other programs.
class DialogPort {
public:
    virtual ~DialogPort() = default;
    virtual void ShowError(const std::string& text) = 0;
    // A message box titled "Info" with an OK button: something the user should know about an
    // action that succeeded.
    virtual void ShowInfo(const std::string& text) = 0;
    // A Yes/No question titled "Info"; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // The question before a save replaces an existing file: Yes/No with No preselected, titled
    // like the requester it follows; true for Yes.
    virtual bool AskToReplace(const std::string& /*title*/, const std::string& text) { return AskYesNo(text); }
    virtual std::optional<FileChoice> AskOpenFile(const FileRequest& request) = 0;
    virtual std::optional<FileChoice> AskSaveFile(const FileRequest& request) = 0;
    // Starts program with one argument in workingDirectory and waits for its end; false when
    // it could not start.
    virtual bool RunAndWait(const std::string& program, const std::string& argument,
                            const std::string& workingDirectory) = 0;
    virtual void ShowInfoWindow() = 0;
    // Asks how many copies of the selected box to stack and which way; none when cancelled.
    virtual std::optional<StackRequest> AskStack() { return std::nullopt; }
    // Asks for a folder with a folder requester; none when cancelled.
    virtual std::optional<std::string> AskFolder(const std::string& /*title*/) { return std::nullopt; }
};

}  // namespace stackmason
