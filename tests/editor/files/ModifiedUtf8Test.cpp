// NBT strings in modified UTF-8: the conversions against byte sequences written out by hand,
// the writer's length prefix and cut, and names read back through the editor's NBT input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FilesTestSupport.h"
#include "NbtBuilder.h"
#include "editor/files/CompressedFileReader.h"
#include "editor/files/ModifiedUtf8.h"
#include "editor/files/NbtInput.h"
#include "editor/files/NbtOutput.h"

namespace stackmason::testing {
namespace {

using namespace std::string_literals;

// U+1F600 GRINNING FACE: F0 9F 98 80 in UTF-8, the surrogates D83D DE00 in modified UTF-8.
const std::string kEmojiUtf8 = "\xF0\x9F\x98\x80";
const std::string kEmojiModified = "\xED\xA0\xBD\xED\xB8\x80";
const std::string kReplacement = "\xEF\xBF\xBD";

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(ModifiedUtf8, WritesEachCharacterInTheGamesForm) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"minecraft:oak_stairs[facing=north]", "minecraft:oak_stairs[facing=north]"},
        {""s, ""s},
        {"a\0b"s, "a\xC0\x80" "b"s},
        {"\xC3\xA9", "\xC3\xA9"},                      // é, two bytes
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},              // €, three bytes
        {"\xEF\xBF\xBF", "\xEF\xBF\xBF"},              // U+FFFF, the last of three bytes
        {"House " + kEmojiUtf8, "House " + kEmojiModified},
        {"\xF0\x90\x80\x80", "\xED\xA0\x80\xED\xB0\x80"},  // U+10000, the first pair
        {"\xF4\x8F\xBF\xBF", "\xED\xAF\xBF\xED\xBF\xBF"},  // U+10FFFF, the last pair
    };
    for (const auto& [utf8, modified] : cases) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(ToModifiedUtf8(utf8), modified);
        EXPECT_EQ(FromModifiedUtf8(modified), utf8);
    }
    EXPECT_TRUE(IsPlainNbtText("Schematic"));
    EXPECT_FALSE(IsPlainNbtText("a\0b"s));
    EXPECT_FALSE(IsPlainNbtText("\xC3\xA9"));
}

// Each byte that starts no valid UTF-8 sequence is one U+FFFD; what follows it is read on.
TEST(ModifiedUtf8, WritesBytesThatAreNoUtf8AsReplacementCharacters) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Bad\xFF", "Bad" + kReplacement},
        {"\x80x", kReplacement + "x"},                                        // a stray continuation
        {"\xE2\x82", kReplacement + kReplacement},                            // cut short at the end
        {"\xE2\x82y", kReplacement + kReplacement + "y"},                     // cut short before a letter
        {"\xC0\xAF", kReplacement + kReplacement},                            // overlong '/'
        {"\xE0\x80\xAF", Repeat(kReplacement, 3)},                            // overlong '/'
        {"\xED\xA0\xBD", Repeat(kReplacement, 3)},                            // a surrogate in UTF-8
        {"\xF4\x90\x80\x80", Repeat(kReplacement, 4)},                        // beyond U+10FFFF
        {"\xF8\x88\x80\x80\x80", Repeat(kReplacement, 5)},                    // a five-byte form
        {"\xC3\xA9\xFE\xE2\x82\xAC", "\xC3\xA9" + kReplacement + "\xE2\x82\xAC"},
    };
    for (const auto& [utf8, modified] : cases) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(ToModifiedUtf8(utf8), modified);
    }
}

// Lone surrogates and malformed bytes read as U+FFFD, and nothing beyond the string's own
// bytes is looked at.
TEST(ModifiedUtf8, ReadsWhatIsNoModifiedUtf8AsReplacementCharacters) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\xED\xA0\xBD" "a", kReplacement + "a"},                               // high surrogate alone
        {"\xED\xA0\xBD", kReplacement},                                         // ... at the end
        {"\xED\xB8\x80", kReplacement},                                         // low surrogate alone
        {"\xED\xB8\x80\xED\xA0\xBD", kReplacement + kReplacement},              // a pair the wrong way round
        {"\xED\xA0\xBD\xED\xA0\xBD\xED\xB8\x80", kReplacement + kEmojiUtf8},   // two highs, one low
        {"\xFF", kReplacement},
        {"\x80", kReplacement},
        {"\xC3", kReplacement},
        {"\xE2\x82" "a", kReplacement + kReplacement + "a"},
        {kEmojiUtf8, kEmojiUtf8},  // the four-byte form some writers use is kept
        {"\xF0\x9F\x98", Repeat(kReplacement, 3)},
        {"\0"s, "\0"s},            // a single NUL byte stays one
    };
    for (const auto& [modified, utf8] : cases) {
        SCOPED_TRACE(modified);
        EXPECT_EQ(FromModifiedUtf8(modified), utf8);
    }
    // A sequence whose end lies past the string's length is not completed from what follows.
    const std::string buffer = "ab\xE2\x82\xAC" + kEmojiModified;
    EXPECT_EQ(FromModifiedUtf8(std::string_view(buffer).substr(0, 4)), "ab" + kReplacement + kReplacement);
    EXPECT_EQ(FromModifiedUtf8(std::string_view(buffer).substr(5, 3)), kReplacement);
}

