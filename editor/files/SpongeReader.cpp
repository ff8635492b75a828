#include "editor/files/SpongeReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

#include "editor/files/CompressedFileReader.h"
#include "editor/files/NbtInput.h"
#include "editor/files/SchematicReader.h"

namespace stackmason {
namespace {

// Palette indexes run up to this. A building holds fewer block types than that (its codes
// are 16-bit), and even a cut of a real world holds a few thousand block states.
constexpr std::int64_t kMaxPaletteIndex = 0xFFFF;
// The block data of the largest building takes a byte a cell for palettes of up to 128
// states and three for the largest; with what other tools add besides, more content than
// this cannot be a schematic of a building we can hold.
constexpr std::uint64_t kMaxBlockDataBytes = 3 * kMaxSchematicCells;
constexpr std::uint64_t kMaxSpongeContentBytes = kMaxBlockDataBytes + (32ull << 20);
// Besides the palette, real files hold block entities and entities of a few dozen tags each.
constexpr std::uint64_t kMaxTags = std::uint64_t{1} << 24;

// A palette index's code, or kNoCode where the palette lacks the index.
constexpr std::int32_t kNoCode = std::numeric_limits<std::int32_t>::min();

struct PaletteCodes {
    // Every index below 128, the ones a one-byte varint names, has an entry.
    std::vector<std::int32_t> codes;
    // The codes of every pair of bytes, by the pair as it lies in memory read as a 16-bit
    // number, the first byte's code in the low half; kMissing in the half of a byte that is
    // no one-byte index, or an index the palette lacks. Empty when a code does not fit below
    // that mark.
    std::vector<std::uint32_t> pairs;

    static constexpr std::uint32_t kMissing = 0x8000;

    // Whether the cells of each index are counted.
    bool countCells = false;

