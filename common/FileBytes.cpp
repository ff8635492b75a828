#include "common/FileBytes.h"

#include <fstream>

namespace stackmason {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::uint64_t maxBytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > maxBytes)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        return std::nullopt;
    return bytes;
}

}  // namespace stackmason
