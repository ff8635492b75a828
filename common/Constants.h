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

// A pack's entries beyond this many are left out, by both programs alike: every entry costs
// the editor two 32 x 32 pictures and the preview a texture, and a building file can name
// only the first 208 block types anyway.
inline constexpr int kMaxPackEntries = 4096;

// Building and preview files larger than this are refused. The largest building the editor
// writes is about 68 MB.
inline constexpr std::uint64_t kMaxBuildingFileBytes = 256ull * 1024 * 1024;

// A cell is stored in a building file as the byte (code + 47) mod 256: air is "/".
inline constexpr int kCellByteOffset = 47;

}  // namespace stackmason
