#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct zip_source;  // libzip's zip_source_t

namespace stackmason::test {

struct ArchiveEntry {
    std::string name;                // a name ending in "/" becomes a folder entry
    std::vector<std::uint8_t> bytes;
};

// "b7_001.png": an entry name with a number in it. It is put together by appending, since
// GCC 12's optimiser reports a false -Wrestrict in `"b" + std::to_string(7)`.
std::string NumberedEntryName(const std::string& prefix, int number, const std::string& suffix);

// A zip archive holding the entries in this order, deflated.
std::vector<std::uint8_t> MakeZip(const std::vector<ArchiveEntry>& entries);

// The bytes of a buffer source that a closed archive was written to; the source is freed.
std::vector<std::uint8_t> TakeZipSourceBytes(zip_source* source);

// Writes bytes to path, replacing the file.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace stackmason::test