    PaletteCodes(const std::vector<std::optional<std::string>>& palette, const PaletteChoice& choice)
        : codes(std::max<std::size_t>(palette.size(), 128), kNoCode), countCells(choice.countCells) {
        bool fit = true;
        for (std::size_t index = 0; index < palette.size(); ++index)
            if (palette[index]) {
                const BlockCode code = choice.codeOf(*palette[index]);
                codes[index] = static_cast<StoredCode>(code);
                fit = fit && code >= 0 && code < static_cast<BlockCode>(kMissing);
            }
        if (fit) {
            pairs.resize(256 * 256);
            for (std::size_t second = 0; second < 256; ++second)
                for (std::size_t first = 0; first < 256; ++first)
                    pairs[second << 8 | first] = Half(first) | Half(second) << 16;
        }
    }
    std::int32_t Of(std::uint32_t index) const { return index < codes.size() ? codes[index] : kNoCode; }

private:
    std::uint32_t Half(std::size_t byte) const {
        return byte >= 128 || codes[byte] == kNoCode ? kMissing : static_cast<std::uint32_t>(codes[byte]);
    }
};

// Counts eight one-byte palette indexes; a run of one index, as in air and solid walls, at once.
inline void CountIndexes(std::uint64_t word, std::uint64_t* cellsOfIndex) {
    constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
    if (word == (word & 0xFF) * kEveryByte) {
        cellsOfIndex[word & 0xFF] += 8;
        return;
    }
    for (int k = 0; k < 8; ++k)
        ++cellsOfIndex[word >> (8 * k) & 0xFF];
}

// Decodes one row of `count` cells from the varints at `at`, moving it on, and returns how
// many it decoded: fewer than `count` at the first index the palette lacks or the first
// varint that does not end in time, with `at` standing at that varint. Eight one-byte
// varints at a time where they are, as in every file of fewer than 129 block states.
std::size_t DecodeRow(const std::uint8_t*& at, const std::uint8_t* end, const PaletteCodes& palette, std::size_t count,
                      StoredCode* cells, std::uint64_t* cellsOfIndex) {
    static_assert(std::endian::native == std::endian::little, "pairs are laid out for little-endian memory");
    constexpr std::uint64_t kMissingBits = 0x8000800080008000ull;
    const std::uint32_t* pairs = palette.pairs.data();
    std::size_t x = 0;
    while (!palette.pairs.empty() && x + 8 <= count && end - at >= 8) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        // Two bytes are a pair's place in the table; a byte that begins a longer varint
        // gives kMissing like an index the palette lacks.
        const auto pair = [word](int k) { return word >> (16 * k) & 0xFFFF; };
        const std::uint64_t low = pairs[pair(0)] | std::uint64_t{pairs[pair(1)]} << 32;
        const std::uint64_t high = pairs[pair(2)] | std::uint64_t{pairs[pair(3)]} << 32;
        if (((low | high) & kMissingBits) != 0)
            break;
        std::memcpy(cells + x, &low, sizeof low);
        std::memcpy(cells + x + 4, &high, sizeof high);
        if (cellsOfIndex)
            CountIndexes(word, cellsOfIndex);
        at += 8;
        x += 8;
    }
    // The rest of the row, and any stretch of longer varints, one varint at a time.
    for (; x < count; ++x) {
        const std::uint8_t* start = at;
        std::uint32_t index = 0;
        if (!ReadVarint(at, end, index) || palette.Of(index) == kNoCode) {
            at = start;
            return x;
        }
        cells[x] = static_cast<StoredCode>(palette.Of(index));
        if (cellsOfIndex)
            ++cellsOfIndex[index];
    }
    return x;
}

// Why the varint at `at` could not be taken: the data ended, it runs over five bytes, or
// the palette lacks its index.
std::string BlockDataProblem(const std::uint8_t* at, const std::uint8_t* end, std::size_t cell, std::size_t cells) {
    std::uint32_t index = 0;
    if (!ReadVarint(at, end, index))
        return at == end ? "its block data ends after " + std::to_string(cell) + " of its " + std::to_string(cells) +
                               " cells"
                         : "its block data holds a palette index longer than five bytes";
    return "its block data names the palette index " + std::to_string(index) + ", which its palette lacks";
}

// Fills exactly `size` bytes at `out` with the next bytes of the block data; false when they
// cannot be read.
using DataReader = std::function<bool(std::uint8_t* out, std::size_t size)>;

struct DecodedCells {
    bool decoded = false;
    // Set instead when the data is not one palette index per cell.
    std::string problem;
    // The bytes of the data not read when a problem ended the decode.
    std::size_t unread = 0;
};

// Decodes the block data's `count` bytes into cells of these sizes, taking the bytes a block
// at a time and holding no more of them than a block and a row's longest varints. Nothing
// when the bytes cannot be read.
std::optional<DecodedCells> DecodeCells(const std::array<int, 3>& sizes, const PaletteCodes& palette, std::size_t count,
                                        const DataReader& read, CellRows& rows, std::vector<std::uint64_t>& cellsOfIndex) {
    cellsOfIndex.assign(palette.countCells ? palette.codes.size() : 0, 0);
    std::uint64_t* const counts = palette.countCells ? cellsOfIndex.data() : nullptr;
    constexpr std::size_t kBlockBytes = 64 * 1024;
    const auto [width, length, height] = sizes;
    rows.Start(width, length, height);
    const std::size_t rowCells = static_cast<std::size_t>(width);
    const std::size_t rowMostBytes = rowCells * 5;
    std::vector<std::uint8_t> buffer(std::min(kBlockBytes + rowMostBytes, count));
    // The bytes not yet decoded are buffer[start, start + held).
    std::size_t start = 0;
    std::size_t held = 0;
    std::size_t left = count;
    std::size_t done = 0;
    const std::size_t cells = rowCells * std::size_t(length) * std::size_t(height);
    for (int h = 1; h <= height; ++h)
        for (int y = 1; y <= length; ++y) {
            if (held < rowMostBytes && left > 0) {
                std::memmove(buffer.data(), buffer.data() + start, held);
                start = 0;
                const std::size_t more = std::min(buffer.size() - held, left);
                if (!read(buffer.data() + held, more))
                    return std::nullopt;
                held += more;
                left -= more;
            }
            const std::uint8_t* at = buffer.data() + start;
            const std::uint8_t* const end = at + held;
            const std::size_t decoded = DecodeRow(at, end, palette, rowCells, rows.Row(y, h), counts);
            done += decoded;
            if (decoded < rowCells)
                return DecodedCells{false, BlockDataProblem(at, end, done, cells), left};
            start = static_cast<std::size_t>(at - buffer.data());
            held = static_cast<std::size_t>(end - at);
        }
    if (held > 0 || left > 0)
        return DecodedCells{false,
                            "its block data holds more than the " + std::to_string(cells) + " cells of its sizes", left};
    return DecodedCells{true, {}, 0};
}

// The tags as the file holds them, wherever it holds them.
struct Blocks {
    std::optional<std::vector<std::optional<std::string>>> palette;
    std::unique_ptr<std::uint8_t[]> data;
    std::optional<std::size_t> dataBytes;
    // Where the sizes and the palette came before the data, as every tool writes them, the
    // data is decoded into these cells as it is read instead of being held, with the sizes
    // it was laid out by; or the problem it had.
    CellRows* rows = nullptr;
    bool cellsDecoded = false;
    std::string cellsProblem;
    std::array<int, 3> cellsSizes{};
    // A palette that came again after the data the cells were decoded with.
    bool paletteAfterCells = false;
    // How many cells each palette index has.
    std::vector<std::uint64_t> cellsOfIndex;
};

struct SpongeTags {
    std::optional<std::int64_t> version;
    SchematicFacts facts;
    SizeTags sizes;
    Blocks atRoot;
    std::optional<Blocks> nested;
};

class SpongeTagReader {
public:
    SpongeTagReader(CompressedFileReader& input, const StateCodesFor& codesFor, const CellRowsMaker& makeRows,
                    std::vector<std::unique_ptr<CellRows>>& kept)
        : nbt_(input, kMaxTags), codesFor_(codesFor), makeRows_(makeRows), kept_(kept) {}

