// stackmason-convert as builders run it: the real program, started in a folder of its own
// that holds copies of the default packs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "editor/files/BuildingFiles.h"
#include "editor/files/FileFormats.h"
#include "editor/files/LayerPlans.h"
#include "editor/files/MaterialList.h"
#include "editor/model/HeadlessPorts.h"
#include "editor/packs/TexturePackLoader.h"
#include "tests/support/TempFolder.h"

namespace stackmason::testing {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A fresh folder under the system's temporary folder holding copies of the default packs,
// removed again with the test.
class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp_ = std::make_unique<test::TempFolder>("stackmason-convert");
        folder_ = temp_->Path() / "work";
        fs::create_directory(folder_);
        for (const char* pack : {"minecraft.zip", "stackmason.zip"})
            fs::copy_file(fs::path(STACKMASON_PACK_DIR) / pack, folder_ / pack);
    }
    void TearDown() override { temp_.reset(); }

    // Runs the program in `in` (the test folder by default); its output streams land beside
    // the test folder so that they are not among the files the program leaves.
    RunResult Run(const std::vector<std::string>& arguments, const fs::path& in = {}) const {
        const fs::path directory = in.empty() ? folder_ : in;
        const fs::path out = folder_.string() + ".out";
        const fs::path err = folder_.string() + ".err";
        // Appended piece by piece: GCC 12 reports a false -Wrestrict for `" " + std::string` at -O3.
        std::string command = "cd ";
        for (const std::string& word : {Quoted(directory.string()), std::string("&&"), Quoted(STACKMASON_CONVERT)}) {
            command += word;
            command += ' ';
        }
        for (const std::string& argument : arguments) {
            command += Quoted(argument);
            command += ' ';
        }
        command += '>';
        command += Quoted(out.string());
        command += " 2>";
        command += Quoted(err.string());
        const int status = std::system(command.c_str());
        RunResult result;
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadText(out);
        result.err = ReadText(err);
        fs::remove(out);
        fs::remove(err);
        return result;
    }

    fs::path Path(const std::string& name) const { return folder_ / name; }

    std::unique_ptr<test::TempFolder> temp_;
    fs::path folder_;
};

// The block codes of the pack that a schematic gives back as themselves: a block picture
// whose id (1 to 255) no earlier entry has, within the codes a building file can store.
std::vector<int> CodesThatComeBack(const std::string& packPath) {
    const StagedPack pack = StageTexturePack(packPath);
    std::vector<int> codes;
    std::set<std::int32_t> idsSeen;
    for (int code = 1; code < pack.selector.Count() && code <= 208; ++code) {
        const std::int32_t id = pack.selector.Data(code);
        const bool first = idsSeen.insert(id).second;
        if (first && id >= 1 && id <= 255 && pack.selector.ItemAt(code).isBlockPicture)
            codes.push_back(code);
    }
    return codes;
}

// A building file of random cells from `codes` and air, as the editor writes it.
std::string RandomBuildingText(int width, int length, int height, const std::string& pack,
                               const std::vector<int>& codes, std::mt19937& random) {
    std::ostringstream text;
    text << width << 'x' << length << 'x' << height << ';' << pack << "\r\n------\r\n";
    std::uniform_int_distribution<std::size_t> pick(0, codes.size());
    for (int h = 1; h <= height; ++h) {
        text << "layer " << h << "\r\n";
        for (int y = 1; y <= length; ++y) {
            for (int x = 1; x <= width; ++x) {
                const std::size_t index = pick(random);
                text << static_cast<char>((index == codes.size() ? 0 : codes[index]) + 47);
            }
            text << "\r\n";
        }
        text << "\r\n";
    }
    return text.str();
}

TEST_F(ConvertTest, TextAndSchematicRoundTripsGiveBackTheSameBytes) {
    const std::vector<int> codes = CodesThatComeBack(Path("minecraft.zip").string());
    ASSERT_GT(codes.size(), 20u);
    std::mt19937 random(13);
    const struct {
        int width, length, height;
    } sizes[] = {{1, 1, 1}, {3, 2, 2}, {29, 20, 18}, {64, 7, 33}, {512, 3, 2}, {2, 512, 1}, {5, 4, 256}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.length) + "x" +
                     std::to_string(size.height));
        const std::string text =
            RandomBuildingText(size.width, size.length, size.height, "minecraft.zip", codes, random);
        WriteText(Path("a.txt"), text);
        for (const auto& step : {std::pair{"a.txt", "a.schematic"}, std::pair{"a.schematic", "b.txt"},
                                 std::pair{"b.txt", "b.schematic"}}) {
            const RunResult result = Run({"--force", step.first, step.second});
            ASSERT_EQ(result.exitStatus, 0) << result.err;
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, "");
        }
        EXPECT_EQ(ReadText(Path("b.txt")), text);
        const std::string schematic = ReadText(Path("a.schematic"));
        EXPECT_EQ(schematic.size(), 124u + 2u * std::size_t(size.width) * size.length * size.height);
        EXPECT_EQ(ReadText(Path("b.schematic")), schematic);
    }
    EXPECT_EQ(Listing(folder_), (std::set<std::string>{"a.schematic", "a.txt", "b.schematic", "b.txt",
                                                        "minecraft.zip", "stackmason.zip"}));
}

