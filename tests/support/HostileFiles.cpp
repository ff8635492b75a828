#include "tests/support/HostileFiles.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace stackmason::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "hostile file builder: %s\n", what);
    std::abort();
}

void Append(Bytes& out, std::span<const std::uint8_t> bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void PutLe(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutBe(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A raw deflate stream fed piece by piece; each Feed gives the output that piece produced.
class RawDeflater {
public:
    RawDeflater() {
        if (deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
            Broken("deflateInit2");
    }
    ~RawDeflater() { deflateEnd(&stream_); }
    RawDeflater(const RawDeflater&) = delete;
    RawDeflater& operator=(const RawDeflater&) = delete;

    Bytes Feed(std::span<const std::uint8_t> bytes, int flush) {
        Bytes out;
        std::uint8_t buffer[1 << 16];
        stream_.next_in = const_cast<Bytef*>(bytes.data());
        stream_.avail_in = static_cast<uInt>(bytes.size());
        int result = Z_OK;
        do {
            stream_.next_out = buffer;
            stream_.avail_out = sizeof buffer;
            result = deflate(&stream_, flush);
            if (result == Z_STREAM_ERROR)
                Broken("deflate");
            out.insert(out.end(), buffer, buffer + (sizeof buffer - stream_.avail_out));
        } while (stream_.avail_in > 0 || stream_.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
        return out;
    }

private:
    z_stream stream_{};
};

// The check sum of the whole content, built from the check sums of its parts.
struct ContentSums {
    uLong crc = crc32(0L, Z_NULL, 0);
    uLong adler = adler32(0L, Z_NULL, 0);
    std::uint64_t size = 0;

    // The sums of bytes repeated 1, 2, 4, ... times, combined for the bits of times.
    void Add(std::span<const std::uint8_t> bytes, std::uint64_t times = 1) {
        uLong partCrc = crc32(0L, bytes.data(), static_cast<uInt>(bytes.size()));
        uLong partAdler = adler32(1L, bytes.data(), static_cast<uInt>(bytes.size()));
        std::uint64_t partSize = bytes.size();
        for (; times > 0; times >>= 1) {
            if (times & 1) {
                crc = crc32_combine(crc, partCrc, static_cast<z_off_t>(partSize));
                adler = adler32_combine(adler, partAdler, static_cast<z_off_t>(partSize));
                size += partSize;
            }
            partCrc = crc32_combine(partCrc, partCrc, static_cast<z_off_t>(partSize));
            partAdler = adler32_combine(partAdler, partAdler, static_cast<z_off_t>(partSize));
            partSize *= 2;
        }
    }
};

Bytes Wrapped(const Bytes& raw, const ContentSums& sums, DeflateWrapper wrapper) {
    Bytes out;
    if (wrapper == DeflateWrapper::Gzip)
        out = {0x1F, 0x8B, 8, 0, 0, 0, 0, 0, 2, 0xFF};
    else if (wrapper == DeflateWrapper::Zlib)
        out = {0x78, 0xDA};
    Append(out, raw);
    if (wrapper == DeflateWrapper::Gzip) {
        PutLe(out, sums.crc, 4);
        PutLe(out, sums.size, 4);
    } else if (wrapper == DeflateWrapper::Zlib) {
        PutBe(out, sums.adler, 4);
    }
    return out;
}

void PutPngChunk(Bytes& png, const char* type, std::span<const std::uint8_t> data) {
    PutBe(png, data.size(), 4);
    Bytes typed(type, type + 4);
    Append(typed, data);
    Append(png, typed);
    PutBe(png, crc32(0L, typed.data(), static_cast<uInt>(typed.size())), 4);
}

struct ZipRecord {
    std::string name;
    std::uint16_t method = 8;  // deflated
    std::uint32_t crc = 0;
    std::uint64_t packed = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
};

// The fields a local header and a directory record share, from the version needed to the
// extra field's length.
void PutSharedFields(Bytes& zip, const ZipRecord& record) {
    PutLe(zip, 20, 2);  // version needed
    PutLe(zip, 0, 2);   // flags
    PutLe(zip, record.method, 2);
    PutLe(zip, 0, 4);   // time and date
    PutLe(zip, record.crc, 4);
    PutLe(zip, record.packed, 4);
    PutLe(zip, record.size, 4);
    PutLe(zip, record.name.size(), 2);
    PutLe(zip, 0, 2);  // extra
}

void PutLocalHeader(Bytes& zip, const ZipRecord& record) {
    PutLe(zip, 0x04034b50, 4);
    PutSharedFields(zip, record);
    zip.insert(zip.end(), record.name.begin(), record.name.end());
}

void PutDirectory(Bytes& zip, const std::vector<ZipRecord>& records) {
    const std::uint64_t directoryOffset = zip.size();
    for (const ZipRecord& record : records) {
        PutLe(zip, 0x02014b50, 4);
        PutLe(zip, 20, 2);  // made by
        PutSharedFields(zip, record);
        PutLe(zip, 0, 2);  // comment
        PutLe(zip, 0, 2);  // disk
        PutLe(zip, 0, 2);  // internal attributes
        PutLe(zip, 0, 4);  // external attributes
        PutLe(zip, record.offset, 4);
        zip.insert(zip.end(), record.name.begin(), record.name.end());
    }
    const std::uint64_t directorySize = zip.size() - directoryOffset;
    PutLe(zip, 0x06054b50, 4);
    PutLe(zip, 0, 2);
    PutLe(zip, 0, 2);
    PutLe(zip, records.size(), 2);
    PutLe(zip, records.size(), 2);
    PutLe(zip, directorySize, 4);
    PutLe(zip, directoryOffset, 4);
    PutLe(zip, 0, 2);
}

// Appends the local header and deflated data of the item; gives the record for the directory.
ZipRecord PutEntry(Bytes& zip, const ZipItem& item) {
    ZipRecord record;
    record.name = item.name;
    ContentSums sums;
    sums.Add(item.bytes);
    const std::uint8_t zero[1] = {0};
    sums.Add(zero, item.zeroPadding);
    record.crc = static_cast<std::uint32_t>(sums.crc);
    record.size = sums.size;
    record.offset = zip.size();
    const Bytes packed = DeflateRepeated(item.bytes, zero, item.zeroPadding, {}, DeflateWrapper::Raw);
    record.packed = packed.size();
    PutLocalHeader(zip, record);
    Append(zip, packed);
    return record;
}

std::uint64_t ReadLe(const Bytes& bytes, std::size_t at, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
    return value;
}

std::span<const std::uint8_t> Text(const char* text) {
    return {reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)};
}

// A named tag's type and name, as NBT stores them.
void PutTag(Bytes& out, std::uint8_t type, const char* name) {
    out.push_back(type);
    PutBe(out, std::strlen(name), 2);
    Append(out, Text(name));
}

Bytes SchematicStart() {
    Bytes start;
    PutTag(start, 10, "Schematic");
    return start;
}

// The sizes and blocks of a building of one block of id 1, and the root's end.
Bytes OneBlockSchematicEnd() {
    Bytes end;
    for (const char* size : {"Width", "Length", "Height"}) {
        PutTag(end, 2, size);
        PutBe(end, 1, 2);
    }
    PutTag(end, 7, "Blocks");
    PutBe(end, 1, 4);
    end.push_back(1);
    end.push_back(0);
    return end;
}

// Where each marker segment of a JPEG starts, in file order, with its marker byte.
std::vector<std::pair<std::uint8_t, std::size_t>> JpegMarkers(const Bytes& jpeg) {
    std::vector<std::pair<std::uint8_t, std::size_t>> markers;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const std::uint8_t marker = jpeg[at + 1];
        markers.push_back({marker, at});
        if (marker == 0xD9)
            break;
        at += 2 + static_cast<std::size_t>((jpeg[at + 2] << 8) | jpeg[at + 3]);
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker other than a stuffed zero or a restart.
        while (at + 1 < jpeg.size() &&
               !(jpeg[at] == 0xFF && jpeg[at + 1] != 0 && (jpeg[at + 1] < 0xD0 || jpeg[at + 1] > 0xD7)))
            ++at;
    }
    return markers;
}

Bytes RandomBytes(std::size_t count) {
    std::mt19937 random(20240611);
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// Pictures after pictures until their pixels are far beyond the budget of a 1 MB archive,
// then random bytes that bring the archive up to 1 MB.
Bytes BudgetFillingPack(const Bytes& picture, const char* stem, const char* extension) {
    std::vector<ZipItem> items;
    for (int i = 1; i <= 16; ++i)
        items.push_back({stem + std::to_string(100 + i) + extension, picture});
    const std::size_t pictures = DeflatedZip(items).size();
    const std::size_t target = 1000 * 1000;
    items.push_back({"padding_000.bin", RandomBytes(target - std::min(target - 4096, pictures) - 400)});
    return DeflatedZip(items);
}

// Flat pictures of 512 to 2048 pixels, the most pixels a megabyte can carry in pictures that
// are decoded whole, up to as many entries as a pack may have, the rest of 1 MB random bytes.
Bytes FlatPicturesPack() {
    constexpr int kSides[] = {512, 512, 512, 1024, 2048};
    std::vector<ZipItem> items;
    std::size_t estimate = 0;
    for (int i = 1; i < 4096 && estimate < 900 * 1000; ++i) {
        const int side = kSides[i % 5];
        items.push_back({HugeEntryName(i), SolidPng(side, Rgba{static_cast<std::uint8_t>(i), 90, 200, 255})});
        estimate += items.back().bytes.size() / 2 + 120;
    }
    const std::size_t pictures = DeflatedZip(items).size();
    const std::size_t target = 1000 * 1000;
    items.push_back({"padding_000.bin", RandomBytes(target - std::min(target - 4096, pictures) - 400)});
    return DeflatedZip(items);
}

}  // namespace

Bytes DeflateRepeated(std::span<const std::uint8_t> head, std::span<const std::uint8_t> unit, std::uint64_t repeats,
                      std::span<const std::uint8_t> tail, DeflateWrapper wrapper) {
    // Units are grouped into chunks far longer than deflate's 32 KB window. Once a chunk has
    // been compressed after another, the window it sees is the same every time, so a chunk
    // ended by a sync flush compresses to the same bytes every time and can be copied.
    const std::uint64_t unitsPerChunk = unit.empty() ? 1 : std::max<std::uint64_t>(1, (1u << 20) / unit.size());
    Bytes chunk;
    for (std::uint64_t i = 0; i < unitsPerChunk && !unit.empty(); ++i)
        Append(chunk, unit);
    std::uint64_t chunks = unit.empty() ? 0 : repeats / unitsPerChunk;
    if (chunks < 3)
        chunks = 0;
    Bytes rest;
    for (std::uint64_t i = 0; i < repeats - chunks * unitsPerChunk; ++i)
        Append(rest, unit);
    Append(rest, tail);

    RawDeflater deflater;
    ContentSums sums;
    sums.Add(head);
    Bytes raw = deflater.Feed(head, Z_NO_FLUSH);
    if (chunks > 0) {
        Append(raw, deflater.Feed(chunk, Z_SYNC_FLUSH));
        const Bytes steady = deflater.Feed(chunk, Z_SYNC_FLUSH);
        if (deflater.Feed(chunk, Z_SYNC_FLUSH) != steady)
            Broken("a chunk compresses differently each time");
        for (std::uint64_t i = 1; i < chunks; ++i)
            Append(raw, steady);
        sums.Add(chunk, chunks);
    }
    Append(raw, deflater.Feed(rest, Z_FINISH));
    sums.Add(rest);
    return Wrapped(raw, sums, wrapper);
}

Bytes HugeListSchematic(std::uint32_t count) {
    Bytes head = SchematicStart();
    PutTag(head, 9, "Entities");
    head.push_back(10);
    PutBe(head, count, 4);
    const std::uint8_t emptyCompound[1] = {0};
    return DeflateRepeated(head, emptyCompound, count, OneBlockSchematicEnd(), DeflateWrapper::Gzip);
}

Bytes ManyTagsSchematic(std::uint32_t count) {
    const std::uint8_t byteTag[4] = {1, 0, 0, 0};
    return DeflateRepeated(SchematicStart(), byteTag, count, OneBlockSchematicEnd(), DeflateWrapper::Gzip);
}

Bytes LargeDataSchematic(std::uint32_t count) {
    Bytes head = SchematicStart();
    PutTag(head, 7, "Data");
    PutBe(head, count, 4);
    const std::uint8_t zero[1] = {0};
    return DeflateRepeated(head, zero, count, OneBlockSchematicEnd(), DeflateWrapper::Gzip);
}

Bytes SolidPng(int side, Rgba colour) {
    const std::size_t rowBytes = static_cast<std::size_t>(side) * 4 + 1;
    // The first row filtered by "Sub": the colour, then differences of zero. Every further
    // row filtered by "Up": zeros.
    Bytes firstRow(rowBytes, 0);
    firstRow[0] = 1;
    firstRow[1] = colour.r;
    firstRow[2] = colour.g;
    firstRow[3] = colour.b;
    firstRow[4] = colour.a;
    Bytes otherRow(rowBytes, 0);
    otherRow[0] = 2;

    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe(header, static_cast<std::uint64_t>(side), 4);
    PutBe(header, static_cast<std::uint64_t>(side), 4);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace
    PutPngChunk(png, "IHDR", header);
    PutPngChunk(png, "IDAT",
                DeflateRepeated(firstRow, otherRow, static_cast<std::uint64_t>(side - 1), {}, DeflateWrapper::Zlib));
    PutPngChunk(png, "IEND", {});
    return png;
}

Bytes WithTextChunks(const Bytes& png, int chunks, std::uint32_t textBytes) {
    // The first chunk, IHDR, ends 33 bytes in; the text goes right after it.
    constexpr std::size_t kAfterHeader = 33;
    Bytes text(Text("Comment").begin(), Text("Comment").end());
    text.insert(text.end(), {0, 0});  // the keyword's end, and compression method 0
    const std::uint8_t letter[1] = {'a'};
    Append(text, DeflateRepeated({}, letter, textBytes, {}, DeflateWrapper::Zlib));
    Bytes out(png.begin(), png.begin() + kAfterHeader);
    for (int i = 0; i < chunks; ++i)
        PutPngChunk(out, "zTXt", text);
    out.insert(out.end(), png.begin() + kAfterHeader, png.end());
    return out;
}

Bytes ProgressiveJpeg(int side, Rgba colour, int extraScans) {
    const Bytes jpeg = EncodeProgressiveJpeg(Image(side, side, colour));
    // The second scan with the tables it uses: from the first marker after the first scan
    // to the first after the second.
    const auto markers = JpegMarkers(jpeg);
    std::vector<std::size_t> scans;
    for (std::size_t i = 0; i < markers.size(); ++i)
        if (markers[i].first == 0xDA)
            scans.push_back(i);
    if (scans.size() < 3)
        Broken("a progressive JPEG of fewer than three scans");
    const std::size_t from = markers[scans[0] + 1].second;
    const std::size_t to = markers[scans[1] + 1].second;
    const auto at = [&](std::size_t offset) { return jpeg.begin() + static_cast<std::ptrdiff_t>(offset); };
    Bytes out(jpeg.begin(), at(to));
    for (int i = 0; i < extraScans; ++i)
        out.insert(out.end(), at(from), at(to));
    out.insert(out.end(), at(to), jpeg.end());
    return out;
}

Bytes DeflatedZip(const std::vector<ZipItem>& items) {
    Bytes zip;
    std::vector<ZipRecord> records;
    for (const ZipItem& item : items)
        records.push_back(PutEntry(zip, item));
    PutDirectory(zip, records);
    return zip;
}

Bytes Bzip2Zip(const std::vector<ZipItem>& items) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        Broken("zip_open_from_source");
    std::vector<Bytes> contents;
    for (const ZipItem& item : items) {
        Bytes content = item.bytes;
        content.resize(content.size() + item.zeroPadding);
        contents.push_back(std::move(content));
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        zip_source_t* data = zip_source_buffer(archive, contents[i].data(), contents[i].size(), 0);
        const zip_int64_t index = zip_file_add(archive, items[i].name.c_str(), data, ZIP_FL_ENC_UTF_8);
        if (index < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_BZIP2, 9) != 0)
            Broken("bzip2 entries");
    }
    if (zip_close(archive) != 0)
        Broken("zip_close");
    Bytes bytes = TakeZipSourceBytes(target);
    zip_error_fini(&error);
    return bytes;
}

std::string HugeEntryName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "huge_%04d_%03d.png", index, index % 1000);
    return name;
}