// The length field holds 65535 at most: longer text is cut at the last whole character that
// fits, never inside a surrogate pair.
TEST(ModifiedUtf8, CutsTextLongerThanTheLengthFieldAtACharacterBoundary) {
    const std::string a65535(65535, 'a');
    EXPECT_EQ(ToModifiedUtf8(a65535), a65535);
    EXPECT_EQ(ToModifiedUtf8(a65535 + "b"), a65535);
    EXPECT_EQ(ToModifiedUtf8(std::string(65533, 'a') + "\xC3\xA9"), std::string(65533, 'a') + "\xC3\xA9");
    EXPECT_EQ(ToModifiedUtf8(std::string(65534, 'a') + "\xC3\xA9"), std::string(65534, 'a'));
    EXPECT_EQ(ToModifiedUtf8(std::string(65532, 'a') + "\xE2\x82\xAC" + "z"), std::string(65532, 'a') + "\xE2\x82\xAC");
    EXPECT_EQ(ToModifiedUtf8(std::string(65529, 'a') + kEmojiUtf8), std::string(65529, 'a') + kEmojiModified);
    // Room for the high surrogate but not the pair: neither is written.
    EXPECT_EQ(ToModifiedUtf8(std::string(65530, 'a') + kEmojiUtf8 + "z"), std::string(65530, 'a'));
    // NULs take two bytes each: 32767 of them fill 65534 bytes, and the next does not fit.
    EXPECT_EQ(ToModifiedUtf8(std::string(40000, '\0')), Repeat("\xC0\x80", 32767));
    EXPECT_EQ(ToModifiedUtf8(Repeat("\xE2\x82\xAC", 30000)), Repeat("\xE2\x82\xAC", 21845));
}

std::vector<std::uint8_t> Written(const std::function<void(NbtOutput&)>& write) {
    std::vector<std::uint8_t> bytes;
    const ByteSink sink = [&](std::span<const std::uint8_t> block) { bytes.insert(bytes.end(), block.begin(), block.end()); };
    BlockedOutput out(sink);
    NbtOutput tags(out);
    write(tags);
    out.Flush();
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(NbtOutput, WritesNamesAndStringsInModifiedUtf8WithTheirEncodedLength) {
    EXPECT_EQ(Written([](NbtOutput& tags) { tags.Header(kNbtString, "Name"); }),
              Bytes("\x08\x00\x04Name"s));
    EXPECT_EQ(Written([&](NbtOutput& tags) { tags.Text("A" + kEmojiUtf8 + "\0"s); }),
              Bytes("\x00\x09"s + "A" + kEmojiModified + "\xC0\x80"));
    const std::vector<std::uint8_t> longText = Written([](NbtOutput& tags) { tags.Text(std::string(70000, 'x')); });
    ASSERT_EQ(longText.size(), 2u + 65535u);
    EXPECT_EQ(longText[0], 0xFF);
    EXPECT_EQ(longText[1], 0xFF);
    EXPECT_EQ(longText.back(), 'x');
}

// Tag names and string payloads come out of the editor's NBT input as UTF-8.
TEST(NbtInput, ReadsNamesAndStringsFromModifiedUtf8) {
    TemporaryWorkingDirectory directory;
    NbtBuilder nbt;
    nbt.Tag(kNbtCompound, "Schematic");
    nbt.Tag(kNbtString, "Name").Text("House " + kEmojiModified);
    nbt.Tag(kNbtInt, "caf\xC3\xA9\xC0\x80").Int(7);
    nbt.Tag(kNbtByte, "\xED\xA0\xBD" "x").Byte(1);
    nbt.Tag(kNbtString, kEmojiUtf8).Text("\xE2\x82\xAC\xFF");
    nbt.End();
    for (const auto& [form, bytes] : {std::pair{"plain", nbt.Result()}, std::pair{"gzip", Gzip(nbt.Result())}}) {
        SCOPED_TRACE(form);
        WriteBytes("names.nbt", bytes);
        CompressedFileReader file("names.nbt", 1 << 20);
        NbtInput input(file, 100);
        ASSERT_TRUE(input.ReadRootStart());
        std::vector<std::string> names, strings;
        const bool read = input.ReadCompound([&](std::uint8_t type, const std::string& name) {
            names.push_back(name);
            if (type != kNbtString)
                return input.SkipPayload(type, 1);
            std::string text;
            return input.ReadName(text) && (strings.push_back(text), true);
        });
        ASSERT_TRUE(read) << input.Problem();
        EXPECT_EQ(names, (std::vector<std::string>{"Name", "caf\xC3\xA9\0"s, kReplacement + "x", kEmojiUtf8}));
        EXPECT_EQ(strings, (std::vector<std::string>{"House " + kEmojiUtf8, "\xE2\x82\xAC" + kReplacement}));
        EXPECT_TRUE(EndProblem(file).empty());
    }
}

}  // namespace
}  // namespace stackmason::testing
