#include "editor/files/LitematicReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <utility>

#include "common/BlockStates.h"
#include "editor/files/CompressedFileReader.h"
#include "editor/files/LitematicWriter.h"
#include "editor/files/NbtInput.h"
#include "editor/files/SchematicReader.h"

namespace stackmason {
namespace {

constexpr std::int64_t kOldestVersion = 4;
constexpr std::int64_t kNewestVersion = 7;
// A region's palette: a building holds fewer block types than this, and even a cut of a real
// world a few thousand block states.
constexpr std::size_t kMaxPaletteEntries = 8192;
// Regions may overlap, but all of them together hold no more longs than the largest building
// at 13 bits a cell, the most the largest palette takes.
constexpr std::size_t kMaxRegions = 1024;
constexpr std::uint64_t kMaxLongs = kMaxSchematicCells * 13 / 64;
constexpr std::uint64_t kMaxContentBytes = kMaxLongs * 8 + (32ull << 20);
constexpr std::uint64_t kMaxTags = std::uint64_t{1} << 24;
constexpr std::int64_t kMaxWidth = 512;
constexpr std::int64_t kMaxHeight = 256;

struct Vector3 {
    std::optional<std::int64_t> x, y, z;
    bool Whole() const { return x && y && z; }
};

struct Region {
    std::string name;
    Vector3 position;
    Vector3 size;
    std::optional<std::vector<std::string>> palette;
    std::optional<std::vector<std::uint64_t>> blockStates;
};

struct LitematicTags {
    std::optional<std::int64_t> version;
    SchematicFacts facts;
    bool hasRegions = false;
    std::vector<Region> regions;
    std::uint64_t longs = 0;
};

// A state as files of block states name it: "name[key=value,...]", keys in alphabetical order.
std::string StateText(const std::string& name, const std::map<std::string, std::string>& properties) {
    std::string state = name;
    if (properties.empty())
        return state;
    char separator = '[';
    for (const auto& [key, value] : properties) {
        state += separator;
        state += key;
        state += '=';
        state += value;
        separator = ',';
    }
    return state + ']';
}

class LitematicTagReader {
public:
    explicit LitematicTagReader(CompressedFileReader& input) : nbt_(input, kMaxTags) {}

    bool ReadRoot() {
        return nbt_.ReadRootStart() && nbt_.ReadCompound([this](std::uint8_t type, const std::string& name) {
                   if (name == "Version")
                       return nbt_.ReadInteger(type, name, tags_.version);
                   if (name == "MinecraftDataVersion")
                       return nbt_.ReadInteger(type, name, tags_.facts.dataVersion);
                   if (name == "Metadata" && type == kNbtCompound)
                       return ReadMetadata();
                   if (name == "Regions" && type == kNbtCompound)
                       return ReadRegions();
                   return nbt_.SkipPayload(type, 1);
               });
    }
    const std::string& Problem() const { return nbt_.Problem(); }
    LitematicTags& Tags() { return tags_; }

private:
    // Only the pack this editor names; the rest of Litematica's metadata is read past.
    bool ReadMetadata() {
        return nbt_.ReadCompound([this](std::uint8_t type, const std::string& name) {
            if (name == kPackNameTag && type == kNbtString)
                return nbt_.ReadName(tags_.facts.packName);
            return nbt_.SkipPayload(type, 2);
        });
    }

    bool ReadRegions() {
        tags_.hasRegions = true;
        return nbt_.ReadCompound([this](std::uint8_t type, const std::string& name) {
            if (type != kNbtCompound)
                return nbt_.SkipPayload(type, 2);
            if (tags_.regions.size() >= kMaxRegions)
                return nbt_.Fail("it holds more than " + std::to_string(kMaxRegions) + " regions");
            tags_.regions.push_back(Region{name, {}, {}, {}, {}});
            return ReadRegion(tags_.regions.back());
        });
    }

    bool ReadRegion(Region& region) {
        return nbt_.ReadCompound([this, &region](std::uint8_t type, const std::string& name) {
            if (name == "Position" && type == kNbtCompound)
                return ReadVector(region.position);
            if (name == "Size" && type == kNbtCompound)
                return ReadVector(region.size);
            if (name == "BlockStatePalette")
                return ReadPalette(type, region);
            if (name == "BlockStates")
                return ReadBlockStates(type, region);
            return nbt_.SkipPayload(type, 3);
        });
    }

