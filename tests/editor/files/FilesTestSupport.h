#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editor/model/Editor.h"
#include "tests/editor/support/FakePorts.h"
#include "tests/support/TempFolder.h"

namespace stackmason::testing {

// Runs the test in a fresh directory of its own, made current, and restores the old one.
class TemporaryWorkingDirectory {
public:
    TemporaryWorkingDirectory();
    ~TemporaryWorkingDirectory();
    TemporaryWorkingDirectory(const TemporaryWorkingDirectory&) = delete;
    TemporaryWorkingDirectory& operator=(const TemporaryWorkingDirectory&) = delete;
    const std::filesystem::path& Path() const { return folder_.Path(); }

private:
    std::filesystem::path previous_;
    test::TempFolder folder_{"stackmason-files"};
};

// An editor on fake ports in its own working directory, with a building of the given size.
struct FilesTestEditor {
    FilesTestEditor(int width, int length, int height);

    TemporaryWorkingDirectory directory;
    CountingPainter painter;
    FakeWindow window;
    FakeDialogs dialogs;
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

// Copies the default pack of this name from the build into the current directory.
void CopyDefaultPack(const std::string& name);

// The code of the pack's entry with this item text, looked up apart from any mapping of the
// editor's; a test failure and -1 where the pack has none.
BlockCode CodeOfItem(const SelectorModel& selector, const std::string& text);

// The building's cells x 1..X, y 1..Y, h 1..H, x outermost and h innermost.
std::vector<BlockCode> BuildingCells(const Editor& editor);

}  // namespace stackmason::testing