Bytes RepeatOnlyEntry(const Bytes& oneEntryZip, int count) {
    // The end record (no comment) gives the directory; its first record describes the entry.
    const std::size_t end = oneEntryZip.size() - 22;
    if (ReadLe(oneEntryZip, end, 4) != 0x06054b50)
        Broken("an archive with a comment");
    const std::size_t directory = static_cast<std::size_t>(ReadLe(oneEntryZip, end + 16, 4));
    ZipRecord record;
    record.method = static_cast<std::uint16_t>(ReadLe(oneEntryZip, directory + 10, 2));
    record.crc = static_cast<std::uint32_t>(ReadLe(oneEntryZip, directory + 16, 4));
    record.packed = ReadLe(oneEntryZip, directory + 20, 4);
    record.size = ReadLe(oneEntryZip, directory + 24, 4);
    record.offset = ReadLe(oneEntryZip, directory + 42, 4);
    Bytes zip(oneEntryZip.begin(), oneEntryZip.begin() + static_cast<std::ptrdiff_t>(directory));
    std::vector<ZipRecord> records;
    for (int i = 1; i <= count; ++i) {
        record.name = HugeEntryName(i);
        records.push_back(record);
    }
    PutDirectory(zip, records);
    return zip;
}

std::vector<HostileFile> HostileSchematics() {
    return {{"huge-list", HugeListSchematic(500'000'000)},
            {"many-tags", ManyTagsSchematic((1u << 24) - 8)},
            {"large-data", LargeDataSchematic(250'000'000)}};
}

