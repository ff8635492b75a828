#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/model/EditorPorts.h"
#include "editor/model/HeadlessPorts.h"

// What the fuzz targets share: ports that do nothing but count the messages, a scratch folder
// for the readers that take a path, and a small zip writer so that mutated pictures reach
// the decoders instead of failing the archive's check sums.
namespace stackmason::fuzz {

class CountingDialogs final : public DialogPort {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInfo(const std::string& text) override { infos.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<FileChoice> AskOpenFile(const FileRequest&) override { return std::nullopt; }
    std::optional<FileChoice> AskSaveFile(const FileRequest&) override { return std::nullopt; }
    bool RunAndWait(const std::string&, const std::string&, const std::string&) override { return false; }
    void ShowInfoWindow() override {}

    std::vector<std::string> errors;
    std::vector<std::string> infos;
};

// A folder of this process's own under the system's temporary folder (a memory file system
// when there is one), made on first use.
const std::string& ScratchFolder();
// Writes bytes to ScratchFolder()/name and gives the path.
std::string WriteScratchFile(std::string_view name, std::span<const std::uint8_t> bytes);

struct ZipEntry {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// A zip archive of stored (uncompressed) entries with correct check sums.
std::vector<std::uint8_t> StoredZip(const std::vector<ZipEntry>& entries);

// The entry list that a fuzz input describes: per entry one byte of name length, the name,
// two bytes (little-endian) of data length and the data. A field cut short takes what is
// left. The inverse is EncodeEntries, which the seed maker uses.
std::vector<ZipEntry> DecodeEntries(std::span<const std::uint8_t> input);
std::vector<std::uint8_t> EncodeEntries(const std::vector<ZipEntry>& entries);

// The bytes gzip-compressed, as Minecraft tools store their files.
std::vector<std::uint8_t> Gzip(std::span<const std::uint8_t> bytes);

// The plain NBT of a file: inflated when it starts as gzip or zlib does, every gzip member
// in turn; as it stands otherwise. Nothing when it does not inflate.
std::optional<std::vector<std::uint8_t>> PlainBytes(std::span<const std::uint8_t> bytes);

// What a schematic's NBT states of itself, found by a walk of our own, apart from the readers
// that make the cells: the last integer tag named Width, Length and Height among the root
// compound's own tags and, where `nested` names one, those of the root's compound of that
// name; and every string tagged `packTag` directly in a "Metadata" compound among them.
struct StatedTags {
    // Width, Length and Height, when all three are there.
    std::optional<std::array<std::int64_t, 3>> sizes;
    // The strings' bytes as the file holds them.
    std::vector<std::string> packNames;

    // Nothing when the walk cannot follow the data (cut short, an unknown tag type).
    static std::optional<StatedTags> Of(std::span<const std::uint8_t> nbt, std::string_view nested = {},
                                        std::string_view packTag = {});
};

// Stops the run with a message when a property the target checks does not hold, so that the
// fuzzer reports the input like a crash.
void Require(bool holds, const char* what);

}  // namespace stackmason::fuzz
