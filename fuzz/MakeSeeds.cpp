// Writes the fuzz targets' seed corpora from the project's own material: building files and
// schematics that the editor's writers produce for small random buildings, the entries of
// the default texture packs, and small hostile files that ask for a great deal of work.
// Usage: make_fuzz_seeds <seed folder> <pack file>...
#include <zlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "common/TexturePackArchive.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/BuildingWriter.h"
#include "editor/files/GameVersions.h"
#include "editor/files/LitematicFiles.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SpongeFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/TexturePackLoader.h"
#include "fuzz/FuzzSupport.h"
#include "tests/editor/files/NbtBuilder.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace {

using namespace stackmason;
namespace fs = std::filesystem;
namespace test_nbt = stackmason::testing;

void WriteSeed(const fs::path& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

Building RandomGrid(std::mt19937& random, int maxCode) {
    std::uniform_int_distribution<int> side(1, 6);
    Building grid(side(random), side(random), side(random));
    std::uniform_int_distribution<int> code(0, maxCode);
    for (int x = 1; x <= grid.Width(); ++x)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int h = 1; h <= grid.Height(); ++h)
                grid.At(x, y, h) = random() % 3 == 0 ? code(random) : 0;
    return grid;
}

std::vector<std::uint8_t> Encoded(const Building& grid, std::string_view pack) {
    const EncodedBuilding file = EncodeBuildingFile(grid, pack);
    const auto bytes = file.Bytes();
    return {bytes.begin(), bytes.end()};
}

void BuildingSeeds(const fs::path& folder, std::mt19937& random) {
    for (int i = 0; i < 12; ++i)
        WriteSeed(folder, "random" + std::to_string(i), Encoded(RandomGrid(random, 40), "stackmason.zip"));
    WriteSeed(folder, "lf-only", Bytes("2x1x2;p.zip\n------\nlayer 1\n0/\n\nlayer 2\n/1\n\n"));
    WriteSeed(folder, "no-semicolon", Bytes("3x1x1\r\n------\r\nlayer 1\r\n012\r\n\r\n"));
    WriteSeed(folder, "too-wide", Bytes("600x2x1;p.zip\r\n------\r\nlayer 1\r\n00\r\n\r\n"));
    WriteSeed(folder, "flat", Bytes("0x3x2;p\r\n-\r\nlayer 1\r\n\r\n\r\n"));
    WriteSeed(folder, "extra-rows", Bytes("2x1x1;p\r\n-\r\nlayer 1\r\n00\r\n11\r\n22\r\n\r\n"));
    WriteSeed(folder, "odd-bytes", Bytes(std::string("2x2x1; s\x00p\r\n-\r\nlayer 1\r\n#\xff\r\n ,\r\n\r\n", 30)));
}

// Blocks of the pack's first entries, with air between.
void SchematicSeeds(const fs::path& folder, std::mt19937& random, const std::string& minecraftPack) {
    HeadlessPainter painter;
    HeadlessWindow window;
    fuzz::CountingDialogs dialogs;
    Editor editor{painter, window, dialogs};
    editor.texturePackName = minecraftPack;
    LoadTexturePack(editor);
    const int codes = std::max(1, editor.selector.Count() - 1);
    const fs::path scratch = fuzz::ScratchFolder();
    for (int i = 0; i < 8; ++i) {
        const Building grid = RandomGrid(random, codes);
        AllocateBuilding(editor, grid.Width(), grid.Length(), grid.Height());
        editor.grid = grid;
        const fs::path plain = scratch / "seed.schematic";
        ExportSchematic(editor, plain.string());
        const std::vector<std::uint8_t> bytes = ReadWhole(plain);
        WriteSeed(folder, "plain" + std::to_string(i), bytes);
        // The same file as Minecraft tools store it: gzip-compressed.
        const fs::path packed = scratch / "seed.gz";
        gzFile out = gzopen(packed.c_str(), "wb");
        gzwrite(out, bytes.data(), static_cast<unsigned>(bytes.size()));
        gzclose(out);
        WriteSeed(folder, "gzip" + std::to_string(i), ReadWhole(packed));
    }
}

