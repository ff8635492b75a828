#pragma once

#include <cstddef>
#include <cstdint>

// Limits and fixed sizes that both programs share, in one place.
namespace stackmason {

// A building is at most 512 x 512 cells wide and long and 256 layers high.
inline constexpr int kMaxGridWidth = 512;
inline constexpr int kMaxGridLength = 512;
inline constexpr int kMaxGridHeight = 256;

// Edge in pixels of every block image and canvas cell.
inline constexpr int kTileSize = 32;

// Images larger than this on a side are refused before any pixel memory is taken.
inline constexpr int kMaxImageSide = 8192;

// Archive entries that claim more than this are refused before their buffer is allocated.
inline constexpr std::uint64_t kMaxEntryBytes = 64ull * 1024 * 1024;

// What loading one texture pack may cost. Its time follows the bytes its entries inflate to
// and the pixels its pictures claim, not the archive's size: an 8192 x 8192 PNG of one colour
// takes 280 KB, under 2 KB once zipped, inflates to 256 MB and takes a second to decode.
// So both are budgeted: a floor that every ordinary pack stays within, and beyond it an
// allowance per byte of the archive that real pictures pay for many times over.
//
// The pixel floor is set by packs of pictures scaled up without smoothing, which compress
// far better than painted ones: the default pack scaled to 512 pixels a picture holds 50 M
// pixels in 174 KB, and it must load whole. Painted 512 pixel pictures take a byte or more
// per pixel once zipped, so 16 pixels a byte lets a pack of thousands of them load whole.
// Pictures decode at 60 to 90 M pixels a second on a 2-core machine of 2.4 GHz, the
// slowest per pixel being flat ones of 8192 pixels and progressive JPEGs of the most scans a
// picture may have (noise decodes slower, but carries few pixels per byte). A file of 1 MB so
// gets at most 66 M pixels, about 1.1 s of decoding, and 96 MB of inflating, which keeps it
// within 2 s of loading. Counting the pixels a picture claims rather than those each program
// keeps is what lets both programs take the same entries: every row of a PNG has to be
// inflated and unfiltered in turn whichever rows are kept, so decoding less would save little.
// Entries beyond the budget are left out: both programs show them as missing pictures.
inline constexpr std::uint64_t kPackPixelFloor = std::uint64_t{48} << 20;
inline constexpr std::uint64_t kPackPixelsPerArchiveByte = 16;
inline constexpr std::uint64_t kPackInflatedBytesFloor = 64ull * 1024 * 1024;
inline constexpr std::uint64_t kPackInflatedBytesPerArchiveByte = 32;

// A pack's entries beyond this many are left out, by both programs alike: every entry costs
// the editor two 32 x 32 pictures and the preview a texture, and a building file can name
// only the first 208 block types anyway.
inline constexpr int kMaxPackEntries = 4096;

// Building files larger than this are refused by the editor; of a preview file, whatever its
// size, no more than this is read. The largest building the editor writes is about 68 MB.
inline constexpr std::uint64_t kMaxBuildingFileBytes = 256ull * 1024 * 1024;

// A cell is stored in a building file as the byte (code + 47) mod 256: air is "/".
inline constexpr int kCellByteOffset = 47;

}  // namespace stackmason
