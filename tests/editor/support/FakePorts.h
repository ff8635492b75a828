#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "editor/model/Editor.h"
#include "editor/model/EditorPorts.h"

// Stand-ins for the window around the editor's operations, shared by every editor test and
// benchmark: they record what the operations ask for and answer from a script.
namespace stackmason::testing {

// Counts the repaints asked for and keeps the cells drawn one by one.
class CountingPainter : public CanvasPainter {
public:
    void ResizeCanvas(int width, int height) override {
        ++resizes;
        canvasWidth = width;
        canvasHeight = height;
    }
    void PaintEmptyTopView() override {}
    void RedrawCanvas() override { ++redraws; }
    void DrawCell(int a, int b) override {
        ++cellDraws;
        cells.push_back({a, b});
    }
    void PaintLayerCells() override { ++layerPaints; }

    void Reset() {
        resizes = redraws = cellDraws = layerPaints = 0;
        cells.clear();
    }

    int resizes = 0;
    int redraws = 0;
    int cellDraws = 0;
    int layerPaints = 0;
    int canvasWidth = 0;
    int canvasHeight = 0;
    std::vector<CellPosition> cells;
};

// A main window of the editor's start size that records the scroller, focus, title and
// scrolling it is asked for.
class FakeWindow final : public WindowPort {
public:
    int ClientWidth() const override { return clientWidth; }
    int ClientHeight() const override { return clientHeight; }
    void PlaceCanvasScroller(int x, int y, int width, int height, int, int) override {
        scroller = {x, y, width, height};
    }
    void FocusCanvasScroller() override { ++focusCount; }
    void SetTitle(const std::string& text) override { title = text; }
    int ScrollX() const override { return scrollX; }
    int ScrollY() const override { return scrollY; }
    void ScrollTo(int x, int y) override {
        scrollX = x;
        scrollY = y;
    }
    void DropPendingEvents() override { ++dropped; }
    void OpenMaterialList() override { ++materialLists; }

    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
    } scroller;
    int clientWidth = 939;
    int clientHeight = 741;
    int focusCount = 0;
    int dropped = 0;
    int materialLists = 0;
    int scrollX = 0;
    int scrollY = 0;
    std::string title;
};

// Dialogs with scripted answers: each file requester takes the next answer (nothing means
// cancelled, as does an empty script). Every message and question shown is kept.
class FakeDialogs : public DialogPort {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInfo(const std::string& text) override { infos.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return answerYes;
    }
    std::optional<FileChoice> AskOpenFile(const FileRequest& request) override { return Answer(request); }
    std::optional<FileChoice> AskSaveFile(const FileRequest& request) override { return Answer(request); }
    bool RunAndWait(const std::string& program, const std::string& argument, const std::string&) override {
        runs.push_back(program + " " + argument);
        return runSucceeds;
    }
    void ShowInfoWindow() override { ++infoCount; }
    std::optional<StackRequest> AskStack() override {
        ++stackQuestions;
        return stackAnswer;
    }
    std::optional<std::string> AskFolder(const std::string& title) override {
        folderTitles.push_back(title);
        return folderAnswer;
    }

    // `choice` is the entry left selected in the choice the request offered beside its filters.
    void Choose(std::string path, int filter, int choice = -1) {
        answers.push_back(FileChoice{std::move(path), filter, choice});
    }
    void Cancel() { answers.push_back(std::nullopt); }

    std::vector<std::string> errors;
    std::vector<std::string> infos;
    std::vector<std::string> questions;
    std::vector<FileRequest> requests;
    std::deque<std::optional<FileChoice>> answers;
    std::vector<std::string> runs;
    bool answerYes = true;
    bool runSucceeds = true;
    int infoCount = 0;
    int stackQuestions = 0;
    std::optional<StackRequest> stackAnswer;
    // The folder requester's answer, the same each time; nothing means cancelled.
    std::optional<std::string> folderAnswer;
    std::vector<std::string> folderTitles;

private:
    std::optional<FileChoice> Answer(const FileRequest& request) {
        requests.push_back(request);
        if (answers.empty())
            return std::nullopt;
        std::optional<FileChoice> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace stackmason::testing
