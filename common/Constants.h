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
// So both are budgeted: a floor that ordinary packs stay within (4096 entries of 64 x 64
// pixels; 64 MB of entries), and beyond it an allowance per byte of the archive that real
// pictures pay for many times over, since a texture takes about a byte per pixel in a zip and
// even a flat-coloured one more than a tenth. A file of 1 MB so gets at most 32 M pixels and
// 96 MB of inflating, about half a second of work; a pack of a thousand 512 x 512 textures,
// tens of megabytes large, loads whole. Entries beyond the budget read as entries that do not
// decode.
inline constexpr std::uint64_t kPackPixelFloor = std::uint64_t{1} << 24;
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