    bool ReadRoot() {
        return nbt_.ReadRootStart() &&
               nbt_.ReadCompound([this](std::uint8_t type, const std::string& name) { return ReadEntry(type, name, 1); });
    }
    const std::string& Problem() const { return nbt_.Problem(); }
    SpongeTags& Tags() { return tags_; }

private:
    // The schematic's own tags, at the root or, as version 3 writes them, in its "Schematic".
    bool ReadEntry(std::uint8_t type, const std::string& name, int depth) {
        if (name == "Schematic" && type == kNbtCompound && depth == 1)
            return nbt_.ReadCompound(
                [this](std::uint8_t inner, const std::string& innerName) { return ReadEntry(inner, innerName, 2); });
        if (name == "Version")
            return nbt_.ReadInteger(type, name, tags_.version);
        if (name == "DataVersion")
            return nbt_.ReadInteger(type, name, tags_.facts.dataVersion);
        if (name == "Metadata" && type == kNbtCompound)
            return ReadMetadata(depth + 1);
        if (auto* size = SizeTagNamed(tags_.sizes, name))
            return nbt_.ReadInteger(type, name, *size);
        if (name == "Palette")
            return ReadPalette(type, tags_.atRoot);
        if (name == "BlockData")
            return ReadData(type, name, tags_.atRoot);
        if (name == "Blocks" && type == kNbtCompound)
            return ReadBlocksCompound();
        return nbt_.SkipPayload(type, depth);
    }

    // Only the pack this editor names; other tools' metadata is read past.
    bool ReadMetadata(int depth) {
        return nbt_.ReadCompound([this, depth](std::uint8_t type, const std::string& name) {
            if (name == kPackNameTag && type == kNbtString)
                return nbt_.ReadName(tags_.facts.packName);
            return nbt_.SkipPayload(type, depth + 1);
        });
    }

    // Whether what the file says of itself is known before its block data, so that the data
    // can be decoded as it is read: the data version, which only files of version 1 lack.
    bool FactsKnown() const { return tags_.facts.dataVersion || tags_.version == 1; }

    bool ReadBlocksCompound() {
        tags_.nested.emplace();
        return nbt_.ReadCompound([this](std::uint8_t type, const std::string& name) {
            if (name == "Palette")
                return ReadPalette(type, *tags_.nested);
            if (name == "Data")
                return ReadData(type, name, *tags_.nested);
            return nbt_.SkipPayload(type, 3);
        });
    }

    bool ReadPalette(std::uint8_t type, Blocks& blocks) {
        if (type != kNbtCompound)
            return nbt_.Fail("its \"Palette\" is not a compound of block states");
        blocks.paletteAfterCells = blocks.cellsDecoded || !blocks.cellsProblem.empty();
        auto& palette = blocks.palette.emplace();
        return nbt_.ReadCompound([&](std::uint8_t entryType, const std::string& state) {
            std::optional<std::int64_t> index;
            if (!nbt_.ReadInteger(entryType, "Palette\" entry \"" + state, index))
                return false;
            if (*index < 0 || *index > kMaxPaletteIndex)
                return nbt_.Fail("its palette gives \"" + state + "\" the index " + std::to_string(*index) +
                                 ", outside 0 to " + std::to_string(kMaxPaletteIndex));
            const auto at = static_cast<std::size_t>(*index);
            if (at >= palette.size())
                palette.resize(at + 1);
            if (palette[at])
                return nbt_.Fail("its palette gives the index " + std::to_string(*index) + " to both \"" + *palette[at] +
                                 "\" and \"" + state + "\"");
            palette[at] = state;
            return true;
        });
    }

