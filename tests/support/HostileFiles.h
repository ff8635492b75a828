#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/Image.h"

// Small files that ask their reader for a great deal of work: compressed data that inflates to
// hundreds of megabytes, pictures of many millions of pixels, chunks and scans repeated
// thousands of times. Each is built in memory within a moment, without ever holding what it
// inflates to.
namespace stackmason::test {

enum class DeflateWrapper { Raw, Zlib, Gzip };

// The deflate stream of head, then unit repeated `repeats` times, then tail. Long repeats are
// compressed once and copied, so a stream that inflates to gigabytes costs milliseconds.
std::vector<std::uint8_t> DeflateRepeated(std::span<const std::uint8_t> head, std::span<const std::uint8_t> unit,
                                          std::uint64_t repeats, std::span<const std::uint8_t> tail,
                                          DeflateWrapper wrapper);

// A gzip schematic of a building of one block whose root compound also holds the list
// "Entities" of `count` empty compounds, one zero byte each, before the sizes and the
// blocks. 500 million of them make about 500 KB.
std::vector<std::uint8_t> HugeListSchematic(std::uint32_t count);

// A gzip schematic of a building of one block whose root compound first holds `count` byte
// tags of empty name.
std::vector<std::uint8_t> ManyTagsSchematic(std::uint32_t count);

// A gzip schematic of a building of one block whose "Data" array holds `count` bytes.
std::vector<std::uint8_t> LargeDataSchematic(std::uint32_t count);

// A PNG picture of side x side pixels of one colour. Its rows after the first are filtered
// to zeros, so 8192 x 8192 pixels take about 280 KB, and 3 KB once zipped.
std::vector<std::uint8_t> SolidPng(int side, Rgba colour);

// The picture with `chunks` zTXt chunks before its pixels, each of textBytes of text.
std::vector<std::uint8_t> WithTextChunks(const std::vector<std::uint8_t>& png, int chunks, std::uint32_t textBytes);

// A progressive JPEG of side x side pixels of one colour, as libjpeg's standard progression
// writes it (ten scans), with its second scan repeated extraScans times more.
std::vector<std::uint8_t> ProgressiveJpeg(int side, Rgba colour, int extraScans);

struct ZipItem {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::uint64_t zeroPadding = 0;  // zero bytes after bytes, never held in memory
};

// A zip archive of deflated entries in this order.
std::vector<std::uint8_t> DeflatedZip(const std::vector<ZipItem>& items);

// A zip archive of bzip2-compressed entries (libzip reads those as well).
std::vector<std::uint8_t> Bzip2Zip(const std::vector<ZipItem>& items);

// The archive of one entry made an archive of `count` entries that all hold that entry's
// data: their directory records point at its one copy, which readers that go by the
// directory (libzip among them) accept. 4096 entries so take about 250 KB. The names are
// HugeEntryName(1), HugeEntryName(2), ...
std::vector<std::uint8_t> RepeatOnlyEntry(const std::vector<std::uint8_t>& oneEntryZip, int count);

// huge_0001_001.png, huge_0002_002.png, ...
std::string HugeEntryName(int index);

// The hostile files that tests, benchmarks and fuzz seeds share, each at most 1 MB.
struct HostileFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Schematic files: "huge-list" (500 million empty compounds), "many-tags" (just under the
// tags a file may hold), "large-data" (a Data array just under the content a file may
// hold). Only the first is refused.
std::vector<HostileFile> HostileSchematics();

// Sponge schematics: "largest-exact" and "largest-approximated" (the largest building of one
// state, which the pack has or lacks), "many-states" (a row of 512 cells of a state each that
// no pack has). All are taken.
std::vector<HostileFile> HostileSpongeSchematics();

// Litematica schematics of one region: "largest-one-state" (the largest building, every cell
// of one state the pack has), "most-longs" (the largest building with a palette of the most
// states a region may have, none known to a pack: the most BlockStates a file may hold),
// "overlapping-regions" (three regions of the largest building over each other, all stone)
// and "claims-most-longs" (BlockStates that claim 2^31 - 1 longs and hold none). Only the
// last is refused.
std::vector<HostileFile> HostileLitematics();

// Texture packs: "huge-pictures" (48 PNGs of 8192 x 8192), "huge-pictures-4096" (as many
// entries as a pack may have, of the same picture), "budget-png" and "budget-jpeg" (1 MB
// archives of pictures that together claim more pixels than the archive's budget), "flat-
// pictures" (a 1 MB archive of thousands of flat pictures of 512 to 2048 pixels), "text-
// chunks" (pictures carrying thousands of zTXt chunks), "repeated-scans" (progressive JPEGs of
// thousands of scans), "zip-bomb" (entries of 64 MB of zeros) and "bzip2-bomb" (4096 of them,
// bzip2-compressed).
std::vector<HostileFile> HostilePacks();

}  // namespace stackmason::test