// Every failure: a non-zero exit, one line on stderr that says which file and why, nothing
// on stdout, and no file written; a file that was there is left as it was.
TEST_F(ConvertTest, FailuresSayWhyOnOneLineAndLeaveNoFile) {
    const std::string house = "3x2x2;minecraft.zip\r\n------\r\nlayer 1\r\n0/1\r\n///\r\n\r\nlayer 2\r\n/2/\r\n///\r\n\r\n";
    WriteText(Path("house.txt"), house);
    WriteText(Path("named-elsewhere.txt"), "3x2x2;missing.zip\r\n------\r\n");
    WriteText(Path("no-pack-named.txt"), "3x2x2;\r\n------\r\n");
    WriteText(Path("too-wide.txt"), "600x20x10;minecraft.zip\r\n------\r\n");
    WriteText(Path("empty.txt"), "");
    WriteText(Path("junk.zip"), "not an archive");
    WriteText(Path("existing.schematic"), "keep me");
    fs::create_directory(Path("folder.txt"));
    ASSERT_EQ(Run({"house.txt", "house.schematic"}).exitStatus, 0);
    const std::string schematic = ReadText(Path("house.schematic"));
    WriteText(Path("short.schematic"), schematic.substr(0, 100));
    std::string tall = schematic;
    tall[21] = '\x7f';
    WriteText(Path("tall.schematic"), tall);
    fs::create_directory(Path("nopacks"));
    fs::copy_file(Path("house.txt"), Path("nopacks/house.txt"));
    fs::copy_file(Path("house.schematic"), Path("nopacks/house.schematic"));

    const struct {
        std::vector<std::string> arguments;
        std::string stderrStart;
        bool inNoPacks = false;
    } cases[] = {
        {{"missing.txt", "out.schematic"}, "stackmason-convert: missing.txt: "},
        {{"house.doc", "out.schematic"}, "stackmason-convert: house.doc: "},
        {{"house.txt", "out.TXT"}, "stackmason-convert: out.TXT: "},
        {{"house.txt", "out"}, "stackmason-convert: out: "},
        {{"folder.txt", "out.schematic"}, "stackmason-convert: folder.txt: "},
        {{"empty.txt", "out.schematic"}, "stackmason-convert: empty.txt: "},
        {{"too-wide.txt", "out.schematic"}, "stackmason-convert: too-wide.txt: "},
        {{"short.schematic", "out.txt"}, "stackmason-convert: short.schematic: "},
        {{"tall.schematic", "out.txt"}, "stackmason-convert: tall.schematic: "},
        {{"named-elsewhere.txt", "out.schematic"}, "stackmason-convert: missing.zip: "},
        {{"no-pack-named.txt", "out.schematic"}, "stackmason-convert: no-pack-named.txt: "},
        {{"house.txt", "out.schematic"}, "stackmason-convert: minecraft.zip: ", true},
        {{"house.schematic", "out.txt"}, "stackmason-convert: minecraft.zip: ", true},
        {{"--pack", "gone.zip", "house.txt", "out.txt"}, "stackmason-convert: gone.zip: "},
        {{"--pack", "junk.zip", "house.txt", "out.schematic"}, "stackmason-convert: junk.zip: "},
        {{"house.txt", "existing.schematic"}, "stackmason-convert: existing.schematic: "},
        {{"house.txt", "no-such-folder/out.schematic"}, "stackmason-convert: no-such-folder/out.schematic: "},
        {{"--force", "house.txt", "folder.txt"}, "stackmason-convert: folder.txt: "},
        {{}, "stackmason-convert: arguments: "},
        {{"house.txt"}, "stackmason-convert: arguments: "},
        {{"house.txt", "a.txt", "b.txt"}, "stackmason-convert: arguments: "},
        {{"--fast", "house.txt", "out.txt"}, "stackmason-convert: --fast: "},
        {{"house.txt", "out.txt", "--pack"}, "stackmason-convert: --pack: "},
    };
    for (const auto& failing : cases) {
        std::string shown;
        for (const std::string& argument : failing.arguments)
            shown += argument + " ";
        SCOPED_TRACE(shown);
        const fs::path directory = failing.inNoPacks ? Path("nopacks") : folder_;
        const std::set<std::string> before = Listing(directory);
        const RunResult result = Run(failing.arguments, directory);
        EXPECT_NE(result.exitStatus, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with(failing.stderrStart)) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(result.err.ends_with("\n")) << result.err;
        EXPECT_GT(result.err.size(), failing.stderrStart.size() + 1) << "says why";
        EXPECT_EQ(Listing(directory), before);
    }
    EXPECT_EQ(ReadText(Path("existing.schematic")), "keep me");
}

