#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editor/model/Editor.h"

namespace stackmason::testing {

class NullPainter : public CanvasPainter {
public:
    void ResizeCanvas(int width, int height) override {
        canvasWidth = width;
        canvasHeight = height;
    }
    void PaintEmptyTopView() override {}
    void RedrawCanvas() override { ++redraws; }
    void DrawCell(int, int) override {}

    int canvasWidth = 0;
    int canvasHeight = 0;
    int redraws = 0;
};

class CountingWindow : public WindowPort {
public:
    int ClientWidth() const override { return 1000; }
    int ClientHeight() const override { return 700; }
    void PlaceCanvasScroller(int, int, int, int, int, int) override {}
    void FocusCanvasScroller() override {}
    void SetTitle(const std::string&) override {}
    int ScrollX() const override { return 0; }
    int ScrollY() const override { return 0; }
    void ScrollTo(int, int) override {}
    void DropPendingEvents() override { ++dropped; }

    int dropped = 0;
};

// Answers each file requester with the next scripted choice (nothing = cancelled) and keeps
// the requests and error texts it was shown.
class ScriptedDialogs : public DialogPort {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool AskYesNo(const std::string&) override { return true; }
    std::optional<FileChoice> AskOpenFile(const FileRequest& request) override { return Answer(request); }
    std::optional<FileChoice> AskSaveFile(const FileRequest& request) override { return Answer(request); }
    bool RunAndWait(const std::string&, const std::string&, const std::string&) override { return true; }
    void ShowInfoWindow() override {}

    void Choose(std::string path, int filter) { answers.push_back(FileChoice{std::move(path), filter}); }
    void Cancel() { answers.push_back(std::nullopt); }

    std::deque<std::optional<FileChoice>> answers;
    std::vector<FileRequest> requests;
    std::vector<std::string> errors;

private:
    std::optional<FileChoice> Answer(const FileRequest& request);
};

// Runs the test in a fresh directory of its own, made current, and restores the old one.
class TemporaryWorkingDirectory {
public:
    TemporaryWorkingDirectory();
    ~TemporaryWorkingDirectory();
    TemporaryWorkingDirectory(const TemporaryWorkingDirectory&) = delete;
    TemporaryWorkingDirectory& operator=(const TemporaryWorkingDirectory&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

// An editor on fake ports in its own working directory, with a building of the given size.
struct FilesTestEditor {
    FilesTestEditor(int width, int length, int height);

    TemporaryWorkingDirectory directory;
    NullPainter painter;
    CountingWindow window;
    ScriptedDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// Writes a texture pack archive of 32 x 32 pictures with these entry names.
void WritePack(const std::string& path, const std::vector<std::string>& entryNames);
// Fills the selector as a pack of these block ids would: "Air", then one item per id.
void FillSelector(Editor& editor, const std::vector<std::int32_t>& blockIds);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

// The building's cells x 1..X, y 1..Y, h 1..H, in the grid's own order.
std::vector<BlockCode> BuildingCells(const Editor& editor);

}  // namespace stackmason::testing
