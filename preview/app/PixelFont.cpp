#include "preview/app/PixelFont.h"

#include <algorithm>
#include <array>
#include <climits>

namespace orbitscope {
namespace {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;
constexpr int kAdvanceX = 6;
constexpr int kAdvanceY = 9;
constexpr unsigned char kFirstCode = 32;
constexpr unsigned char kLastCode = 126;

// One row per byte, top to bottom; bit 4 is the leftmost column.
using Glyph = std::array<std::uint8_t, kGlyphRows>;

constexpr std::array<Glyph, kLastCode - kFirstCode + 1> kGlyphs{{
    {0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b00000},  // space
    {0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00000, 0b00100},  // !
    {0b01010, 0b01010, 0b01010, 0b00000, 0b00000, 0b00000, 0b00000},  // "
    {0b01010, 0b01010, 0b11111, 0b01010, 0b11111, 0b01010, 0b01010},  // #
    {0b00100, 0b01111, 0b10100, 0b01110, 0b00101, 0b11110, 0b00100},  // $
    {0b11000, 0b11001, 0b00010, 0b00100, 0b01000, 0b10011, 0b00011},  // %
    {0b01100, 0b10010, 0b10100, 0b01000, 0b10101, 0b10010, 0b01101},  // &
    {0b00100, 0b00100, 0b01000, 0b00000, 0b00000, 0b00000, 0b00000},  // apostrophe
    {0b00010, 0b00100, 0b01000, 0b01000, 0b01000, 0b00100, 0b00010},  // (
    {0b01000, 0b00100, 0b00010, 0b00010, 0b00010, 0b00100, 0b01000},  // )
    {0b00000, 0b00100, 0b10101, 0b01110, 0b10101, 0b00100, 0b00000},  // *
    {0b00000, 0b00100, 0b00100, 0b11111, 0b00100, 0b00100, 0b00000},  // +
    {0b00000, 0b00000, 0b00000, 0b00000, 0b01100, 0b00100, 0b01000},  // ,
    {0b00000, 0b00000, 0b00000, 0b11111, 0b00000, 0b00000, 0b00000},  // -
    {0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b01100, 0b01100},  // .
    {0b00000, 0b00001, 0b00010, 0b00100, 0b01000, 0b10000, 0b00000},  // /
    {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110},  // 0
    {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},  // 1
    {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111},  // 2
    {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110},  // 3
    {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010},  // 4
    {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110},  // 5
    {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110},  // 6
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000},  // 7
    {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110},  // 8
    {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100},  // 9
    {0b00000, 0b01100, 0b01100, 0b00000, 0b01100, 0b01100, 0b00000},  // :
    {0b00000, 0b01100, 0b01100, 0b00000, 0b01100, 0b00100, 0b01000},  // ;
    {0b00010, 0b00100, 0b01000, 0b10000, 0b01000, 0b00100, 0b00010},  // <
    {0b00000, 0b00000, 0b11111, 0b00000, 0b11111, 0b00000, 0b00000},  // =
    {0b01000, 0b00100, 0b00010, 0b00001, 0b00010, 0b00100, 0b01000},  // >
    {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b00000, 0b00100},  // ?
    {0b01110, 0b10001, 0b00001, 0b01101, 0b10101, 0b10101, 0b01110},  // @
    {0b01110, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001},  // A
    {0b11110, 0b10001, 0b10001, 0b11110, 0b10001, 0b10001, 0b11110},  // B
    {0b01110, 0b10001, 0b10000, 0b10000, 0b10000, 0b10001, 0b01110},  // C
    {0b11100, 0b10010, 0b10001, 0b10001, 0b10001, 0b10010, 0b11100},  // D
    {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111},  // E
    {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b10000},  // F
    {0b01110, 0b10001, 0b10000, 0b10111, 0b10001, 0b10001, 0b01111},  // G
    {0b10001, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001},  // H
    {0b01110, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},  // I
    {0b00111, 0b00010, 0b00010, 0b00010, 0b00010, 0b10010, 0b01100},  // J
    {0b10001, 0b10010, 0b10100, 0b11000, 0b10100, 0b10010, 0b10001},  // K
    {0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b11111},  // L
    {0b10001, 0b11011, 0b10101, 0b10101, 0b10001, 0b10001, 0b10001},  // M
    {0b10001, 0b10001, 0b11001, 0b10101, 0b10011, 0b10001, 0b10001},  // N
    {0b01110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110},  // O
    {0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000, 0b10000},  // P
    {0b01110, 0b10001, 0b10001, 0b10001, 0b10101, 0b10010, 0b01101},  // Q
    {0b11110, 0b10001, 0b10001, 0b11110, 0b10100, 0b10010, 0b10001},  // R
    {0b01111, 0b10000, 0b10000, 0b01110, 0b00001, 0b00001, 0b11110},  // S
    {0b11111, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100},  // T
    {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110},  // U
    {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01010, 0b00100},  // V
    {0b10001, 0b10001, 0b10001, 0b10101, 0b10101, 0b10101, 0b01010},  // W
    {0b10001, 0b10001, 0b01010, 0b00100, 0b01010, 0b10001, 0b10001},  // X
    {0b10001, 0b10001, 0b01010, 0b00100, 0b00100, 0b00100, 0b00100},  // Y
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b10000, 0b11111},  // Z
    {0b01110, 0b01000, 0b01000, 0b01000, 0b01000, 0b01000, 0b01110},  // [
    {0b00000, 0b10000, 0b01000, 0b00100, 0b00010, 0b00001, 0b00000},  // backslash
    {0b01110, 0b00010, 0b00010, 0b00010, 0b00010, 0b00010, 0b01110},  // ]
    {0b00100, 0b01010, 0b10001, 0b00000, 0b00000, 0b00000, 0b00000},  // ^
    {0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b11111},  // _
    {0b01000, 0b00100, 0b00010, 0b00000, 0b00000, 0b00000, 0b00000},  // `
    {0b00000, 0b00000, 0b01110, 0b00001, 0b01111, 0b10001, 0b01111},  // a
    {0b10000, 0b10000, 0b10110, 0b11001, 0b10001, 0b10001, 0b11110},  // b
    {0b00000, 0b00000, 0b01110, 0b10000, 0b10000, 0b10001, 0b01110},  // c
    {0b00001, 0b00001, 0b01101, 0b10011, 0b10001, 0b10001, 0b01111},  // d
    {0b00000, 0b00000, 0b01110, 0b10001, 0b11111, 0b10000, 0b01110},  // e
    {0b00110, 0b01001, 0b01000, 0b11100, 0b01000, 0b01000, 0b01000},  // f
    {0b00000, 0b00000, 0b01111, 0b10001, 0b01111, 0b00001, 0b01110},  // g
    {0b10000, 0b10000, 0b10110, 0b11001, 0b10001, 0b10001, 0b10001},  // h
    {0b00100, 0b00000, 0b01100, 0b00100, 0b00100, 0b00100, 0b01110},  // i
    {0b00010, 0b00000, 0b00110, 0b00010, 0b00010, 0b10010, 0b01100},  // j
    {0b10000, 0b10000, 0b10010, 0b10100, 0b11000, 0b10100, 0b10010},  // k
    {0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},  // l
    {0b00000, 0b00000, 0b11010, 0b10101, 0b10101, 0b10001, 0b10001},  // m
    {0b00000, 0b00000, 0b10110, 0b11001, 0b10001, 0b10001, 0b10001},  // n
    {0b00000, 0b00000, 0b01110, 0b10001, 0b10001, 0b10001, 0b01110},  // o
    {0b00000, 0b00000, 0b11110, 0b10001, 0b11110, 0b10000, 0b10000},  // p
    {0b00000, 0b00000, 0b01111, 0b10001, 0b01111, 0b00001, 0b00001},  // q
    {0b00000, 0b00000, 0b10110, 0b11001, 0b10000, 0b10000, 0b10000},  // r
    {0b00000, 0b00000, 0b01110, 0b10000, 0b01110, 0b00001, 0b11110},  // s
    {0b01000, 0b01000, 0b11100, 0b01000, 0b01000, 0b01001, 0b00110},  // t
    {0b00000, 0b00000, 0b10001, 0b10001, 0b10001, 0b10011, 0b01101},  // u
    {0b00000, 0b00000, 0b10001, 0b10001, 0b10001, 0b01010, 0b00100},  // v
    {0b00000, 0b00000, 0b10001, 0b10001, 0b10101, 0b10101, 0b01010},  // w
    {0b00000, 0b00000, 0b10001, 0b01010, 0b00100, 0b01010, 0b10001},  // x
    {0b00000, 0b00000, 0b10001, 0b10001, 0b01111, 0b00001, 0b01110},  // y
    {0b00000, 0b00000, 0b11111, 0b00010, 0b00100, 0b01000, 0b11111},  // z
    {0b00010, 0b00100, 0b00100, 0b01000, 0b00100, 0b00100, 0b00010},  // {
    {0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100},  // |
    {0b01000, 0b00100, 0b00100, 0b00010, 0b00100, 0b00100, 0b01000},  // }
    {0b00000, 0b00000, 0b01000, 0b10101, 0b00010, 0b00000, 0b00000},  // ~
}};