    bool ReadData(std::uint8_t type, const std::string& name, Blocks& blocks) {
        if (type != kNbtByteArray)
            return nbt_.Fail("its \"" + name + "\" tag is not a byte array");
        std::int32_t count = 0;
        if (!nbt_.ReadLength(count))
            return false;
        if (static_cast<std::uint64_t>(count) > kMaxBlockDataBytes)
            return nbt_.Fail("its \"" + name + "\" array claims " + std::to_string(count) +
                             " bytes, more than the largest building needs");
        blocks.dataBytes = static_cast<std::size_t>(count);
        blocks.data.reset();
        blocks.cellsDecoded = false;
        blocks.rows = nullptr;
        blocks.cellsProblem.clear();
        blocks.paletteAfterCells = false;
        if (const auto sizes = FittingSizes(tags_.sizes); sizes && blocks.palette && FactsKnown())
            return DecodeWhileReading(*sizes, static_cast<std::size_t>(count), blocks);
        // Not zero-filled: untouched pages cost no memory if the file ends early.
        blocks.data = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(count));
        return nbt_.ReadExact(blocks.data.get(), static_cast<std::size_t>(count));
    }

    // Decodes the data as it is read. A fault in the data is kept as the cells' problem, and
    // the rest of the data read past, so that the file is still read to its end as a whole.
    bool DecodeWhileReading(const std::array<int, 3>& sizes, std::size_t count, Blocks& blocks) {
        blocks.cellsSizes = sizes;
        kept_.push_back(makeRows_());
        blocks.rows = kept_.back().get();
        std::optional<DecodedCells> decoded =
            DecodeCells(sizes, PaletteCodes(*blocks.palette, codesFor_(tags_.facts, *blocks.palette)), count,
                        [this](std::uint8_t* out, std::size_t size) { return nbt_.ReadExact(out, size); }, *blocks.rows,
                        blocks.cellsOfIndex);
        if (!decoded)
            return false;
        blocks.cellsDecoded = decoded->decoded;
        blocks.cellsProblem = std::move(decoded->problem);
        return nbt_.SkipBytes(decoded->unread);
    }

    NbtInput nbt_;
    const StateCodesFor& codesFor_;
    const CellRowsMaker& makeRows_;
    std::vector<std::unique_ptr<CellRows>>& kept_;
    SpongeTags tags_;
};

SpongeStreamResult Refused(const std::string& path, const std::string& problem) {
    SpongeStreamResult result;
    result.problem = ImportRefusalText(path, "a Sponge schematic", problem);
    return result;
}

// A file without its "Version" that holds what version 1 holds, at the root, is read as
// version 1: at least one library writes them so.
std::string CheckVersion(const SpongeTags& tags) {
    if (!tags.version) {
        if (!tags.nested && tags.atRoot.palette && tags.atRoot.dataBytes)
            return {};
        return "it has no \"Version\" tag, so it is no Sponge schematic";
    }
    if (*tags.version < 1 || *tags.version > 3)
        return "it is of version " + std::to_string(*tags.version) + ", and only versions 1 to 3 are known";
    return {};
}

SpongeStreamResult Taken(CellRows& rows, const std::array<int, 3>& sizes, std::vector<std::uint64_t> cellsOfIndex) {
    SpongeStreamResult result;
    result.rows = &rows;
    result.sizes = sizes;
    result.cellsOfIndex = std::move(cellsOfIndex);
    return result;
}