namespace {

// A Sponge schematic's start: its version, data version and sizes, then a palette of the
// given states.
Bytes SpongeStart(int width, int height, int length, const std::vector<std::string>& states) {
    Bytes start = SchematicStart();
    PutTag(start, 3, "Version");
    PutBe(start, 2, 4);
    PutTag(start, 3, "DataVersion");
    PutBe(start, 3465, 4);
    for (const auto& [name, size] : {std::pair{"Width", width}, std::pair{"Height", height}, std::pair{"Length", length}}) {
        PutTag(start, 2, name);
        PutBe(start, static_cast<std::uint64_t>(size), 2);
    }
    PutTag(start, 10, "Palette");
    for (std::size_t index = 0; index < states.size(); ++index) {
        PutTag(start, 3, states[index].c_str());
        PutBe(start, index, 4);
    }
    start.push_back(0);
    return start;
}

// The largest building, every cell of the one state, as one byte of block data each.
Bytes LargestOneStateSponge(const std::string& state) {
    constexpr std::uint32_t kCells = 512u * 512u * 256u;
    Bytes head = SpongeStart(512, 256, 512, {state});
    PutTag(head, 7, "BlockData");
    PutBe(head, kCells, 4);
    const std::uint8_t zero[1] = {0};
    const Bytes end{0};
    return DeflateRepeated(head, zero, kCells, end, DeflateWrapper::Gzip);
}

// A palette of `count` states no pack knows, each mapped on its own, and one cell of each.
Bytes ManyStatesSponge(int count) {
    std::vector<std::string> states;
    for (int i = 0; i < count; ++i)
        states.push_back("minecraft:granite_stairs_" + std::to_string(i) + "[facing=east,half=top]");
    Bytes body = SpongeStart(count, 1, 1, states);
    PutTag(body, 7, "BlockData");
    Bytes data;
    for (int i = 0; i < count; ++i)
        for (std::uint32_t value = static_cast<std::uint32_t>(i);; value >>= 7) {
            data.push_back(static_cast<std::uint8_t>((value & 0x7F) | (value >= 0x80 ? 0x80 : 0)));
            if (value < 0x80)
                break;
        }
    PutBe(body, data.size(), 4);
    Append(body, data);
    body.push_back(0);
    return DeflateRepeated(body, {}, 0, {}, DeflateWrapper::Gzip);
}

// A Litematica schematic's root up to its regions: version 6 and a data version.
Bytes LitematicRoot() {
    Bytes root;
    PutTag(root, 10, "");
    PutTag(root, 3, "Version");
    PutBe(root, 6, 4);
    PutTag(root, 3, "MinecraftDataVersion");
    PutBe(root, 3465, 4);
    PutTag(root, 10, "Regions");
    return root;
}

// A region's tags up to its BlockStates' count: at the origin, of the given sizes, with a
// palette of the given states.
Bytes LitematicRegionStart(const char* name, int width, int height, int length, const std::vector<std::string>& states) {
    Bytes start;
    PutTag(start, 10, name);
    for (const auto& [tag, vector] : {std::pair{"Position", std::array{0, 0, 0}},
                                      std::pair{"Size", std::array{width, height, length}}}) {
        PutTag(start, 10, tag);
        for (std::size_t axis = 0; axis < 3; ++axis) {
            PutTag(start, 3, axis == 0 ? "x" : axis == 1 ? "y" : "z");
            PutBe(start, static_cast<std::uint32_t>(vector[axis]), 4);
        }
        start.push_back(0);
    }
    PutTag(start, 9, "BlockStatePalette");
    start.push_back(10);
    PutBe(start, states.size(), 4);
    for (const std::string& state : states) {
        PutTag(start, 8, "Name");
        PutBe(start, state.size(), 2);
        Append(start, Text(state.c_str()));
        start.push_back(0);
    }
    PutTag(start, 12, "BlockStates");
    return start;
}

Bytes LitematicStart(int width, int height, int length, const std::vector<std::string>& states) {
    Bytes start = LitematicRoot();
    Append(start, LitematicRegionStart("Hostile", width, height, length, states));
    return start;
}

// The region's, the regions' and the root's ends.
const Bytes kLitematicEnd{0, 0, 0};

// The largest building, every cell entry 1 of a palette of air and one state at 2 bits an
// entry: 4 million longs of 0x5555....
Bytes LargestOneStateLitematic() {
    constexpr std::uint32_t kLongs = 512u * 512u * 256u * 2u / 64u;
    Bytes head = LitematicStart(512, 256, 512, {"minecraft:air", "minecraft:stone"});
    PutBe(head, kLongs, 4);
    const Bytes unit(8, 0x55);
    return DeflateRepeated(head, unit, kLongs, kLitematicEnd, DeflateWrapper::Gzip);
}

// The largest building with the largest palette, 8192 states no pack knows, at 13 bits an
// entry: the most longs a file may hold, every entry the first state.
Bytes MostLongsLitematic() {
    constexpr std::uint32_t kLongs = 512u * 512u * 256u * 13u / 64u;
    std::vector<std::string> states;
    for (int i = 0; i < 8192; ++i)
        states.push_back("minecraft:granite_stairs_" + std::to_string(i));
    Bytes head = LitematicStart(512, 256, 512, states);
    PutBe(head, kLongs, 4);
    const Bytes unit(8, 0);
    return DeflateRepeated(head, unit, kLongs, kLitematicEnd, DeflateWrapper::Gzip);
}

// Three regions of the largest building, one over the other, every cell of stone: as many
// cells as the longs a file may hold allow at 2 bits an entry, each placed where no later
// region put one. One gzip member a region.
Bytes OverlappingRegionsLitematic() {
    constexpr std::uint32_t kLongs = 512u * 512u * 256u * 2u / 64u;
    const Bytes unit(8, 0x55);
    Bytes file;
    for (int region = 0; region < 3; ++region) {
        Bytes head = region == 0 ? LitematicRoot() : Bytes{0};  // the previous region's end
        Append(head, LitematicRegionStart(("Layer" + std::to_string(region)).c_str(), 512, 256, 512,
                                          {"minecraft:air", "minecraft:stone"}));
        PutBe(head, kLongs, 4);
        Append(file, DeflateRepeated(head, unit, kLongs, region == 2 ? kLitematicEnd : Bytes{}, DeflateWrapper::Gzip));
    }
    return file;
}

// A region whose BlockStates claim the most longs a long array can, and hold none of them.
Bytes ClaimsMostLongsLitematic() {
    Bytes body = LitematicStart(512, 256, 512, {"minecraft:air", "minecraft:stone"});
    PutBe(body, 0x7FFFFFFFu, 4);
    return DeflateRepeated(body, {}, 0, {}, DeflateWrapper::Gzip);
}

}  // namespace

