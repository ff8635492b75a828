#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/Image.h"

struct zip;

namespace stackmason {

struct PackEntry {
    std::string name;               // as stored in the archive, folders included
    std::uint64_t size = 0;         // uncompressed size the archive declares
    bool isDirectory = false;       // a name ending in "/"
};

// A texture pack: a zip archive whose entries, in directory order, are the block types.
// Entry index i (0-based) is block code i + 1, for every entry: folders and entries that do
// not decode keep their place, so that both programs number blocks alike.
class TexturePackArchive {
public:
    // Nothing when the file is missing or not a zip archive.
    static std::optional<TexturePackArchive> Open(const std::string& path);
    // The archive in bytes; the archive keeps its own copy.
    static std::optional<TexturePackArchive> OpenFromMemory(std::span<const std::uint8_t> bytes);

    // At most kMaxPackEntries; the entries beyond are left out.
    int EntryCount() const;
    // Entry index (0-based). An entry the directory cannot describe has an empty name.
    PackEntry Entry(int index) const;
    // The uncompressed bytes of entry index, or nothing when it is a folder, claims more than
    // kMaxEntryBytes or does not read back whole.
    std::optional<std::vector<std::uint8_t>> ReadEntry(int index) const;
    // The entry decoded as a PNG or JPEG picture, or nothing.
    std::optional<Image> ReadEntryImage(int index) const;

private:
    struct ZipCloser {
        void operator()(zip* archive) const;
    };
    TexturePackArchive(zip* archive, std::unique_ptr<std::vector<std::uint8_t>> ownedBytes);

    std::unique_ptr<std::vector<std::uint8_t>> ownedBytes_;
    std::unique_ptr<zip, ZipCloser> archive_;
};

}  // namespace stackmason
