#include <gtest/gtest.h>

#include <cstring>

#include "common/BlockNames.h"
#include "common/Constants.h"
#include "common/TexturePackArchive.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TempFolder.h"
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
    const test::TempFolder folder("pack-by-path");
    const std::string path = folder.File("pack_by_path.zip");
    test::WriteFile(path, ThreeBlockArchive());
    auto pack = TexturePackArchive::Open(path);
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->EntryCount(), 3);
    EXPECT_FALSE(TexturePackArchive::Open(folder.File("no_such_pack.zip")));
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
        entries.push_back({test::NumberedEntryName("b", i, "_001.png"), {}});
    const auto pack = TexturePackArchive::OpenFromMemory(test::MakeZip(entries));
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->EntryCount(), kMaxPackEntries);
    EXPECT_EQ(pack->Entry(kMaxPackEntries - 1).name, test::NumberedEntryName("b", kMaxPackEntries - 1, "_001.png"));
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

// Decoding costs time by the pixels a picture claims, however few bytes carry them: a pack's
// pictures share a budget, and an entry beyond it is left out, keeping its place. Only those
// count as left out; an entry that is no picture does not.
TEST(TexturePackArchive, PicturesBeyondThePixelBudgetAreLeftOut) {
    const Rgba red{200, 0, 0, 255};
    const std::vector<std::uint8_t> quarter = test::SolidPng(4096, red);
    auto pack = TexturePackArchive::OpenFromMemory(test::DeflatedZip({
        {"first_001.png", quarter},  // three of them are the whole floor of the budget
        {"second_002.png", quarter},
        {"third_003.png", quarter},
        {"small_004.png", Png(16, 16)},
        {"huge_005.png", test::SolidPng(8192, red)},
        {"again_006.png", quarter},
        {"notes_007.png", {'n', 'o'}},
        {"small_008.jpg", test::EncodeJpeg(test::CoordinateImage(16, 16))},
    }));
    ASSERT_TRUE(pack);
    const std::uint64_t budget = pack->BudgetLeft().decodedPixels;
    ASSERT_GE(budget, 3 * 4096u * 4096u + 2 * 256u);
    ASSERT_LT(budget, 4 * 4096u * 4096u);
    for (int i = 0; i < 3; ++i) {
        const EntryPicture picture = pack->ReadEntryPicture(i);
        ASSERT_TRUE(picture.image);
        EXPECT_EQ(picture.image->Pixel(4095, 4095), red);
        EXPECT_FALSE(picture.leftOut);
    }
    EXPECT_EQ(pack->ReadEntryImage(3), test::CoordinateImage(16, 16));
    const EntryPicture huge = pack->ReadEntryPicture(4);
    EXPECT_FALSE(huge.image);
    EXPECT_TRUE(huge.leftOut);
    EXPECT_TRUE(pack->ReadEntryPicture(5).leftOut);
    const EntryPicture notes = pack->ReadEntryPicture(6);
    EXPECT_FALSE(notes.image);
    EXPECT_FALSE(notes.leftOut);
    EXPECT_TRUE(pack->ReadEntryImage(7));
    EXPECT_EQ(pack->LeftOutCount(), 2);
    EXPECT_EQ(pack->BudgetLeft().decodedPixels, budget - 3 * 4096u * 4096u - 2 * 256u);
    EXPECT_EQ(pack->EntryCount(), 8);
    EXPECT_EQ(pack->Entry(5).name, "again_006.png");
    // A pack opened anew has its budget anew.
    EXPECT_TRUE(TexturePackArchive::OpenFromMemory(test::DeflatedZip({{"huge_001.png", quarter}}))->ReadEntryImage(0));
}

// Inflating costs time by the bytes an entry declares, which a few kilobytes of zip can make
// 64 MB: the entries of a pack share a budget of them too. bzip2, which libzip also reads,
// takes several times as long per byte and counts eight times.
TEST(TexturePackArchive, EntriesBeyondTheInflatingBudgetAreNotRead) {
    constexpr std::uint64_t kMegabyte = 1 << 20;
    auto pack = TexturePackArchive::OpenFromMemory(test::DeflatedZip({
        {"zeros_001.png", Png(16, 16), 40 * kMegabyte},
        {"zeros_002.png", Png(16, 16), 40 * kMegabyte},
        {"small_003.png", Png(16, 16)},
    }));
    ASSERT_TRUE(pack);
    const std::optional<std::vector<std::uint8_t>> first = pack->ReadEntry(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size(), Png(16, 16).size() + 40 * kMegabyte);
    EXPECT_FALSE(pack->ReadEntry(1));
    EXPECT_TRUE(pack->ReadEntryPicture(1).leftOut);
    EXPECT_EQ(pack->ReadEntryImage(2), test::CoordinateImage(16, 16));

    auto bzip2 = TexturePackArchive::OpenFromMemory(test::Bzip2Zip({
        {"zeros_001.png", Png(16, 16), 16 * kMegabyte},
        {"small_002.png", Png(16, 16), kMegabyte},
    }));
    ASSERT_TRUE(bzip2);
    EXPECT_FALSE(bzip2->ReadEntry(0));
    EXPECT_EQ(bzip2->ReadEntryImage(1), test::CoordinateImage(16, 16));
}

// Every hostile pack (each at most 1 MB) keeps every entry in its place and decodes no more
// than its budget allows.
TEST(TexturePackArchive, HostilePacksStayWithinTheirBudget) {
    for (const test::HostileFile& file : test::HostilePacks()) {
        SCOPED_TRACE(file.name);
        EXPECT_LE(file.bytes.size(), 1000u * 1000u);
        auto pack = TexturePackArchive::OpenFromMemory(file.bytes);
        ASSERT_TRUE(pack);
        const PackWorkBudget budget = PackWorkBudget::ForArchiveOfSize(file.bytes.size());
        EXPECT_EQ(pack->BudgetLeft().decodedPixels, budget.decodedPixels);
        std::uint64_t pixels = 0;
        int decoded = 0;
        for (int i = 0; i < pack->EntryCount(); ++i) {
            if (const std::optional<Image> picture = pack->ReadEntryImage(i)) {
                pixels += static_cast<std::uint64_t>(picture->Width()) * static_cast<std::uint64_t>(picture->Height());
                ++decoded;
            }
        }
        EXPECT_LE(pixels, budget.decodedPixels);
        if (file.name == "huge-pictures" || file.name == "huge-pictures-4096" || file.name == "repeated-scans" ||
            file.name == "bzip2-bomb") {
            EXPECT_EQ(decoded, 0);
        } else if (file.name == "budget-png" || file.name == "budget-jpeg") {
            EXPECT_TRUE(decoded > 1 && decoded < 16) << decoded;
        } else if (file.name == "flat-pictures") {
            EXPECT_TRUE(decoded > 1 && pack->LeftOutCount() > decoded) << decoded;
        } else {  // the first entries of "text-chunks" and "zip-bomb" are small pictures
            EXPECT_GT(decoded, 0);
        }
        if (file.name != "flat-pictures") {
            EXPECT_EQ(pack->EntryCount(), file.name == "huge-pictures" ? 48 : file.name.starts_with("budget") ? 17 : 4096);
        }
    }
}

}  // namespace
}  // namespace stackmason