std::vector<HostileFile> HostileSpongeSchematics() {
    return {{"largest-exact", LargestOneStateSponge("minecraft:stone")},
            {"largest-approximated", LargestOneStateSponge("minecraft:granite_slab[type=top,waterlogged=false]")},
            {"many-states", ManyStatesSponge(512)}};
}

std::vector<HostileFile> HostileLitematics() {
    return {{"largest-one-state", LargestOneStateLitematic()},
            {"most-longs", MostLongsLitematic()},
            {"overlapping-regions", OverlappingRegionsLitematic()},
            {"claims-most-longs", ClaimsMostLongsLitematic()}};
}

std::vector<HostileFile> HostilePacks() {
    constexpr std::uint64_t kLargestEntry = 64ull << 20;
    const Bytes huge = SolidPng(8192, Rgba{200, 120, 40, 255});
    std::vector<ZipItem> hugeItems;
    for (int i = 1; i <= 48; ++i)
        hugeItems.push_back({HugeEntryName(i), huge});
    const Bytes texts = WithTextChunks(SolidPng(16, Rgba{1, 2, 3, 255}), 100, 7'900'000);
    return {
        {"huge-pictures", DeflatedZip(hugeItems)},
        {"huge-pictures-4096", RepeatOnlyEntry(DeflatedZip({{HugeEntryName(1), huge}}), 4096)},
        {"budget-png", BudgetFillingPack(SolidPng(2048, Rgba{10, 200, 10, 255}), "green_", ".png")},
        {"budget-jpeg", BudgetFillingPack(ProgressiveJpeg(2048, Rgba{10, 10, 200, 255}, 54), "blue_", ".jpg")},
        {"flat-pictures", FlatPicturesPack()},
        {"text-chunks", RepeatOnlyEntry(DeflatedZip({{HugeEntryName(1), texts}}), 4096)},
        {"repeated-scans",
         RepeatOnlyEntry(DeflatedZip({{HugeEntryName(1), ProgressiveJpeg(1024, Rgba{9, 9, 9, 255}, 5000)}}), 4096)},
        {"zip-bomb",
         RepeatOnlyEntry(DeflatedZip({{HugeEntryName(1), SolidPng(16, Rgba{}), kLargestEntry - 1024}}), 4096)},
        {"bzip2-bomb", RepeatOnlyEntry(Bzip2Zip({{HugeEntryName(1), {}, kLargestEntry}}), 4096)},
    };
}

}  // namespace stackmason::test
