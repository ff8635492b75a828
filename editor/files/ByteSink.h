#pragma once

#include <cstdint>
#include <span>

namespace stackmason {

// Where the file writers put their bytes, in order: a file being saved, or memory.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace stackmason