// A building of random blocks of the pack as the Sponge export writes it, gzip-compressed and
// naming its pack.
std::vector<std::uint8_t> ExportedSponge(std::mt19937& random, const std::string& packPath) {
    HeadlessPainter painter;
    HeadlessWindow window;
    fuzz::CountingDialogs dialogs;
    Editor editor{painter, window, dialogs};
    editor.texturePackName = packPath;
    LoadTexturePack(editor);
    const Building grid = RandomGrid(random, std::max(1, editor.selector.Count() - 1));
    std::vector<std::uint8_t> file;
    WriteSpongeSchematic(grid, PackBlockStates(editor.selector),
                         SpongeMetadata{"seed", 0, fs::path(packPath).filename().string()},
                         [&file](std::span<const std::uint8_t> bytes) { file.insert(file.end(), bytes.begin(), bytes.end()); });
    return file;
}

// Sizes of 3 x 2 x 2 and cells of a palette as other tools write them, properties in any
// order and names of newer releases among them.
void SpongeBody(test_nbt::NbtBuilder& nbt, const char* dataTag) {
    nbt.ShortTag("Width", 3).ShortTag("Height", 2).ShortTag("Length", 2);
    nbt.Tag(3, "PaletteMax").Int(5);
    nbt.Tag(10, "Palette")
        .Tag(3, "minecraft:stone").Int(2)
        .Tag(3, "minecraft:air").Int(0)
        .Tag(3, "minecraft:oak_stairs[waterlogged=false,shape=straight,half=bottom,facing=south]").Int(1)
        .Tag(3, "minecraft:short_grass").Int(3)
        .Tag(3, "minecraft:red_wool").Int(4)
        .End();
    nbt.ByteArrayTag(dataTag, {0, 1, 2, 3, 4, 0, 2, 2, 1, 0, 4, 4});
}

// What a file of ours names its pack by, and a path that must not be followed.
void SpongeMetadataTag(test_nbt::NbtBuilder& nbt, const char* pack) {
    nbt.Tag(10, "Metadata").Tag(8, "Name").Text("seed").Tag(8, stackmason::kPackNameTag).Text(pack).End();
}

