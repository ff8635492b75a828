#pragma once

#include <cstdint>
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
    void ShowInfo(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<FileChoice> AskOpenFile(const FileRequest&) override { return std::nullopt; }
    std::optional<FileChoice> AskSaveFile(const FileRequest&) override { return std::nullopt; }
    bool RunAndWait(const std::string&, const std::string&, const std::string&) override { return false; }
    void ShowInfoWindow() override {}

    std::vector<std::string> errors;
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

// Stops the run with a message when a property the target checks does not hold, so that the
// fuzzer reports the input like a crash.
void Require(bool holds, const char* what);

}  // namespace stackmason::fuzz