constexpr Glyph kUnknownGlyph{0b11111, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b11111};

const Glyph& GlyphOf(unsigned char code) {
    if (code < kFirstCode || code > kLastCode) return kUnknownGlyph;
    return kGlyphs[code - kFirstCode];
}

bool IsContinuationByte(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

// Calls draw once per shown character with its code; a non-ASCII character is one UTF-8
// sequence, so that a name with an accent shows one box per letter, not one per byte.
template <typename Draw>
void ForEachCharacter(std::string_view text, Draw draw) {
    bool inSequence = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (inSequence && IsContinuationByte(byte)) continue;
        inSequence = byte >= 0x80;
        draw(byte);
    }
}

std::int64_t CharacterCount(std::string_view text) {
    std::int64_t count = 0;
    ForEachCharacter(text, [&count](unsigned char) { ++count; });
    return count;
}

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

void FillClippedRect(stackmason::Image& image, std::int64_t left, std::int64_t top, int side,
                     stackmason::Rgba colour) {
    const auto x0 = std::max<std::int64_t>(left, 0);
    const auto y0 = std::max<std::int64_t>(top, 0);
    const auto x1 = std::min<std::int64_t>(left + side, image.Width());
    const auto y1 = std::min<std::int64_t>(top + side, image.Height());
    for (auto y = y0; y < y1; ++y)
        for (auto x = x0; x < x1; ++x) image.SetPixel(static_cast<int>(x), static_cast<int>(y), colour);
}

