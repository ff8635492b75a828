#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes a texture pack archive that comes out byte-identical on every run: entries in the
// given order, one fixed modification time, fixed compression and attributes.
namespace packgen {

struct ArchiveFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Replaces the file at path. Gives an error text, empty on success.
std::string WriteArchive(const std::string& path, const std::vector<ArchiveFile>& files);

}  // namespace packgen