void SpongeSeeds(const fs::path& folder, std::mt19937& random, const std::vector<std::string>& packs) {
    for (std::size_t i = 0; i < packs.size(); ++i) {
        const std::vector<std::uint8_t> exported = ExportedSponge(random, packs[i]);
        WriteSeed(folder, "exported-gzip" + std::to_string(i), exported);
        WriteSeed(folder, "exported-plain" + std::to_string(i), fuzz::PlainBytes(exported).value_or(exported));
    }
    // Version 2 naming the folder's own pack, whose blocks it holds all of.
    test_nbt::NbtBuilder own;
    own.Tag(10, "Schematic").Tag(3, "Version").Int(2).Tag(3, "DataVersion").Int(1631);
    SpongeMetadataTag(own, "mine.zip");
    own.ShortTag("Width", 4).ShortTag("Height", 1).ShortTag("Length", 1);
    own.Tag(10, "Palette").Tag(3, "minecraft:stone").Int(0).Tag(3, "minecraft:red_wool").Int(1)
        .Tag(3, "minecraft:oak_planks").Int(2).Tag(3, "minecraft:torch").Int(3).Tag(3, "minecraft:air").Int(4).End();
    own.ByteArrayTag("BlockData", {0, 1, 2, 3}).End();
    WriteSeed(folder, "own-pack", own.Result());
    // Version 3: the schematic's tags in "Schematic" under an unnamed root, the blocks nested.
    test_nbt::NbtBuilder nested;
    nested.Tag(10, "").Tag(10, "Schematic").Tag(3, "Version").Int(3).Tag(3, "DataVersion").Int(3700);
    SpongeMetadataTag(nested, "sub/given.zip");
    nested.ShortTag("Width", 3).ShortTag("Height", 2).ShortTag("Length", 2);
    nested.Tag(10, "Blocks");
    nested.Tag(10, "Palette").Tag(3, "minecraft:air").Int(0).Tag(3, "minecraft:dirt_path").Int(1)
        .Tag(3, "minecraft:smooth_stone_slab[type=bottom,waterlogged=false]").Int(2).End();
    nested.ByteArrayTag("Data", {1, 2, 0, 0, 2, 1, 1, 1, 2, 2, 0, 1});
    nested.Tag(9, "BlockEntities").Byte(10).Int(0);
    nested.End().End().End();
    WriteSeed(folder, "version3", nested.Result());
    // Version 1 without its "Version", and a file whose data version comes after its data.
    test_nbt::NbtBuilder old;
    old.Tag(10, "Schematic");
    SpongeBody(old, "BlockData");
    WriteSeed(folder, "no-version", old.End().Result());
    test_nbt::NbtBuilder late;
    late.Tag(10, "Schematic").Tag(3, "Version").Int(2);
    SpongeBody(late, "BlockData");
    SpongeMetadataTag(late, "mine.zip");
    late.Tag(3, "DataVersion").Int(3700);
    WriteSeed(folder, "data-version-last", late.End().Result());
    // Palette indexes of two-byte varints among one-byte ones.
    test_nbt::NbtBuilder wide;
    wide.Tag(10, "Schematic").Tag(3, "Version").Int(2).Tag(3, "DataVersion").Int(2586);
    wide.ShortTag("Width", 9).ShortTag("Height", 1).ShortTag("Length", 2);
    wide.Tag(10, "Palette").Tag(3, "minecraft:air").Int(0).Tag(3, "minecraft:white_wool").Int(1)
        .Tag(3, "minecraft:oak_log[axis=x]").Int(200).Tag(3, "minecraft:beacon").Int(300).End();
    wide.ByteArrayTag("BlockData", {1, 1, 1, 1, 1, 1, 1, 1, 0xC8, 0x01, 0, 1, 1, 1, 1, 1, 1, 1, 0xAC, 0x02});
    WriteSeed(folder, "wide-indexes", wide.End().Result());
    // The largest building, all stone: 64 MB of block data in about 64 KB of gzip.
    test_nbt::NbtBuilder head;
    head.Tag(10, "Schematic").Tag(3, "Version").Int(2).Tag(3, "DataVersion").Int(1631);
    head.ShortTag("Width", 512).ShortTag("Height", 256).ShortTag("Length", 512);
    head.Tag(10, "Palette").Tag(3, "minecraft:stone").Int(0).End();
    const std::int64_t cells = 512 * 512 * 256;
    head.Tag(7, "BlockData").Int(cells);
    const std::uint8_t zero = 0;
    WriteSeed(folder, "hostile-largest", test::DeflateRepeated(head.Result(), {&zero, 1}, static_cast<std::uint64_t>(cells),
                                                               {&zero, 1}, test::DeflateWrapper::Gzip));
}

// A building of random blocks of the pack as the Litematica export writes it, gzip-compressed
// and naming its pack.
std::vector<std::uint8_t> ExportedLitematic(std::mt19937& random, const std::string& packPath) {
    HeadlessPainter painter;
    HeadlessWindow window;
    fuzz::CountingDialogs dialogs;
    Editor editor{painter, window, dialogs};
    editor.texturePackName = packPath;
    LoadTexturePack(editor);
    const Building grid = RandomGrid(random, std::max(1, editor.selector.Count() - 1));
    std::vector<std::uint8_t> file;
    WriteLitematic(LayersOf(grid), PackBlockStates(editor.selector),
                   LitematicMetadata{"seed", kLitematicAuthor, 0, fs::path(packPath).filename().string(),
                                     DefaultGameRelease().dataVersion},
                   [&file](std::span<const std::uint8_t> bytes) { file.insert(file.end(), bytes.begin(), bytes.end()); });
    return file;
}

