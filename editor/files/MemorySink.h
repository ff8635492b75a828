#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "editor/files/ByteSink.h"

namespace stackmason {

// Collects everything written into one byte vector.
class MemorySink : public ByteSink {
public:
    void Write(std::span<const std::uint8_t> bytes) override { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace stackmason
