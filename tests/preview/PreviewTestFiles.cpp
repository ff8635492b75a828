#include "tests/preview/PreviewTestFiles.h"

#include <unistd.h>

#include <filesystem>
#include <functional>

#include "tests/support/TempFolder.h"
#include "tests/support/TestImages.h"

namespace orbitscope::test {
namespace {

std::string TempPath(const std::string& name) { return stackmason::test::ProcessTempFile(name); }

}  // namespace

std::string WriteTempFile(const std::string& name, const std::string& bytes) {
    const std::string path = TempPath(name);
    stackmason::test::WriteFile(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return path;
}

std::string WriteProgram(const std::string& name, const std::string& lines) {
    const std::string path = TempPath(std::to_string(std::hash<std::string>{}(lines)) + "-" + name);
    if (!std::filesystem::exists(path)) {
        const std::string temporary = WriteTempFile(std::to_string(getpid()) + "-" + name, "#!/bin/sh\n" + lines);
        std::filesystem::permissions(temporary, std::filesystem::perms::owner_all);
        std::filesystem::rename(temporary, path);
    }
    return path;
}

std::string WritePreviewFile(const std::string& name, int width, int length, int height, const std::string& packName,
                             const std::vector<std::vector<std::string>>& layers) {
    std::string text = std::to_string(width) + "x" + std::to_string(length) + "x" + std::to_string(height) + ";" +
                       packName + "\r\n--------\r\n";
    for (std::size_t h = 0; h < layers.size(); ++h) {
        text += "layer " + std::to_string(h + 1) + "\r\n";
        for (const std::string& row : layers[h])
            text += row + "\r\n";
        text += "\r\n";
    }
    return WriteTempFile(name, text);
}

std::vector<std::uint8_t> SolidPng(int width, int height, stackmason::Rgba colour) {
    return stackmason::test::EncodePng(stackmason::Image(width, height, colour));
}

std::string WritePack(const std::string& name, const std::vector<stackmason::test::ArchiveEntry>& entries) {
    const std::string path = TempPath(name);
    stackmason::test::WriteFile(path, stackmason::test::MakeZip(entries));
    return path;
}

}  // namespace orbitscope::test
