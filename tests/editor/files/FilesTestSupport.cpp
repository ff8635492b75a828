#include "FilesTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "editor/model/BuildingOperations.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace stackmason::testing {

TemporaryWorkingDirectory::TemporaryWorkingDirectory() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(Path());
}

TemporaryWorkingDirectory::~TemporaryWorkingDirectory() { std::filesystem::current_path(previous_); }

FilesTestEditor::FilesTestEditor(int width, int length, int height) {
    editor.widthSpin.SetValue(width);
    editor.lengthSpin.SetValue(length);
    editor.heightSpin.SetValue(height);
    NewBuilding(editor);
}

void WritePack(const std::string& path, const std::vector<std::string>& entryNames) {
    const std::vector<std::uint8_t> picture = test::EncodePng(test::CoordinateImage(32, 32));
    std::vector<test::ArchiveEntry> entries;
    for (const std::string& name : entryNames)
        entries.push_back({name, picture});
    test::WriteFile(path, test::MakeZip(entries));
}

void FillSelector(Editor& editor, const std::vector<std::int32_t>& blockIds) {
    editor.selector.Clear();
    editor.selector.Add("Air", Image(32, 32));
    for (std::int32_t id : blockIds) {
        editor.selector.Add("block " + std::to_string(id), Image(32, 32));
        editor.selector.SetData(editor.selector.Count() - 1, id);
    }
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) { test::WriteFile(path, bytes); }

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<BlockCode> BuildingCells(const Editor& editor) {
    std::vector<BlockCode> cells;
    for (int x = 1; x <= editor.grid.Width(); ++x)
        for (int y = 1; y <= editor.grid.Length(); ++y)
            for (int h = 1; h <= editor.grid.Height(); ++h)
                cells.push_back(editor.grid.At(x, y, h));
    return cells;
}

void CopyDefaultPack(const std::string& name) {
    std::filesystem::copy_file(std::filesystem::path(STACKMASON_PACK_DIR) / name, name,
                               std::filesystem::copy_options::overwrite_existing);
}

BlockCode CodeOfItem(const SelectorModel& selector, const std::string& text) {
    for (BlockCode code = 1; code < selector.Count(); ++code)
        if (selector.ItemAt(code).text == text)
            return code;
    ADD_FAILURE() << "no entry " << text;
    return -1;
}

}  // namespace stackmason::testing
