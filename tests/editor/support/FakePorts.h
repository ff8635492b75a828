#pragma once

#include <deque>
#include <string>
#include <vector>

#include "editor/canvas/CanvasRenderer.h"
#include "editor/canvas/TileCanvas.h"
#include "editor/model/Editor.h"
#include "editor/model/EditorPorts.h"

namespace stackmason::testing {

// A window that records what the operations ask of it.
class FakeWindow final : public WindowPort {
public:
    int ClientWidth() const override { return 939; }
    int ClientHeight() const override { return 741; }
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
    void DropPendingEvents() override { ++dropCount; }

    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
    } scroller;
    int focusCount = 0;
    int dropCount = 0;
    int scrollX = 0;
    int scrollY = 0;
    std::string title;
};

// Dialogs with scripted answers; every message shown is kept.
class FakeDialogs final : public DialogPort {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
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

    std::vector<std::string> errors;
    std::vector<std::string> questions;
    std::vector<FileRequest> requests;
    std::deque<std::optional<FileChoice>> fileAnswers;
    std::vector<std::string> runs;
    bool answerYes = true;
    bool runSucceeds = true;
    int infoCount = 0;

private:
    std::optional<FileChoice> Answer(const FileRequest& request) {
        requests.push_back(request);
        if (fileAnswers.empty())
            return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

// An editor over a real tile canvas and fake window and dialogs.
struct EditorFixture {
    EditorFixture() { renderer.Attach(editor); }

    TileCanvas canvas;
    CanvasRenderer renderer{canvas};
    FakeWindow window;
    FakeDialogs dialogs;
    Editor editor{renderer, window, dialogs};
};

}  // namespace stackmason::testing