    bool ReadVector(Vector3& vector) {
        return nbt_.ReadCompound([this, &vector](std::uint8_t type, const std::string& name) {
            if (name == "x" || name == "y" || name == "z")
                return nbt_.ReadInteger(type, name, name == "x" ? vector.x : name == "y" ? vector.y : vector.z);
            return nbt_.SkipPayload(type, 4);
        });
    }

    bool ReadPalette(std::uint8_t type, Region& region) {
        std::uint8_t elementType = 0;
        std::int32_t count = 0;
        if (type != kNbtList || !nbt_.ReadByte(elementType) || !nbt_.ReadLength(count))
            return type == kNbtList ? false : nbt_.Fail("its \"BlockStatePalette\" is not a list");
        if (count > 0 && elementType != kNbtCompound)
            return nbt_.Fail("its \"BlockStatePalette\" is not a list of compounds");
        if (static_cast<std::size_t>(count) > kMaxPaletteEntries)
            return nbt_.Fail("its region \"" + region.name + "\" has a palette of " + std::to_string(count) +
                             " states, more than the " + std::to_string(kMaxPaletteEntries) + " taken");
        if (!nbt_.ClaimElements(static_cast<std::uint64_t>(count), elementType))
            return false;
        auto& palette = region.palette.emplace();
        for (std::int32_t entry = 0; entry < count; ++entry) {
            std::optional<std::string> name;
            std::map<std::string, std::string> properties;
            if (!nbt_.ReadCompound([&](std::uint8_t inner, const std::string& tag) {
                    if (tag == "Name" && inner == kNbtString)
                        return nbt_.ReadName(name.emplace());
                    if (tag == "Properties" && inner == kNbtCompound)
                        return ReadProperties(properties);
                    return nbt_.SkipPayload(inner, 5);
                }))
                return false;
            if (!name)
                return nbt_.Fail("entry " + std::to_string(entry) + " of the palette of its region \"" + region.name +
                                 "\" has no \"Name\"");
            palette.push_back(StateText(*name, properties));
        }
        return true;
    }

    bool ReadProperties(std::map<std::string, std::string>& properties) {
        return nbt_.ReadCompound([&](std::uint8_t type, const std::string& key) {
            if (type != kNbtString)
                return nbt_.Fail("the block property \"" + key + "\" in its palette is not a string");
            return nbt_.ReadName(properties[key]);
        });
    }

    bool ReadBlockStates(std::uint8_t type, Region& region) {
        if (type != kNbtLongArray)
            return nbt_.Fail("the \"BlockStates\" of its region \"" + region.name + "\" are not a long array");
        std::int32_t count = 0;
        if (!nbt_.ReadLength(count))
            return false;
        const auto longs = static_cast<std::uint64_t>(count);
        if (tags_.longs + longs > kMaxLongs)
            return nbt_.Fail("its \"BlockStates\" hold more than the largest building needs");
        if (longs * 8 > nbt_.Input().ContentLeftAtMost())
            return nbt_.Fail("its \"BlockStates\" claim " + std::to_string(count) + " longs, more than the file holds");
        tags_.longs += longs;
        auto& states = region.blockStates.emplace(static_cast<std::size_t>(longs));
        // An empty array has no storage to read into, and nothing to read.
        if (!states.empty() && !nbt_.ReadExact(states.data(), states.size() * 8))
            return false;
        static_assert(std::endian::native == std::endian::little, "the longs are swapped for little-endian memory");
        for (std::uint64_t& value : states)
            value = __builtin_bswap64(value);
        return true;
    }

