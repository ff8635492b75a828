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

// What reading a pack's entries may still cost: the bytes they inflate to, and the pixels
// their pictures claim. See kPackPixelFloor for the amounts.
struct PackWorkBudget {
    std::uint64_t inflatedBytes = 0;
    std::uint64_t decodedPixels = 0;

    static PackWorkBudget ForArchiveOfSize(std::uint64_t archiveBytes);
};

// A texture pack: a zip archive whose entries, in directory order, are the block types.
// Entry index i (0-based) is block code i + 1, for every entry: folders and entries that do
// not decode keep their place, so that both programs number blocks alike.
//
// Each opened archive has a work budget that reading its entries draws on, so that a small
// archive cannot keep a program busy for long; an entry beyond it reads as one that does not
// decode. Both programs walk a pack through one opened archive each, so they take the same
// entries.
// An entry read as a picture. An entry the budget had no room for is left out: it is no
// less a picture than the others, and the programs show it as a picture that is missing.
struct EntryPicture {
    std::optional<Image> image;
    bool leftOut = false;
};

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
    // kMaxEntryBytes or the bytes left in the budget, or does not read back whole.
    std::optional<std::vector<std::uint8_t>> ReadEntry(int index);
    // The entry decoded as a PNG or JPEG picture, or nothing; also nothing when the picture
    // claims more pixels than are left in the budget.
    std::optional<Image> ReadEntryImage(int index);
    // As ReadEntryImage, telling an entry left out for the budget from one that is no picture.
    EntryPicture ReadEntryPicture(int index);

    const PackWorkBudget& BudgetLeft() const { return budget_; }
    // How many entries read so far were left out for the budget.
    int LeftOutCount() const { return leftOut_; }

private:
    struct ZipCloser {
        void operator()(zip* archive) const;
    };
    TexturePackArchive(zip* archive, std::unique_ptr<std::vector<std::uint8_t>> ownedBytes,
                       std::uint64_t archiveBytes);
    std::uint64_t InflatingCost(int index, std::uint64_t size) const;
    std::optional<std::vector<std::uint8_t>> ReadEntryBytes(int index, bool& leftOut);

    std::unique_ptr<std::vector<std::uint8_t>> ownedBytes_;
    std::unique_ptr<zip, ZipCloser> archive_;
    PackWorkBudget budget_;
    int leftOut_ = 0;
};

}  // namespace stackmason