SpongeStreamResult MakeCells(const std::string& path, SpongeTags& tags, const StateCodesFor& codesFor,
                             const CellRowsMaker& makeRows, std::vector<std::unique_ptr<CellRows>>& kept) {
    for (const std::string& problem : {CheckVersion(tags), SizesProblem(tags.sizes)})
        if (!problem.empty())
            return Refused(path, problem);
    Blocks& blocks = tags.nested ? *tags.nested : tags.atRoot;
    const int width = static_cast<int>(*tags.sizes.width);
    const int length = static_cast<int>(*tags.sizes.length);
    const int height = static_cast<int>(*tags.sizes.height);
    const std::array sizes{width, length, height};
    if (tags.nested && !blocks.dataBytes && !blocks.palette) {
        // Version 3 leaves out the blocks of a schematic that holds none: all air.
        kept.push_back(makeRows());
        CellRows& rows = *kept.back();
        rows.Start(width, length, height);
        const std::vector<std::optional<std::string>> palette{std::string("minecraft:air")};
        const PaletteChoice choice = codesFor(tags.facts, palette);
        const auto air = static_cast<StoredCode>(choice.codeOf("minecraft:air"));
        for (int h = 1; h <= height; ++h)
            for (int y = 1; y <= length; ++y)
                std::fill_n(rows.Row(y, h), width, air);
        const auto cells = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(length) *
                           static_cast<std::uint64_t>(height);
        return Taken(rows, sizes, choice.countCells ? std::vector<std::uint64_t>{cells} : std::vector<std::uint64_t>{});
    }
    if (!blocks.palette)
        return Refused(path, "it has no \"Palette\" of block states");
    if (!blocks.dataBytes)
        return Refused(path, tags.nested ? "its \"Blocks\" hold no \"Data\" array" : "it has no \"BlockData\" array");
    if (blocks.cellsDecoded || !blocks.cellsProblem.empty()) {
        // Decoded as it was read, by the sizes and palette that came before the data.
        if (blocks.cellsSizes != sizes)
            return Refused(path, "its sizes change after its block data");
        if (blocks.paletteAfterCells)
            return Refused(path, "its palette comes again after its block data");
        if (!blocks.cellsProblem.empty())
            return Refused(path, blocks.cellsProblem);
        return Taken(*blocks.rows, sizes, std::move(blocks.cellsOfIndex));
    }
    // Held whole, since the sizes, the palette or the data version came after it.
    kept.push_back(makeRows());
    CellRows& rows = *kept.back();
    std::size_t taken = 0;
    std::vector<std::uint64_t> cellsOfIndex;
    std::optional<DecodedCells> decoded = DecodeCells(
        sizes, PaletteCodes(*blocks.palette, codesFor(tags.facts, *blocks.palette)), *blocks.dataBytes,
        [&](std::uint8_t* out, std::size_t size) {
            std::memcpy(out, blocks.data.get() + taken, size);
            taken += size;
            return true;
        },
        rows, cellsOfIndex);
    if (!decoded->problem.empty())
        return Refused(path, decoded->problem);
    return Taken(rows, sizes, std::move(cellsOfIndex));
}

}  // namespace

bool ReadVarint(const std::uint8_t*& at, const std::uint8_t* end, std::uint32_t& value) {
    value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (at == end)
            return false;
        const std::uint8_t byte = *at++;
        value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

SpongeStreamResult StreamSpongeFile(const std::string& path, const StateCodesFor& codesFor,
                                    const CellRowsMaker& makeRows, std::vector<std::unique_ptr<CellRows>>& kept) {
    CompressedFileReader input(path, kMaxSpongeContentBytes);
    if (input.GetProblem() == CompressedFileReader::Problem::CannotOpen) {
        SpongeStreamResult result;
        result.problem = "Could not open file!";
        return result;
    }
    SpongeTagReader reader(input, codesFor, makeRows, kept);
    if (!reader.ReadRoot())
        return Refused(path, reader.Problem());
    if (const std::string problem = EndProblem(input); !problem.empty())
        return Refused(path, problem);
    return MakeCells(path, reader.Tags(), codesFor, makeRows, kept);
}

SpongeReadResult ReadSpongeFile(const std::string& path, const StateCodesFor& codesFor) {
    std::vector<std::unique_ptr<CellRows>> kept;
    SpongeStreamResult read =
        StreamSpongeFile(path, codesFor, [] { return std::make_unique<BuildingRows>(); }, kept);
    if (!read.sizes)
        return {std::nullopt, std::move(read.problem), {}};
    return {std::move(static_cast<BuildingRows*>(read.rows)->grid), {}, std::move(read.cellsOfIndex)};
}

SpongeReadResult ReadSpongeFile(const std::string& path, const StateCodes& codeOf) {
    return ReadSpongeFile(path, [&codeOf](const SchematicFacts&, const PaletteStates&) { return PaletteChoice{codeOf}; });
}

}  // namespace stackmason
