// The building file reader against a plain, line-by-line reading of the same rules: the
// reader's word-at-a-time line search and its grouping of layers must not change what a
// file gives, whatever the bytes.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/BuildingReader.h"
#include "common/Constants.h"
#include "common/NumberParser.h"
#include "fuzz/FuzzSupport.h"

namespace {

using stackmason::Building;

// Lines end at CR, LF, CR LF or NUL; past the end every line is empty.
struct PlainLines {
    std::string_view text;
    std::size_t at = 0;

    bool AtEnd() const { return at >= text.size(); }
    std::string_view Next() {
        if (AtEnd())
            return {};
        std::size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n' && text[end] != '\0')
            ++end;
        const std::string_view line = text.substr(at, end - at);
        at = end;
        if (at < text.size())
            at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
        return line;
    }
};

// Leading decimal number after blanks, tabs and a sign, saturating at the 32-bit ends.
std::int32_t PlainDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{1} << 40);
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

struct PlainFile {
    std::int32_t sizes[3] = {0, 0, 0};
    std::string pack;
    Building grid;
};

PlainFile ReadPlainly(std::string_view text, bool& tooLarge) {
    PlainLines lines{text};
    PlainFile file;
    const std::string_view header = lines.Next();
    lines.Next();
    const std::size_t semicolon = header.find(';');
    file.pack = std::string(semicolon == std::string_view::npos ? header : header.substr(semicolon + 1));
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    for (;;) {
        const std::size_t x = header.find('x', from);
        fields.push_back(header.substr(from, x == std::string_view::npos ? std::string_view::npos : x - from));
        if (x == std::string_view::npos)
            break;
        from = x + 1;
    }
    for (std::size_t i = 0; i < 3 && i < fields.size(); ++i)
        file.sizes[i] = PlainDecimal(fields[i]);

    const int width = std::clamp(file.sizes[0], 0, stackmason::kMaxGridWidth);
    const int length = std::clamp(file.sizes[1], 0, stackmason::kMaxGridLength);
    const int height = std::clamp(file.sizes[2], 0, stackmason::kMaxGridHeight);
    // Large grids are right by the clamp alone; reading them for every input would only slow
    // the search down.
    tooLarge = std::uint64_t(width + 1) * (length + 1) * (height + 1) > (1u << 16);
    if (tooLarge)
        return file;
    file.grid = Building(width, length, height);
    for (int h = 1; h <= height && !lines.AtEnd(); ++h) {
        lines.Next();
        for (int y = 1; !lines.AtEnd(); ++y) {
            const std::string_view row = lines.Next();
            if (row.size() != static_cast<std::size_t>(width))
                break;
            if (y > length)
                continue;
            for (int x = 1; x <= width; ++x)
                file.grid.At(x, y, h) = static_cast<std::uint8_t>(row[x - 1]) - stackmason::kCellByteOffset;
        }
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using stackmason::fuzz::Require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    bool tooLarge = false;
    const PlainFile expected = ReadPlainly(text, tooLarge);

    stackmason::LineReader headerLines(std::span(data, size));
    const stackmason::BuildingHeader header = stackmason::ReadHeader(headerLines);
    Require(header.width == expected.sizes[0] && header.length == expected.sizes[1] &&
                header.height == expected.sizes[2],
            "header sizes");
    Require(header.packName == expected.pack, "pack name");
    if (tooLarge)
        return -1;

    const stackmason::BuildingFile file = stackmason::ReadBuildingFile(std::span(data, size));
    Require(file.header.packName == expected.pack, "pack name of the whole file");
    Require(file.grid == expected.grid, "cells");
    return 0;
}
