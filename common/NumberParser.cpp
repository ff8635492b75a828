#include "common/NumberParser.h"

#include <limits>

namespace stackmason {
namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

std::int32_t ParseWithRadix(std::string_view text, bool allowPrefixes) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int radix = 10;
    if (allowPrefixes && i < text.size() && (text[i] == '$' || text[i] == '%')) {
        radix = text[i] == '$' ? 16 : 2;
        ++i;
    }
    // Accumulate past the 32-bit range only as far as needed to know it saturates.
    constexpr std::int64_t kCeiling = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && DigitValue(text[i]) < radix; ++i) {
        magnitude = magnitude * radix + DigitValue(text[i]);
        if (magnitude > kCeiling)
            magnitude = kCeiling;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t ParseNumber(std::string_view text) { return ParseWithRadix(text, true); }

std::int32_t ParseDecimal(std::string_view text) { return ParseWithRadix(text, false); }

}  // namespace stackmason
