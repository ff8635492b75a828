#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stackmason {

// The whole content of the file at path, or nothing when it cannot be opened or read, or
// when it is larger than maxBytes (checked before anything is allocated).
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::uint64_t maxBytes);

}  // namespace stackmason