struct SeedRegion {
    const char* name;
    std::array<std::int64_t, 3> position;
    std::array<std::int64_t, 3> size;
    // Each entry a name and its properties as "key=value" pairs.
    std::vector<std::pair<const char*, std::vector<std::pair<const char*, const char*>>>> palette;
    std::vector<std::uint32_t> entries;  // (y SizeZ + z) SizeX + x
};

void SeedVector(test_nbt::NbtBuilder& nbt, const char* name, const std::array<std::int64_t, 3>& value) {
    nbt.Tag(10, name).Tag(3, "x").Int(value[0]).Tag(3, "y").Int(value[1]).Tag(3, "z").Int(value[2]).End();
}

// Entries of max(2, bit width of (size - 1)) bits from the low end of the first long on,
// running on into the next long where they fall so.
std::vector<std::uint64_t> PackedEntries(const std::vector<std::uint32_t>& entries, std::size_t paletteSize) {
    int bits = 2;
    while ((std::size_t{1} << bits) < paletteSize)
        ++bits;
    std::vector<std::uint64_t> longs((entries.size() * static_cast<std::size_t>(bits) + 63) / 64, 0);
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (int bit = 0; bit < bits; ++bit)
            if ((entries[i] >> bit) & 1) {
                const std::size_t at = i * static_cast<std::size_t>(bits) + static_cast<std::size_t>(bit);
                longs[at / 64] |= std::uint64_t{1} << (at % 64);
            }
    return longs;
}

// A file as Litematica writes it, the tags of each region in another order than ours, naming
// `pack` in its metadata where one is given.
std::vector<std::uint8_t> HandLitematic(int version, const std::vector<SeedRegion>& regions, const char* pack) {
    test_nbt::NbtBuilder nbt;
    nbt.Tag(10, "").Tag(3, "Version").Int(version);
    if (version >= 6)
        nbt.Tag(3, "SubVersion").Int(1);
    nbt.Tag(3, "MinecraftDataVersion").Int(version == 4 ? 1631 : 3700);
    nbt.Tag(10, "Metadata").Tag(8, "Name").Text("seed").Tag(3, "RegionCount").Int(static_cast<std::int64_t>(regions.size()));
    if (pack)
        nbt.Tag(8, stackmason::kPackNameTag).Text(pack);
    nbt.End();
    nbt.Tag(10, "Regions");
    for (const SeedRegion& region : regions) {
        nbt.Tag(10, region.name);
        const std::vector<std::uint64_t> longs = PackedEntries(region.entries, region.palette.size());
        nbt.Tag(12, "BlockStates").Int(static_cast<std::int64_t>(longs.size()));
        for (const std::uint64_t value : longs)
            nbt.Long(static_cast<std::int64_t>(value));
        nbt.Tag(9, "BlockStatePalette").Byte(10).Int(static_cast<std::int64_t>(region.palette.size()));
        for (const auto& [name, properties] : region.palette) {
            if (!properties.empty()) {
                nbt.Tag(10, "Properties");
                for (const auto& [key, value] : properties)
                    nbt.Tag(8, key).Text(value);
                nbt.End();
            }
            nbt.Tag(8, "Name").Text(name).End();
        }
        SeedVector(nbt, "Size", region.size);
        SeedVector(nbt, "Position", region.position);
        nbt.Tag(9, "Entities").Byte(0).Int(0);
        nbt.End();
    }
    return nbt.End().End().Result();
}