    NbtInput nbt_;
    LitematicTags tags_;
};

// A region's extent on one axis: its lowest coordinate and its length.
struct Span {
    std::int64_t low;
    std::int64_t length;
};

Span SpanOf(std::int64_t position, std::int64_t size) {
    return size < 0 ? Span{position + size + 1, -size} : Span{position, size};
}

struct Placed {
    std::array<Span, 3> spans;  // x, y, z
};

std::string RegionProblem(const Region& region, Placed& placed) {
    const std::string named = "its region \"" + region.name + "\"";
    if (!region.position.Whole())
        return named + " has no whole \"Position\"";
    if (!region.size.Whole())
        return named + " has no whole \"Size\"";
    if (!region.palette)
        return named + " has no \"BlockStatePalette\"";
    if (!region.blockStates)
        return named + " has no \"BlockStates\"";
    if (region.palette->empty())
        return named + " has an empty palette";
    const std::array sizes{*region.size.x, *region.size.y, *region.size.z};
    const std::array positions{*region.position.x, *region.position.y, *region.position.z};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::int64_t most = axis == 1 ? kMaxHeight : kMaxWidth;
        if (sizes[axis] == 0 || sizes[axis] < -most || sizes[axis] > most)
            return named + " has the size " + std::to_string(*region.size.x) + " x " + std::to_string(*region.size.y) +
                   " x " + std::to_string(*region.size.z) + " (x, y, z), which is empty or more than a building holds";
        if (positions[axis] < -(std::int64_t{1} << 31) || positions[axis] >= (std::int64_t{1} << 31))
            return named + " lies outside the world";
        placed.spans[axis] = SpanOf(positions[axis], sizes[axis]);
    }
    const std::uint64_t volume = static_cast<std::uint64_t>(placed.spans[0].length * placed.spans[1].length *
                                                            placed.spans[2].length);
    const auto bits = static_cast<std::uint64_t>(LitematicBitsPerEntry(region.palette->size()));
    const std::uint64_t needed = (volume * bits + 63) / 64;
    if (region.blockStates->size() != needed)
        return named + " holds " + std::to_string(region.blockStates->size()) + " longs of \"BlockStates\", where its " +
               std::to_string(volume) + " cells need " + std::to_string(needed);
    return {};
}

// The states of all palettes, each once and air first, and each region's index of each of
// its entries in them.
struct JointPalette {
    PaletteStates states;
    std::vector<std::vector<std::uint32_t>> ofRegion;
};

JointPalette JoinPalettes(const std::vector<Region>& regions) {
    JointPalette joint;
    std::map<std::string, std::uint32_t, std::less<>> indexOf;
    const auto add = [&](const std::string& state) {
        const auto [at, added] = indexOf.try_emplace(state, static_cast<std::uint32_t>(joint.states.size()));
        if (added)
            joint.states.emplace_back(state);
        return at->second;
    };
    add("minecraft:air");
    for (const Region& region : regions) {
        auto& indexes = joint.ofRegion.emplace_back();
        for (const std::string& state : *region.palette)
            indexes.push_back(add(state));
    }
    return joint;
}

// The entries of a region's BlockStates, in order, each read from `bits` bits from the low
// end of its long on, running on into the next long where it falls so.
class PackedEntries {
public:
    PackedEntries(const std::vector<std::uint64_t>& longs, int bits)
        : longs_(longs), bits_(bits), mask_((std::uint64_t{1} << bits) - 1) {}

