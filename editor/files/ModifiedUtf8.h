#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace stackmason {

// NBT strings, tag names and string payloads alike, are Java's "modified UTF-8": U+0000 is
// the two bytes C0 80, and a character beyond U+FFFF is its UTF-16 surrogate pair with each
// surrogate in three bytes. A reader that holds to the form refuses a whole file over one
// four-byte sequence, so every string goes through these conversions on its way in and out.

// The most bytes an NBT string can have: its length is an unsigned 16-bit number.
inline constexpr std::size_t kMaxNbtStringBytes = 65535;

// True when the text's bytes are already its modified UTF-8: ASCII without NUL, short
// enough to fit. Lets writers pass the common case through untouched.
bool IsPlainNbtText(std::string_view text);

// The program's UTF-8 text as modified UTF-8. Each byte that starts no valid UTF-8 sequence
// (a file name from a system of another encoding) becomes U+FFFD, so the result is always
// valid. Text longer than kMaxNbtStringBytes once encoded is cut at the last whole character
// that fits.
std::string ToModifiedUtf8(std::string_view text);

// Modified UTF-8 from a file as the program's UTF-8: C0 80 becomes a NUL byte, a surrogate
// pair its four-byte form, and a lone surrogate or a malformed byte U+FFFD. A well-formed
// four-byte sequence, which some writers put in place of a surrogate pair, is kept.
std::string FromModifiedUtf8(std::string_view bytes);

}  // namespace stackmason