TEST_F(ConvertTest, ForceReplacesAnExistingFile) {
    WriteText(Path("house.txt"), "1x1x1;minecraft.zip\r\n------\r\nlayer 1\r\n0\r\n\r\n");
    WriteText(Path("copy.txt"), "old");
    const RunResult result = Run({"house.txt", "copy.txt", "-f"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(ReadText(Path("copy.txt")), ReadText(Path("house.txt")));
    EXPECT_EQ(Listing(folder_), (std::set<std::string>{"copy.txt", "house.txt", "minecraft.zip", "stackmason.zip"}));
}

// --pack takes an archive from any folder for reading and writing, and a text file written
// names that archive's file name.
TEST_F(ConvertTest, PackOptionReadsAndWritesWithTheNamedArchive) {
    std::mt19937 random(7);
    const std::string text =
        RandomBuildingText(17, 9, 5, "minecraft.zip", CodesThatComeBack(Path("minecraft.zip").string()), random);
    WriteText(Path("house.txt"), text);
    ASSERT_EQ(Run({"house.txt", "here.schematic"}).exitStatus, 0);
    ASSERT_EQ(Run({"here.schematic", "here.txt"}).exitStatus, 0);

    const fs::path elsewhere = Path("elsewhere");
    fs::create_directory(elsewhere);
    fs::copy_file(Path("house.txt"), elsewhere / "house.txt");
    const std::string pack = Path("minecraft.zip").string();
    for (const auto& step : {std::vector<std::string>{"--pack", pack, "house.txt", "there.schematic"},
                             std::vector<std::string>{"--pack=" + pack, "there.schematic", "there.txt"}}) {
        const RunResult result = Run(step, elsewhere);
        ASSERT_EQ(result.exitStatus, 0) << result.err;
    }
    EXPECT_EQ(ReadText(elsewhere / "there.schematic"), ReadText(Path("here.schematic")));
    EXPECT_EQ(ReadText(elsewhere / "there.txt"), ReadText(Path("here.txt")));
    EXPECT_EQ(ReadText(elsewhere / "there.txt"), text);

    // Named in place of the header's pack, the text written names the other pack.
    const RunResult renamed = Run({"--pack", Path("stackmason.zip").string(), "house.txt", "renamed.txt"}, elsewhere);
    ASSERT_EQ(renamed.exitStatus, 0) << renamed.err;
    const std::string header = "17x9x5;stackmason.zip\r\n";
    EXPECT_EQ(ReadText(elsewhere / "renamed.txt"), header + text.substr(text.find("\r\n") + 2));
}

// A .schem made from a text building and read back gives the same building; cells whose
// block has no block state are counted on stderr; --materials prints the list as CSV.
TEST_F(ConvertTest, SpongeSchematicsAndTheMaterialList) {
    std::mt19937 random(21);
    const std::string text =
        RandomBuildingText(23, 11, 6, "minecraft.zip", CodesThatComeBack(Path("minecraft.zip").string()), random);
    WriteText(Path("house.txt"), text);
    for (const auto& step : {std::pair{"house.txt", "house.schem"}, std::pair{"house.schem", "back.txt"}}) {
        const RunResult result = Run({step.first, step.second});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(ReadText(Path("back.txt")), text);

    // Code 200 lies beyond the pack: written as air, and said so.
    WriteText(Path("odd.txt"), "3x1x1;minecraft.zip\r\n------\r\nlayer 1\r\n0" + std::string(1, char(200 + 47)) +
                                   std::string(1, char(200 + 47)) + "\r\n\r\n");
    const RunResult odd = Run({"odd.txt", "odd.schem"});
    ASSERT_EQ(odd.exitStatus, 0) << odd.err;
    EXPECT_EQ(odd.err, "stackmason-convert: odd.schem: 2 cells were written as air, since Minecraft has no block "
                       "state for its block: block code 200: 2\n");

    WriteText(Path("small.txt"), "4x1x2;minecraft.zip\r\n------\r\nlayer 1\r\n00/1\r\n\r\nlayer 2\r\n0///\r\n\r\n");
    const RunResult materials = Run({"--materials", "small.txt"});
    ASSERT_EQ(materials.exitStatus, 0) << materials.err;
    EXPECT_EQ(materials.err, "");
    EXPECT_EQ(materials.out, "name,block state,count\nstone_001,minecraft:stone,3\ngrass_002,minecraft:grass_block,1\n");
    EXPECT_EQ(Run({"--materials", "small.txt", "x.txt"}).exitStatus, 2);
}

// --layer-table prints a row per block type, the most used first, with its count on every
// layer, empty ones as 0, and its total, whichever type the file has; it takes one file alone.
TEST_F(ConvertTest, TheLayerTable) {
    // Stone on layers 1 and 3, grass on layer 1 alone, layer 2 empty.
    WriteText(Path("small.txt"), "4x2x3;minecraft.zip\r\n------\r\nlayer 1\r\n00/1\r\n1///\r\n\r\nlayer 2\r\n"
                                 "////\r\n////\r\n\r\nlayer 3\r\n0/0/\r\n////\r\n\r\n");
    ASSERT_EQ(Run({"small.txt", "small.schem"}).exitStatus, 0);
    const std::string expected = "Block,Block state,Layer 1,Layer 2,Layer 3,Total\n"
                                 "stone_001,minecraft:stone,2,0,2,4\n"
                                 "grass_002,minecraft:grass_block,2,0,0,2\n";
    for (const char* in : {"small.txt", "small.schem"}) {
        SCOPED_TRACE(in);
        const RunResult table = Run({"--layer-table", in});
        ASSERT_EQ(table.exitStatus, 0) << table.err;
        EXPECT_EQ(table.err, "");
        EXPECT_EQ(table.out, expected);
    }
    // The total is the material list's count.
    EXPECT_EQ(Run({"--materials", "small.txt"}).out,
              "name,block state,count\nstone_001,minecraft:stone,4\ngrass_002,minecraft:grass_block,2\n");

    EXPECT_EQ(Run({"--layer-table", "small.txt", "x.txt"}).exitStatus, 2);
    const RunResult both = Run({"--layer-table", "--materials", "small.txt"});
    EXPECT_EQ(both.exitStatus, 2);
    EXPECT_EQ(both.out, "");
    const RunResult missing = Run({"--layer-table", "none.txt"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(missing.err, "stackmason-convert: none.txt: no such file\n");
    EXPECT_EQ(missing.out, "");
    EXPECT_FALSE(fs::exists(Path("x.txt")));
}

// A .schem taken on as a .litematic and read back as text gives the building it came from:
// the file names its pack and keeps the axes, so each cell comes back where it was.
TEST_F(ConvertTest, SpongeToLitematicToTextKeepsTheBuilding) {
    std::mt19937 random(22);
    const std::string text =
        RandomBuildingText(19, 7, 5, "minecraft.zip", CodesThatComeBack(Path("minecraft.zip").string()), random);
    WriteText(Path("house.txt"), text);
    for (const auto& step : {std::pair{"house.txt", "house.schem"}, std::pair{"house.schem", "house.litematic"},
                             std::pair{"house.litematic", "back.txt"}}) {
        const RunResult result = Run({step.first, step.second});
        ASSERT_EQ(result.exitStatus, 0) << step.first << " " << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(ReadText(Path("back.txt")), text);
    const std::string litematic = ReadText(Path("house.litematic"));
    ASSERT_GE(litematic.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(litematic[0]), 0x1F);  // gzip
    EXPECT_EQ(static_cast<unsigned char>(litematic[1]), 0x8B);
}

TEST_F(ConvertTest, HelpExplainsTheUse) {
    for (const char* option : {"--help", "-h"}) {
        const RunResult result = Run({option});
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_TRUE(
            result.out.starts_with("Usage: stackmason-convert [--force] [--pack FILE] [--game-version X.Y[.Z]] IN OUT\n"));
        for (const char* explained :
             {"--pack FILE", "--force", "minecraft.zip", ".schematic", ".txt", "--game-version", "1.13 to 26.1.2",
              "The default is 1.20.1", "--layer-table IN", "--plans OUT.pdf IN", "--plan-pictures DIR IN",
              "layer-001.png"})
            EXPECT_NE(result.out.find(explained), std::string::npos) << explained;
    }
    EXPECT_EQ(Listing(folder_), (std::set<std::string>{"minecraft.zip", "stackmason.zip"}));
}

// The page count pdfinfo reads in a PDF; -1 when it cannot read one.
int PdfPages(const fs::path& pdf) {
    const std::string info = fs::path(pdf).string() + ".info";
    const int status = std::system(("pdfinfo " + Quoted(pdf.string()) + " >" + Quoted(info) + " 2>&1").c_str());
    const std::string text = ReadText(info);
    fs::remove(info);
    const std::size_t at = text.find("Pages:");
    return status != 0 || at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 6);
}

// --plans writes the layer booklet and --plan-pictures the layer pictures without a display:
// a cover and a page per layer with a block; an existing booklet or picture is kept unless
// --force; each takes the one file IN.
TEST_F(ConvertTest, LayerPlansAreWrittenWithoutADisplay) {
    // Layers 1 and 3 hold blocks, layer 2 none.
    WriteText(Path("house.txt"),
              "3x2x3;minecraft.zip\r\n------\r\nlayer 1\r\n0/1\r\n///\r\n\r\nlayer 2\r\n///\r\n///\r\n\r\n"
              "layer 3\r\n/2/\r\n///\r\n\r\n");
    RunResult result = Run({"--plans", "house.pdf", "house.txt"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(PdfPages(Path("house.pdf")), 3);

    WriteText(Path("kept.pdf"), "keep me");
    result = Run({"--plans", "kept.pdf", "house.txt"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "stackmason-convert: kept.pdf: already exists (--force replaces it)\n");
    EXPECT_EQ(ReadText(Path("kept.pdf")), "keep me");
    result = Run({"--force", "--plans", "kept.pdf", "house.txt"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(PdfPages(Path("kept.pdf")), 3);

    result = Run({"--plan-pictures", "pictures", "house.txt"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(Listing(Path("pictures")), (std::set<std::string>{"layer-001.png", "layer-003.png"}));
    EXPECT_EQ(ReadText(Path("pictures/layer-001.png")).substr(1, 3), "PNG");
    result = Run({"--plan-pictures", "pictures", "house.txt"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("layer-001.png: already exists (--force replaces it)"), std::string::npos) << result.err;
    EXPECT_EQ(Run({"-f", "--plan-pictures", "pictures", "house.txt"}).exitStatus, 0);

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--plans", "a.pdf", "house.txt", "b.txt"}, {"--plans"},
          {"--plans", "a.pdf", "--plan-pictures", "d", "house.txt"}, {"--materials", "--plans", "a.pdf", "house.txt"}}) {
        result = Run(wrong);
        EXPECT_EQ(result.exitStatus, 2) << wrong.front();
        EXPECT_NE(result.err.find("--help explains the use"), std::string::npos) << result.err;
    }
    EXPECT_EQ(Listing(folder_), (std::set<std::string>{"house.txt", "house.pdf", "kept.pdf", "minecraft.zip",
                                                        "pictures", "stackmason.zip"}));
}

// The content of a gzip file with its Sponge "Date" (the 8 bytes behind the tag's name)
// zeroed, since two writes a moment apart differ there alone.
std::string UndatedContent(const std::string& gzipped) {
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzipped.data()));
    stream.avail_in = static_cast<uInt>(gzipped.size());
    std::string content;
    char chunk[1 << 16];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        content.append(chunk, sizeof chunk - stream.avail_out);
    }
    inflateEnd(&stream);
    EXPECT_EQ(result, Z_STREAM_END);
    const std::string dateTag = std::string("\x04\x00\x04", 3) + "Date";
    const std::size_t date = content.find(dateTag);
    EXPECT_NE(date, std::string::npos);
    if (date != std::string::npos)
        content.replace(date + dateTag.size(), 8, 8, '\0');
    return content;
}

// The big-endian Int tag "DataVersion" of this value, as a Sponge file holds it.
std::string DataVersionTag(std::int32_t value) {
    std::string tag = std::string("\x03\x00\x0b", 3) + "DataVersion";
    for (int shift = 24; shift >= 0; shift -= 8)
        tag += static_cast<char>((value >> shift) & 0xFF);
    return tag;
}

// --game-version picks the release the output and the material list are written for, 1.20.1
// when none is given; a release the game never had, or none, is a usage error that lists
// every release.
TEST_F(ConvertTest, GameVersionNamesBlocksAsThatReleaseDoes) {
    const StagedPack pack = StageTexturePack(Path("minecraft.zip").string());
    BlockCode slab = 0;
    for (BlockCode code = 1; code < pack.selector.Count() && code <= 208; ++code)
        if (pack.selector.ItemAt(code).text == "stone_slab_044")
            slab = code;
    ASSERT_GT(slab, 0);
    // A smooth stone slab beside stone (code 1).
    WriteText(Path("slab.txt"),
              "2x1x1;minecraft.zip\r\n------\r\nlayer 1\r\n" + std::string(1, char(slab + 47)) + "0\r\n\r\n");
    ASSERT_EQ(Run({"slab.txt", "slab.schematic"}).exitStatus, 0);
    // A .litematic is read whole, not a layer at a time: the list is counted in the editor.
    fs::copy_file(fs::path(STACKMASON_PACK_DIR) / "gameblocks.zip", Path("gameblocks.zip"));
    ASSERT_EQ(Run({"slab.txt", "slab.litematic"}).exitStatus, 0);

    const std::string smooth = "minecraft:smooth_stone_slab[type=bottom,waterlogged=false]";
    const std::string old = "minecraft:stone_slab[type=bottom,waterlogged=false]";
    struct Case {
        std::vector<std::string> options;
        std::int32_t dataVersion;
        const std::string& slabState;
    };
    for (const Case& c : {Case{{}, 3465, smooth}, Case{{"--game-version", "1.13.2"}, 1631, old},
                          Case{{"--game-version=1.13"}, 1519, old}, Case{{"--game-version", "1.14"}, 1952, smooth},
                          Case{{"--game-version", "1.20.1"}, 3465, smooth},
                          Case{{"--game-version", "26.1.2"}, 4790, smooth}}) {
        const std::string shown = c.options.empty() ? "default" : c.options.back();
        SCOPED_TRACE(shown);
        for (const char* in : {"slab.txt", "slab.schematic", "slab.litematic"}) {
            std::vector<std::string> arguments = c.options;
            arguments.insert(arguments.end(), {"--materials", in});
            const RunResult listed = Run(arguments);
            ASSERT_EQ(listed.exitStatus, 0) << listed.err;
            // Equal counts go by code: stone first.
            EXPECT_EQ(listed.out, "name,block state,count\nstone_001,minecraft:stone,1\nstone_slab_044,\"" +
                                      c.slabState + "\",1\n")
                << in;
        }
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {"--force", "slab.txt", "slab.schem"});
        const RunResult converted = Run(arguments);
        ASSERT_EQ(converted.exitStatus, 0) << converted.err;
        const std::string content = UndatedContent(ReadText(Path("slab.schem")));
        EXPECT_NE(content.find(DataVersionTag(c.dataVersion)), std::string::npos);
        EXPECT_NE(content.find(c.slabState), std::string::npos);
        EXPECT_EQ(content.find(&c.slabState == &smooth ? old : smooth), std::string::npos);
    }

    const std::string releases =
        "1.13, 1.13.1, 1.13.2, 1.14, 1.14.1, 1.14.2, 1.14.3, 1.14.4, 1.15, 1.15.1, 1.15.2, 1.16, 1.16.1, 1.16.2, "
        "1.16.3, 1.16.4, 1.16.5, 1.17, 1.17.1, 1.18, 1.18.1, 1.18.2, 1.19, 1.19.1, 1.19.2, 1.19.3, 1.19.4, 1.20, "
        "1.20.1, 1.20.2, 1.20.3, 1.20.4, 1.20.5, 1.20.6, 1.21, 1.21.1, 1.21.2, 1.21.3, 1.21.4, 1.21.5, 1.21.6, "
        "1.21.7, 1.21.8, 1.21.9, 1.21.10, 1.21.11, 26.1, 26.1.1, 26.1.2";
    for (const std::string version : {"1.12.2", "1.20.01", "1.20.1.0", "1.20.1 ", "26.2", "latest"}) {
        SCOPED_TRACE(version);
        const RunResult refused = Run({"--game-version", version, "--materials", "slab.txt"});
        EXPECT_EQ(refused.exitStatus, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, "stackmason-convert: --game-version " + version +
                                   ": unknown game version; the known ones are " + releases +
                                   " (stackmason-convert --help explains the use)\n");
    }
    for (const std::vector<std::string>& missing :
         {std::vector<std::string>{"--materials", "slab.txt", "--game-version"},
          std::vector<std::string>{"--game-version=", "--materials", "slab.txt"}}) {
        const RunResult refused = Run(missing);
        EXPECT_EQ(refused.exitStatus, 2);
        EXPECT_EQ(refused.err, "stackmason-convert: --game-version: names no game version "
                               "(stackmason-convert --help explains the use)\n");
    }
    EXPECT_EQ(Run({"--game-version", "1.12", "slab.txt", "new.schem"}).exitStatus, 2);
    EXPECT_FALSE(fs::exists(Path("new.schem")));
}

// The window's own path, the whole building held: the Load button's work on `in`, then the
// Save button's writer to `out`, in the test folder, where the packs lie; or, given `csv` or
// `table`, the material list's and the layer table's CSV instead of the save. The messages
// shown, errors first, are given back.
std::vector<std::string> SaveThroughTheWindowsPath(const fs::path& folder, const std::string& in, int inFilter,
                                                   const std::string& out, int outFilter, std::string* csv = nullptr,
                                                   std::string* table = nullptr) {
    struct Dialogs final : DialogPort {
        void ShowError(const std::string& text) override { errors.push_back(text); }
        void ShowInfo(const std::string& text) override { infos.push_back(text); }
        bool AskYesNo(const std::string&) override { return false; }
        std::optional<FileChoice> AskOpenFile(const FileRequest&) override { return std::nullopt; }
        std::optional<FileChoice> AskSaveFile(const FileRequest&) override { return std::nullopt; }
        bool RunAndWait(const std::string&, const std::string&, const std::string&) override { return false; }
        void ShowInfoWindow() override {}
        std::vector<std::string> errors, infos;
    };
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    HeadlessPainter painter;
    HeadlessWindow window;
    Dialogs dialogs;
    Editor editor{painter, window, dialogs};
    LoadBuildingFile(editor, FileChoice{in, inFilter});
    if (csv)
        *csv = MaterialCsv(CountMaterials(editor, MaterialScope::Building));
    if (table)
        *table = LayerTableCsv(editor);
    if (!csv && !table && dialogs.errors.empty()) {
        const LayerSource layers = LayersOf(editor.grid);
        FormatOfFilter(outFilter).save(SavedBuilding{layers, editor.selector, editor.texturePackName}, dialogs, out);
    }
    fs::current_path(previous);
    dialogs.errors.insert(dialogs.errors.end(), dialogs.infos.begin(), dialogs.infos.end());
    return dialogs.errors;
}

// The converter holds a layer at a time where the window holds the building; what it writes
// must be byte for byte what the window's path writes, for every pair of formats, on random
// buildings of odd sizes and on text files whose layers run short, long or out.
TEST_F(ConvertTest, StreamedConversionsWriteWhatTheWholeBuildingPathWrites) {
    const std::vector<int> codes = CodesThatComeBack(Path("minecraft.zip").string());
    std::mt19937 random(29);
    std::vector<std::string> texts;
    for (const auto& [width, length, height] : {std::array{1, 1, 1}, std::array{7, 3, 5}, std::array{31, 17, 9},
                                                 std::array{513 - 2, 2, 3}, std::array{3, 5, 255}})
        texts.push_back(RandomBuildingText(width, length, height, "minecraft.zip", codes, random));
    // A second layer of one row, a third of three rows where two are stored, then the end of
    // the data before the fourth; and codes beyond the pack.
    texts.push_back("4x2x5;minecraft.zip\r\n------\r\nlayer 1\r\n0/1/\r\n2222\r\n\r\nlayer 2\r\n1111\r\n\r\n"
                    "layer 3\r\n3333\r\n/4/4\r\n5555\r\n\r\n");
    texts.push_back("3x1x1;minecraft.zip\r\n------\r\nlayer 1\r\n0" + std::string(2, char(200 + 47)) + "\r\n\r\n");
    const std::pair<const char*, int> types[] = {{"txt", 0}, {"schematic", 1}, {"schem", 2}};
    for (std::size_t index = 0; index < texts.size(); ++index) {
        SCOPED_TRACE("building " + std::to_string(index));
        WriteText(Path("in.txt"), texts[index]);
        // Each type of input, made from the text by the window's path.
        for (const auto& [extension, filter] : types)
            if (filter != 0)
                SaveThroughTheWindowsPath(folder_, "in.txt", 0, std::string("in.") + extension, filter);
        for (const auto& [inExtension, inFilter] : types) {
            const std::string in = std::string("in.") + inExtension;
            SCOPED_TRACE(in);
            std::string expectedCsv, expectedTable;
            SaveThroughTheWindowsPath(folder_, in, inFilter, "", 0, &expectedCsv, &expectedTable);
            const RunResult materials = Run({"--materials", in});
            ASSERT_EQ(materials.exitStatus, 0) << materials.err;
            EXPECT_EQ(materials.out, expectedCsv);
            const RunResult table = Run({"--layer-table", in});
            ASSERT_EQ(table.exitStatus, 0) << table.err;
            EXPECT_EQ(table.out, expectedTable);
            for (const auto& [outExtension, outFilter] : types) {
                SCOPED_TRACE(in + " to ." + outExtension);
                // Of the same name, which a .schem holds, in a folder of its own.
                const std::string written = std::string("written.") + outExtension;
                const std::string expected = "oracle/" + written;
                fs::create_directories(Path("oracle"));
                const std::vector<std::string> messages =
                    SaveThroughTheWindowsPath(folder_, in, inFilter, expected, outFilter);
                const RunResult result = Run({"--force", in, written});
                ASSERT_EQ(result.exitStatus, 0) << result.err;
                EXPECT_EQ(result.err.empty(), messages.empty()) << result.err;
                if (outFilter == 2)
                    EXPECT_EQ(UndatedContent(ReadText(Path(written))), UndatedContent(ReadText(Path(expected))));
                else
                    EXPECT_EQ(ReadText(Path(written)), ReadText(Path(expected)));
            }
        }
    }
}

// Schematics of other tools' layouts: the Blocks array before the sizes, and two Blocks
// arrays of which the last counts. Both convert as the window loads them.
TEST_F(ConvertTest, SchematicsOfOtherLayoutsConvertAsTheWindowLoadsThem) {
    const auto tag = [](char type, const std::string& name) {
        return std::string(1, type) + char(name.size() >> 8) + char(name.size() & 0xFF) + name;
    };
    const auto integer = [](int value) {
        return std::string{char(value >> 24), char(value >> 16 & 0xFF), char(value >> 8 & 0xFF), char(value & 0xFF)};
    };
    const std::string sizes = tag(3, "Width") + integer(2) + tag(3, "Length") + integer(3) + tag(3, "Height") + integer(1);
    const std::string first = tag(7, "Blocks") + integer(6) + std::string{1, 4, 35, 0, 77, 1};
    const std::string second = tag(7, "Blocks") + integer(6) + std::string{2, 2, 3, 3, 1, 0};
    WriteText(Path("late.schematic"), tag(10, "Schematic") + first + sizes + '\0');
    WriteText(Path("twice.schematic"), tag(10, "Schematic") + sizes + first + second + '\0');
    fs::create_directories(Path("oracle"));
    for (const char* name : {"late", "twice"}) {
        SCOPED_TRACE(name);
        const std::string in = std::string(name) + ".schematic";
        const std::string out = std::string(name) + ".txt";
        EXPECT_TRUE(SaveThroughTheWindowsPath(folder_, in, 1, "oracle/" + out, 0).empty());
        const RunResult result = Run({in, out});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(ReadText(Path(out)), ReadText(Path("oracle/" + out)));
        EXPECT_NE(ReadText(Path(out)).find("2x3x1;minecraft.zip"), std::string::npos);
    }
}

// A Sponge schematic of another tool with blocks the pack lacks: the converter writes the
// nearest blocks, says on stderr which, a line each, and succeeds; the material list says the
// same. A file of the pack's own states is converted without a word.
TEST_F(ConvertTest, SpongeImportsSayWhatTheyApproximated) {
    const auto tag = [](char type, const std::string& name) {
        return std::string(1, type) + char(name.size() >> 8) + char(name.size() & 0xFF) + name;
    };
    const auto integer = [](int value) {
        return std::string{char(value >> 24), char(value >> 16 & 0xFF), char(value >> 8 & 0xFF), char(value & 0xFF)};
    };
    const auto file = [&](const std::string& stairs) {
        const std::string palette = tag(10, "Palette") + tag(3, "minecraft:air") + integer(0) + tag(3, stairs) +
                                    integer(1) + tag(3, "minecraft:beacon") + integer(2) + '\0';
        return tag(10, "Schematic") + tag(3, "Version") + integer(2) + tag(3, "DataVersion") + integer(3700) +
               tag(2, "Width").append("\0\3", 2) + tag(2, "Height").append("\0\1", 2) +
               tag(2, "Length").append("\0\1", 2) + palette + tag(7, "BlockData") + integer(3) +
               std::string{1, 1, 2} + '\0';
    };
    fs::copy_file(fs::path(STACKMASON_PACK_DIR) / "gameblocks.zip", Path("gameblocks.zip"));
    WriteText(Path("other.schem"), file("minecraft:oak_stairs[facing=east,half=bottom,shape=straight,waterlogged=false]"));
    const std::string report =
        "stackmason-convert: other.schem: Not every block of this file is in the pack gameblocks.zip as it is. These "
        "came in as the nearest block of the pack, or as \"unknown\" (saved as air):\n"
        "stackmason-convert: other.schem: 2 cells of "
        "minecraft:oak_stairs[facing=east,half=bottom,shape=straight,waterlogged=false] became oak_stairs_053\n"
        "stackmason-convert: other.schem: 1 cell of minecraft:beacon became unknown\n";
    const RunResult converted = Run({"other.schem", "other.txt"});
    ASSERT_EQ(converted.exitStatus, 0) << converted.err;
    EXPECT_EQ(converted.err, report);
    EXPECT_NE(ReadText(Path("other.txt")).find("3x1x1;gameblocks.zip"), std::string::npos);
    const RunResult listed = Run({"--materials", "other.schem"});
    ASSERT_EQ(listed.exitStatus, 0) << listed.err;
    EXPECT_EQ(listed.err, report);
    EXPECT_EQ(listed.out, "name,block state,count\noak_stairs_053,\"minecraft:oak_stairs[facing=north,half=bottom,"
                          "shape=straight,waterlogged=false]\",2\nunknown,,1\n");

    WriteText(Path("exact.schem"), file("minecraft:oak_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]"));
    const RunResult quiet = Run({"exact.schem", "exact.txt"});
    ASSERT_EQ(quiet.exitStatus, 0) << quiet.err;
    EXPECT_EQ(quiet.err.find("oak_stairs"), std::string::npos) << quiet.err;
}

}  // namespace
}  // namespace stackmason::testing