    std::uint32_t Next() {
        const std::uint64_t low = longs_[word_] >> bit_;
        std::uint64_t value = low;
        bit_ += bits_;
        if (bit_ >= 64) {
            ++word_;
            bit_ -= 64;
            if (bit_ > 0)
                value |= longs_[word_] << (bits_ - bit_);
        }
        return static_cast<std::uint32_t>(value & mask_);
    }

private:
    const std::vector<std::uint64_t>& longs_;
    int bits_;
    std::uint64_t mask_;
    std::size_t word_ = 0;
    int bit_ = 0;
};

struct Placement {
    const Region& region;
    const Placed& placed;
    const std::vector<std::uint32_t>& jointIndex;
    std::array<std::int64_t, 3> low;  // the enclosing box's lowest corner
};

std::string MissingEntryProblem(const Region& region, std::uint32_t entry) {
    return "its region \"" + region.name + "\" names the palette entry " + std::to_string(entry) +
           ", which its palette of " + std::to_string(region.palette->size()) + " states lacks";
}

// A file's one region, which no other overlaps: every cell is written, air included, through
// a table of codes by entry that marks the entries its palette lacks. Nearly every file has
// one region, so this is the path of the largest buildings.
std::string PlaceOnlyRegion(const Placement& placement, const std::vector<BlockCode>& codeOfJoint,
                            const std::array<int, 3>& origin, Building& grid, std::vector<std::uint64_t>* cellsOfIndex) {
    const auto& [region, placed, jointIndex, low] = placement;
    const int bits = LitematicBitsPerEntry(region.palette->size());
    constexpr std::int32_t kLacking = -1;
    std::vector<std::int32_t> codeOfEntry(std::size_t{1} << bits, kLacking);
    for (std::size_t entry = 0; entry < region.palette->size(); ++entry)
        codeOfEntry[entry] = static_cast<std::int32_t>(codeOfJoint[jointIndex[entry]]);
    std::vector<std::uint64_t> cellsOfEntry(cellsOfIndex ? codeOfEntry.size() : 0);
    PackedEntries entries(*region.blockStates, bits);
    const int sizeX = static_cast<int>(placed.spans[0].length);
    const int sizeY = static_cast<int>(placed.spans[1].length);
    const int sizeZ = static_cast<int>(placed.spans[2].length);
    const auto [x0, h0, y0] = origin;
    std::vector<std::uint32_t> rowEntries(static_cast<std::size_t>(sizeX));
    for (int y = 0; y < sizeY; ++y)
        for (int z = 0; z < sizeZ; ++z) {
            for (std::uint32_t& entry : rowEntries)
                entry = entries.Next();
            StoredCode* row = grid.Row(y0 + z, h0 + y) + x0;
            std::int32_t lacking = 0;
            for (int x = 0; x < sizeX; ++x) {
                const std::int32_t code = codeOfEntry[rowEntries[static_cast<std::size_t>(x)]];
                lacking |= static_cast<std::int32_t>(static_cast<std::uint32_t>(code) >> 31);
                row[x] = static_cast<StoredCode>(code);
            }
            if (lacking != 0)
                for (const std::uint32_t entry : rowEntries)
                    if (codeOfEntry[entry] == kLacking)
                        return MissingEntryProblem(region, entry);
            if (cellsOfIndex)
                for (const std::uint32_t entry : rowEntries)
                    ++cellsOfEntry[entry];
        }
    // Air's cells are worked out from the others by the caller.
    if (cellsOfIndex)
        for (std::size_t entry = 0; entry < region.palette->size(); ++entry)
            if (jointIndex[entry] != 0)
                (*cellsOfIndex)[jointIndex[entry]] += cellsOfEntry[entry];
    return {};
}

// Puts a region's cells that are not air into the building where no later region put one
// (`taken`, present where regions may overlap), counting the cells of each state placed.
// Returns the problem of an entry its palette lacks.
std::string PlaceRegion(const Placement& placement, const std::vector<BlockCode>& codeOfJoint,
                        const std::vector<bool>& airOfJoint, Building& grid, std::vector<bool>* taken,
                        std::vector<std::uint64_t>* cellsOfIndex) {
    const auto& [region, placed, jointIndex, low] = placement;
    const std::size_t paletteSize = region.palette->size();
    PackedEntries entries(*region.blockStates, LitematicBitsPerEntry(paletteSize));
    const int sizeX = static_cast<int>(placed.spans[0].length);
    const int sizeY = static_cast<int>(placed.spans[1].length);
    const int sizeZ = static_cast<int>(placed.spans[2].length);
    const int x0 = static_cast<int>(placed.spans[0].low - low[0]) + 1;
    const int h0 = static_cast<int>(placed.spans[1].low - low[1]) + 1;
    const int y0 = static_cast<int>(placed.spans[2].low - low[2]) + 1;
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    const std::size_t length = static_cast<std::size_t>(grid.Length());
    if (!taken)
        return PlaceOnlyRegion(placement, codeOfJoint, {x0, h0, y0}, grid, cellsOfIndex);
    for (int y = 0; y < sizeY; ++y)
        for (int z = 0; z < sizeZ; ++z) {
            StoredCode* row = grid.Row(y0 + z, h0 + y) + x0;
            for (int x = 0; x < sizeX; ++x) {
                const std::uint32_t entry = entries.Next();
                if (entry >= paletteSize)
                    return MissingEntryProblem(region, entry);
                const std::uint32_t joint = jointIndex[entry];
                if (airOfJoint[joint])
                    continue;
                if (taken) {
                    const std::size_t cell = (static_cast<std::size_t>(h0 + y - 1) * length +
                                              static_cast<std::size_t>(y0 + z - 1)) * width +
                                             static_cast<std::size_t>(x0 + x - 1);
                    if ((*taken)[cell])
                        continue;
                    (*taken)[cell] = true;
                }
                row[x] = static_cast<StoredCode>(codeOfJoint[joint]);
                if (cellsOfIndex)
                    ++(*cellsOfIndex)[joint];
            }
        }
    return {};
}

LitematicReadResult Refused(const std::string& path, const std::string& problem) {
    LitematicReadResult result;
    result.problem = ImportRefusalText(path, "a Litematica schematic", problem);
    return result;
}

std::string VersionProblem(const LitematicTags& tags) {
    if (!tags.version)
        return "it has no \"Version\" tag, so it is no Litematica schematic";
    if (*tags.version < kOldestVersion || *tags.version > kNewestVersion)
        return "it is of version " + std::to_string(*tags.version) + ", and only versions " +
               std::to_string(kOldestVersion) + " to " + std::to_string(kNewestVersion) + " are known";
    if (!tags.hasRegions || tags.regions.empty())
        return "it has no regions";
    return {};
}

LitematicReadResult MakeCells(const std::string& path, LitematicTags& tags, const StateCodesFor& codesFor) {
    if (const std::string problem = VersionProblem(tags); !problem.empty())
        return Refused(path, problem);
    std::vector<Placed> placed(tags.regions.size());
    std::array<std::int64_t, 3> low{}, high{};
    for (std::size_t i = 0; i < tags.regions.size(); ++i) {
        if (const std::string problem = RegionProblem(tags.regions[i], placed[i]); !problem.empty())
            return Refused(path, problem);
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const Span& span = placed[i].spans[axis];
            low[axis] = i == 0 ? span.low : std::min(low[axis], span.low);
            high[axis] = i == 0 ? span.low + span.length : std::max(high[axis], span.low + span.length);
        }
    }
    const std::int64_t width = high[0] - low[0], height = high[1] - low[1], length = high[2] - low[2];
    if (width > kMaxWidth || length > kMaxWidth || height > kMaxHeight)
        return Refused(path, "its regions span " + std::to_string(width) + " x " + std::to_string(length) + " x " +
                                 std::to_string(height) + " cells (wide, long, high), more than the largest building of " +
                                 "512 x 512 x 256");

