#pragma once

#include <cstdint>
#include <string_view>

namespace stackmason {

// Reads the leading number of text: blanks and tabs are skipped, then an optional "+" or "-",
// then "$" and hexadecimal digits, "%" and binary digits, or decimal digits, up to the first
// other character. Text that does not start with a number gives 0. Values beyond the 32-bit
// range saturate at its ends.
std::int32_t ParseNumber(std::string_view text);

// Like ParseNumber, but decimal only: "$" and "%" are not number prefixes here.
std::int32_t ParseDecimal(std::string_view text);

}  // namespace stackmason