void LitematicSeeds(const fs::path& folder, std::mt19937& random, const std::vector<std::string>& packs) {
    for (std::size_t i = 0; i < packs.size(); ++i) {
        const std::vector<std::uint8_t> exported = ExportedLitematic(random, packs[i]);
        WriteSeed(folder, "exported-gzip" + std::to_string(i), exported);
        WriteSeed(folder, "exported-plain" + std::to_string(i), fuzz::PlainBytes(exported).value_or(exported));
    }
    // Two regions, the second of negative sizes over the first; an unused palette entry.
    const SeedRegion base{"Base", {10, 64, -3}, {3, 1, 2},
                          {{"minecraft:air", {}}, {"minecraft:stone", {}}, {"minecraft:beacon", {}},
                           {"minecraft:oak_log", {{"axis", "x"}}}, {"minecraft:white_wool", {}}},
                          {1, 4, 1, 3, 1, 4}};
    const SeedRegion tower{"Tower", {12, 66, -2}, {-2, -3, 1},
                           {{"minecraft:oak_stairs", {{"waterlogged", "false"}, {"shape", "straight"}, {"half", "bottom"}, {"facing", "south"}}},
                            {"minecraft:cave_air", {}},
                            {"minecraft:glass", {}}},
                           {1, 0, 2, 1, 2, 2}};
    for (const int version : {4, 5, 6, 7}) {
        const std::vector<std::uint8_t> two = HandLitematic(version, {base, tower}, nullptr);
        WriteSeed(folder, "two-regions-v" + std::to_string(version), version % 2 == 0 ? fuzz::Gzip(two) : two);
    }
    // A lone region of negative sizes naming the folder's own pack, whose blocks it holds all of.
    const SeedRegion own{"Own", {0, 0, 0}, {-4, 1, -1},
                         {{"minecraft:air", {}}, {"minecraft:stone", {}}, {"minecraft:red_wool", {}},
                          {"minecraft:oak_planks", {}}, {"minecraft:torch", {}}},
                         {1, 2, 3, 4}};
    WriteSeed(folder, "own-pack", HandLitematic(6, {own}, "mine.zip"));
    WriteSeed(folder, "pack-by-path", HandLitematic(7, {own}, "sub/given.zip"));
    // A region of an empty long array, which has no storage to read into.
    test_nbt::NbtBuilder empty;
    empty.Tag(10, "").Tag(3, "Version").Int(6).Tag(10, "Regions").Tag(10, "Empty").Tag(12, "BlockStates").Int(0);
    WriteSeed(folder, "empty-block-states", empty.End().End().End().Result());
    // The hostile buildings of 64 million cells take the instrumented target half a minute
    // and more, past the run's time limit; the benchmark measures them, the lying array stays.
    for (const test::HostileFile& file : test::HostileLitematics())
        if (file.name == "claims-most-longs")
            WriteSeed(folder, "hostile-" + file.name, file.bytes);
}

// Groups of a few consecutive entries of each pack, and pictures the packs do not have:
// a JPEG, a six-face strip, a folder.
std::vector<std::vector<fuzz::ZipEntry>> EntryGroups(const std::vector<std::string>& packs) {
    std::vector<std::vector<fuzz::ZipEntry>> groups;
    for (const std::string& path : packs) {
        auto archive = TexturePackArchive::Open(path);
        if (!archive) {
            std::cerr << "cannot open " << path << "\n";
            continue;
        }
        std::vector<fuzz::ZipEntry> group;
        for (int i = 0; i < archive->EntryCount() && groups.size() < 24; ++i) {
            const auto bytes = archive->ReadEntry(i);
            group.push_back({archive->Entry(i).name, bytes.value_or(std::vector<std::uint8_t>{})});
            if (group.size() == 3) {
                groups.push_back(std::move(group));
                group.clear();
            }
        }
    }
    groups.push_back({{"stone_001.jpg", test::EncodeJpeg(test::CoordinateImage(16, 16))},
                      {"t.strip_020.png", test::EncodePng(test::CoordinateImage(96, 16))},
                      {"folder/", {}},
                      {"wide_003.png", test::EncodePng(test::CoordinateImage(32, 16))}});
    return groups;
}

