// stackmason-packgen: draws the default texture packs.
//
//   stackmason-packgen FOLDER               writes FOLDER/stackmason.zip, minecraft.zip and gameblocks.zip
//   stackmason-packgen --sheet PACK SHEET   writes a contact sheet PNG of the pack PACK
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/packgen/ContactSheet.h"
#include "tools/packgen/ImageEncoding.h"
#include "tools/packgen/PackContents.h"
#include "tools/packgen/PackWriter.h"

namespace {

constexpr int kJpegQuality = 92;

std::vector<packgen::ArchiveFile> Encoded(const std::vector<packgen::PackPicture>& pictures) {
    std::vector<packgen::ArchiveFile> files;
    for (const packgen::PackPicture& picture : pictures) {
        files.push_back({picture.name, picture.encoding == packgen::Encoding::Jpeg
                                           ? packgen::EncodeJpeg(picture.image, kJpegQuality)
                                           : packgen::EncodePng(picture.image)});
        if (files.back().bytes.empty()) {
            std::fprintf(stderr, "stackmason-packgen: could not encode %s\n", picture.name.c_str());
            return {};
        }
    }
    return files;
}

bool Write(const std::filesystem::path& path, const std::vector<packgen::PackPicture>& pictures) {
    const std::vector<packgen::ArchiveFile> files = Encoded(pictures);
    if (files.empty())
        return false;
    const std::string error = packgen::WriteArchive(path.string(), files);
    if (!error.empty()) {
        std::fprintf(stderr, "stackmason-packgen: %s\n", error.c_str());
        return false;
    }
    return true;
}

int GeneratePacks(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::vector<packgen::PackPicture> pictures = packgen::StackmasonPictures();
    const std::vector<packgen::PackPicture> importPictures = packgen::SchematicImportPictures(pictures);
    if (importPictures.empty()) {
        std::fprintf(stderr, "stackmason-packgen: no layout of minecraft.zip gives every block its data value\n");
        return 1;
    }
    const bool written = Write(folder / "stackmason.zip", pictures) && Write(folder / "minecraft.zip", importPictures) &&
                         Write(folder / "gameblocks.zip", packgen::GameBlockPictures());
    return written ? 0 : 1;
}

int WriteSheet(const std::string& packPath, const std::string& sheetPath) {
    const auto sheet = packgen::ContactSheet(packPath);
    if (!sheet) {
        std::fprintf(stderr, "stackmason-packgen: cannot open %s\n", packPath.c_str());
        return 1;
    }
    const std::vector<std::uint8_t> bytes = packgen::EncodePng(*sheet);
    std::FILE* file = std::fopen(sheetPath.c_str(), "wb");
    bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr)
        written = std::fclose(file) == 0 && written;
    if (!written)
        std::fprintf(stderr, "stackmason-packgen: cannot write %s\n", sheetPath.c_str());
    return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] != "--sheet")
        return GeneratePacks(std::filesystem::path(args[0]));
    if (args.size() == 3 && args[0] == "--sheet")
        return WriteSheet(std::string(args[1]), std::string(args[2]));
    std::fprintf(stderr, "usage: stackmason-packgen FOLDER\n       stackmason-packgen --sheet PACK.zip SHEET.png\n");
    return 2;
}
