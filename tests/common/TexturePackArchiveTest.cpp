#include <gtest/gtest.h>

#include <cstring>

#include "common/BlockNames.h"
#include "common/Constants.h"
#include "common/TexturePackArchive.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace stackmason {
namespace {

using test::ArchiveEntry;

std::vector<std::uint8_t> Png(int width, int height) { return test::EncodePng(test::CoordinateImage(width, height)); }

std::vector<std::uint8_t> ThreeBlockArchive() {
    return test::MakeZip({{"a_001.png", Png(16, 16)}, {"b_002.png", Png(96, 16)}, {"c_003.png", Png(32, 32)}});
}

TEST(TexturePackArchive, WalksEntriesInDirectoryOrder) {
    auto pack = TexturePackArchive::OpenFromMemory(ThreeBlockArchive());
    ASSERT_TRUE(pack);
    ASSERT_EQ(pack->EntryCount(), 3);
    EXPECT_EQ(pack->Entry(0).name, "a_001.png");
    EXPECT_EQ(pack->Entry(2).name, "c_003.png");
    EXPECT_EQ(pack->Entry(1).size, Png(96, 16).size());
    EXPECT_EQ(BlockIdFromEntryName(pack->Entry(1).name), 2);
    EXPECT_EQ(pack->ReadEntryImage(1)->Width(), 96);

    auto reordered = TexturePackArchive::OpenFromMemory(
        test::MakeZip({{"c_003.png", Png(32, 32)}, {"a_001.png", Png(16, 16)}}));
    ASSERT_TRUE(reordered);
    EXPECT_EQ(reordered->Entry(0).name, "c_003.png");
}

TEST(TexturePackArchive, FoldersAndUndecodableEntriesKeepTheirPlace) {
    auto pack = TexturePackArchive::OpenFromMemory(test::MakeZip(
        {{"blocks/", {}}, {"notes_004.png", {'h', 'i'}}, {"blocks/t.glass_020.png", Png(16, 16)}}));
    ASSERT_TRUE(pack);
    ASSERT_EQ(pack->EntryCount(), 3);
    EXPECT_TRUE(pack->Entry(0).isDirectory);
    EXPECT_FALSE(pack->ReadEntry(0));
    EXPECT_TRUE(pack->ReadEntry(1));
    EXPECT_FALSE(pack->ReadEntryImage(1));
    EXPECT_TRUE(pack->ReadEntryImage(2));
    EXPECT_FALSE(IsBlendedEntryName(pack->Entry(2).name));
}

TEST(TexturePackArchive, OpensByPathAndRefusesMissingOrForeignFiles) {
    const std::string path = testing::TempDir() + "pack_by_path.zip";
    test::WriteFile(path, ThreeBlockArchive());
    auto pack = TexturePackArchive::Open(path);
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->EntryCount(), 3);
    EXPECT_FALSE(TexturePackArchive::Open(testing::TempDir() + "no_such_pack.zip"));
    test::WriteFile(path, Png(4, 4));
    EXPECT_FALSE(TexturePackArchive::Open(path));
}

// The central directory record of the first entry, where its declared sizes stand.
std::size_t CentralRecord(const std::vector<std::uint8_t>& zip) {
    const std::uint8_t signature[] = {'P', 'K', 1, 2};
    for (std::size_t at = 0; at + 4 <= zip.size(); ++at)
        if (std::memcmp(&zip[at], signature, 4) == 0)
            return at;
    return zip.size();
}

TEST(TexturePackArchive, RefusesAnEntryThatClaimsTooMuch) {
    std::vector<std::uint8_t> zip = test::MakeZip({{"big_001.png", Png(16, 16)}});
    const std::size_t record = CentralRecord(zip);
    ASSERT_LT(record, zip.size());
    const std::uint32_t claimed = 0xFFFFFFF0u;  // just under 4 GiB
    std::memcpy(&zip[record + 24], &claimed, 4);
    auto pack = TexturePackArchive::OpenFromMemory(zip);
    ASSERT_TRUE(pack);
    EXPECT_GT(pack->Entry(0).size, kMaxEntryBytes);
    EXPECT_FALSE(pack->ReadEntry(0));
}

// Entries beyond the cap are left out, whatever the archive's directory claims.
TEST(TexturePackArchive, EntriesBeyondTheCapAreLeftOut) {
    std::vector<test::ArchiveEntry> entries;
    for (int i = 0; i < kMaxPackEntries + 3; ++i)
        entries.push_back({"b" + std::to_string(i) + "_001.png", {}});
    const auto pack = TexturePackArchive::OpenFromMemory(test::MakeZip(entries));
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->EntryCount(), kMaxPackEntries);
    EXPECT_EQ(pack->Entry(kMaxPackEntries - 1).name, "b" + std::to_string(kMaxPackEntries - 1) + "_001.png");
}

TEST(TexturePackArchive, DamagedArchivesNeverCrash) {
    const std::vector<std::uint8_t> good = ThreeBlockArchive();
    for (std::size_t at = 0; at < good.size(); at += 3) {
        std::vector<std::uint8_t> damaged = good;
        damaged[at] = static_cast<std::uint8_t>(damaged[at] ^ 0x5A);
        auto pack = TexturePackArchive::OpenFromMemory(damaged);
        if (!pack)
            continue;
        for (int i = 0; i < pack->EntryCount(); ++i)
            pack->ReadEntryImage(i);
    }
    for (std::size_t length : {std::size_t{0}, std::size_t{10}, good.size() / 2, good.size() - 1}) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        auto pack = TexturePackArchive::OpenFromMemory(cut);
        if (pack)
            for (int i = 0; i < pack->EntryCount(); ++i)
                pack->ReadEntryImage(i);
    }
}

}  // namespace
}  // namespace stackmason