void DrawGlyph(stackmason::Image& image, std::int64_t x, std::int64_t y, const Glyph& glyph,
               int scale, stackmason::Rgba colour) {
    for (int row = 0; row < kGlyphRows; ++row)
        for (int column = 0; column < kGlyphColumns; ++column)
            if (glyph[row] & (1u << (kGlyphColumns - 1 - column)))
                FillClippedRect(image, x + std::int64_t{column} * scale,
                                y + std::int64_t{row} * scale, scale, colour);
}

}  // namespace

int PixelTextWidth(std::string_view text, int scale) {
    if (scale < 1) return 0;
    return ClampToInt(CharacterCount(text) * kAdvanceX * scale);
}

int PixelTextHeight(int scale) {
    if (scale < 1) return 0;
    return ClampToInt(std::int64_t{kAdvanceY} * scale);
}

void DrawPixelText(stackmason::Image& image, int x, int y, std::string_view text, int scale,
                   stackmason::Rgba colour) {
    if (scale < 1) return;
    std::int64_t left = x;
    const std::int64_t step = std::int64_t{kAdvanceX} * scale;
    ForEachCharacter(text, [&](unsigned char code) {
        // Glyphs wholly right of the image cannot show.
        if (left >= image.Width()) return;
        if (left + step > 0) DrawGlyph(image, left, y, GlyphOf(code), scale, colour);
        left += step;
    });
}

std::string GroupedNumber(std::int64_t n) {
    // The magnitude in unsigned arithmetic, where the most negative number has one too.
    std::uint64_t magnitude = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) reversed.push_back(',');
        reversed.push_back(static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
        ++digits;
    } while (magnitude != 0);
    if (n < 0) reversed.push_back('-');
    return {reversed.rbegin(), reversed.rend()};
}

}  // namespace orbitscope
