#include "editor/files/ModifiedUtf8.h"

#include <algorithm>
#include <cstdint>

namespace stackmason {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// A character read from a byte sequence, and how many bytes it took; 0 bytes for a byte
// that starts no sequence of the form read.
struct Decoded {
    char32_t value = 0;
    std::size_t length = 0;
};

std::uint8_t ByteAt(std::string_view text, std::size_t at) { return static_cast<std::uint8_t>(text[at]); }

bool IsContinuation(std::string_view text, std::size_t at) {
    return at < text.size() && (ByteAt(text, at) & 0xC0) == 0x80;
}

bool IsHighSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDBFF; }
bool IsLowSurrogate(char32_t value) { return value >= 0xDC00 && value <= 0xDFFF; }

// Strict UTF-8 of one character: no overlong forms, no surrogates, nothing past U+10FFFF.
Decoded DecodeUtf8(std::string_view text, std::size_t at) {
    const std::uint8_t lead = ByteAt(text, at);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }
    if (at + 1 >= text.size() || ByteAt(text, at + 1) < low || ByteAt(text, at + 1) > high)
        return {};
    char32_t value = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(text, at + i))
            return {};
        value = value << 6 | (ByteAt(text, at + i) & 0x3F);
    }
    return {value, length};
}

// One UTF-16 unit of modified UTF-8, read as the game's own Java reader reads it.
Decoded DecodeModifiedUnit(std::string_view bytes, std::size_t at) {
    const std::uint8_t lead = ByteAt(bytes, at);
    if (lead < 0x80)
        return {lead, 1};
    if ((lead & 0xE0) == 0xC0 && IsContinuation(bytes, at + 1))
        return {static_cast<char32_t>((lead & 0x1F) << 6 | (ByteAt(bytes, at + 1) & 0x3F)), 2};
    if ((lead & 0xF0) == 0xE0 && IsContinuation(bytes, at + 1) && IsContinuation(bytes, at + 2))
        return {static_cast<char32_t>((lead & 0x0F) << 12 | (ByteAt(bytes, at + 1) & 0x3F) << 6 |
                                      (ByteAt(bytes, at + 2) & 0x3F)),
                3};
    return {};
}

void AppendUnit(std::string& out, char32_t unit) {
    if (unit != 0 && unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | unit >> 6);
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | unit >> 12);
        out += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

std::size_t UnitBytes(char32_t unit) { return unit != 0 && unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3; }

std::size_t ModifiedBytes(char32_t value) { return value > 0xFFFF ? 6 : UnitBytes(value); }

void AppendModified(std::string& out, char32_t value) {
    if (value <= 0xFFFF) {
        AppendUnit(out, value);
        return;
    }
    const char32_t offset = value - 0x10000;
    AppendUnit(out, 0xD800 + (offset >> 10));
    AppendUnit(out, 0xDC00 + (offset & 0x3FF));
}

void AppendUtf8(std::string& out, char32_t value) {
    if (value < 0x80) {
        out += static_cast<char>(value);  // a NUL stays one byte in the program's strings
    } else if (value <= 0xFFFF) {
        AppendUnit(out, value);
    } else {
        out += static_cast<char>(0xF0 | value >> 18);
        out += static_cast<char>(0x80 | (value >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (value >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
}

// The character of modified UTF-8 at `at`: a surrogate pair as one, a lone surrogate or a
// malformed byte as U+FFFD over one unit or one byte.
Decoded DecodeModified(std::string_view bytes, std::size_t at) {
    if (ByteAt(bytes, at) >= 0xF0) {
        const Decoded plain = DecodeUtf8(bytes, at);
        return plain.length > 0 ? plain : Decoded{kReplacement, 1};
    }
    const Decoded unit = DecodeModifiedUnit(bytes, at);
    if (unit.length == 0)
        return {kReplacement, 1};
    if (IsLowSurrogate(unit.value))
        return {kReplacement, unit.length};
    if (!IsHighSurrogate(unit.value))
        return unit;
    if (at + unit.length < bytes.size()) {
        const Decoded next = DecodeModifiedUnit(bytes, at + unit.length);
        if (next.length > 0 && IsLowSurrogate(next.value))
            return {0x10000 + ((unit.value - 0xD800) << 10) + (next.value - 0xDC00), unit.length + next.length};
    }
    return {kReplacement, unit.length};
}

}  // namespace

bool IsPlainNbtText(std::string_view text) {
    return text.size() <= kMaxNbtStringBytes &&
           std::all_of(text.begin(), text.end(), [](char c) { return c != 0 && static_cast<std::uint8_t>(c) < 0x80; });
}

std::string ToModifiedUtf8(std::string_view text) {
    if (IsPlainNbtText(text))
        return std::string(text);
    std::string out;
    out.reserve(std::min(text.size() + text.size() / 2, kMaxNbtStringBytes));
    for (std::size_t at = 0; at < text.size();) {
        Decoded next = DecodeUtf8(text, at);
        if (next.length == 0)
            next = {kReplacement, 1};
        // Only a name can be this long (a file's name in Metadata); states are far shorter.
        if (out.size() + ModifiedBytes(next.value) > kMaxNbtStringBytes)
            break;
        AppendModified(out, next.value);
        at += next.length;
    }
    return out;
}

std::string FromModifiedUtf8(std::string_view bytes) {
    if (IsAscii(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const Decoded next = DecodeModified(bytes, at);
        AppendUtf8(out, next.value);
        at += next.length;
    }
    return out;
}

}  // namespace stackmason