    const JointPalette joint = JoinPalettes(tags.regions);
    const PaletteChoice choice = codesFor(tags.facts, joint.states);
    std::vector<BlockCode> codeOfJoint;
    std::vector<bool> airOfJoint;
    for (const std::optional<std::string>& state : joint.states) {
        codeOfJoint.push_back(choice.codeOf(*state));
        airOfJoint.push_back(IsAirBlockId(BlockIdOfState(*state)));
    }
    LitematicReadResult result;
    Building& grid = result.grid.emplace(static_cast<int>(width), static_cast<int>(length), static_cast<int>(height));
    if (codeOfJoint[0] != 0)
        for (int h = 1; h <= grid.Height(); ++h)
            for (int y = 1; y <= grid.Length(); ++y)
                std::fill_n(grid.Row(y, h) + 1, grid.Width(), static_cast<StoredCode>(codeOfJoint[0]));
    std::vector<bool> taken;
    if (tags.regions.size() > 1)
        taken.assign(static_cast<std::size_t>(width * length * height), false);
    if (choice.countCells)
        result.cellsOfIndex.assign(joint.states.size(), 0);
    // The last region first, so that each cell keeps the block of the last region that has one.
    for (std::size_t i = tags.regions.size(); i-- > 0;) {
        const Placement placement{tags.regions[i], placed[i], joint.ofRegion[i], low};
        const std::string problem = PlaceRegion(placement, codeOfJoint, airOfJoint, grid, taken.empty() ? nullptr : &taken,
                                                choice.countCells ? &result.cellsOfIndex : nullptr);
        if (!problem.empty())
            return Refused(path, problem);
    }
    if (choice.countCells) {
        std::uint64_t placedCells = 0;
        for (const std::uint64_t cells : result.cellsOfIndex)
            placedCells += cells;
        result.cellsOfIndex[0] = static_cast<std::uint64_t>(width * length * height) - placedCells;
    }
    return result;
}

}  // namespace

LitematicReadResult ReadLitematicFile(const std::string& path, const StateCodesFor& codesFor) {
    CompressedFileReader input(path, kMaxContentBytes);
    if (input.GetProblem() == CompressedFileReader::Problem::CannotOpen)
        return LitematicReadResult{std::nullopt, "Could not open file!", {}};
    LitematicTagReader reader(input);
    if (!reader.ReadRoot())
        return Refused(path, reader.Problem());
    if (const std::string problem = EndProblem(input); !problem.empty())
        return Refused(path, problem);
    return MakeCells(path, reader.Tags(), codesFor);
}

}  // namespace stackmason