std::vector<std::uint8_t> WithPrefix(std::uint8_t first, const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> out{first};
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

void PackSeeds(const fs::path& folder, const std::vector<std::vector<fuzz::ZipEntry>>& groups) {
    for (std::size_t i = 0; i < groups.size(); ++i) {
        WriteSeed(folder, "entries" + std::to_string(i), WithPrefix(1, fuzz::EncodeEntries(groups[i])));
        std::vector<test::ArchiveEntry> deflated;
        for (const fuzz::ZipEntry& entry : groups[i])
            deflated.push_back({entry.name, entry.bytes});
        WriteSeed(folder, "archive" + std::to_string(i), WithPrefix(0, test::MakeZip(deflated)));
    }
}

void PreviewSeeds(const fs::path& folder, std::mt19937& random, const std::vector<std::vector<fuzz::ZipEntry>>& groups) {
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const std::vector<std::uint8_t> preview = Encoded(RandomGrid(random, 4), i % 5 == 4 ? "other.zip" : "pack.zip");
        std::vector<std::uint8_t> seed{static_cast<std::uint8_t>(preview.size()),
                                       static_cast<std::uint8_t>(preview.size() >> 8)};
        seed.insert(seed.end(), preview.begin(), preview.end());
        const std::vector<std::uint8_t> entries = fuzz::EncodeEntries(groups[i]);
        seed.insert(seed.end(), entries.begin(), entries.end());
        WriteSeed(folder, "scene" + std::to_string(i), seed);
    }
}

// Schematics and packs of at most 1 MB that would inflate to gigabytes or decode billions of
// pixels: the readers must refuse them or stay within their budgets, and quickly. A preview
// seed's entries hold at most 64 KB each, so its pack has pictures of 2048 x 2048, far more
// of them than the pack's budget takes, beside one of many zTXt chunks and one of too many
// JPEG scans.
void HostileSeeds(const fs::path& seeds) {
    for (const test::HostileFile& file : test::HostileSchematics())
        WriteSeed(seeds / "schematic", "hostile-" + file.name, file.bytes);
    for (const test::HostileFile& file : test::HostilePacks())
        WriteSeed(seeds / "texture_pack", "hostile-" + file.name, WithPrefix(0, file.bytes));

    std::vector<fuzz::ZipEntry> entries;
    for (int i = 1; i <= 12; ++i)
        entries.push_back({test::HugeEntryName(i), test::SolidPng(2048, Rgba{200, 120, 40, 255})});
    entries.push_back({"t.text_013.png", test::WithTextChunks(test::SolidPng(16, Rgba{1, 2, 3, 255}), 6, 7'900'000)});
    entries.push_back({"scans_014.jpg", test::ProgressiveJpeg(256, Rgba{9, 9, 9, 255}, 500)});
    Building grid(14, 1, 1);
    for (int x = 1; x <= 14; ++x)
        grid.At(x, 1, 1) = x;
    const std::vector<std::uint8_t> preview = Encoded(grid, "pack.zip");
    std::vector<std::uint8_t> seed{static_cast<std::uint8_t>(preview.size()),
                                   static_cast<std::uint8_t>(preview.size() >> 8)};
    seed.insert(seed.end(), preview.begin(), preview.end());
    const std::vector<std::uint8_t> packed = fuzz::EncodeEntries(entries);
    seed.insert(seed.end(), packed.begin(), packed.end());
    WriteSeed(seeds / "preview_scene", "hostile-budget", seed);
    WriteSeed(seeds / "texture_pack", "hostile-budget", WithPrefix(1, packed));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make_fuzz_seeds <seed folder> <minecraft pack> [other packs...]\n";
        return 2;
    }
    const fs::path seeds = argv[1];
    const std::vector<std::string> packs(argv + 2, argv + argc);
    std::mt19937 random(20240608);
    BuildingSeeds(seeds / "building_file", random);
    SchematicSeeds(seeds / "schematic", random, packs.front());
    SpongeSeeds(seeds / "sponge", random, packs);
    LitematicSeeds(seeds / "litematic", random, packs);
    const auto groups = EntryGroups(packs);
    PackSeeds(seeds / "texture_pack", groups);
    PreviewSeeds(seeds / "preview_scene", random, groups);
    HostileSeeds(seeds);
    std::error_code error;
    fs::remove_all(fuzz::ScratchFolder(), error);
    return 0;
}
