#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace stackmason {

// Where an encoder hands a file's bytes, a block at a time and in file order, so that the
// whole file never needs to be held at once.
using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// Gathers an encoder's small pieces into blocks for a sink, so that the sink is called once a
// block rather than once a row.
class BlockedOutput {
public:
    // As large as the safe writer's own buffer, so that it writes each block without a copy.
    static constexpr std::size_t kBlockBytes = 1 << 20;

    explicit BlockedOutput(const ByteSink& sink)
        : sink_(sink), block_(std::make_unique_for_overwrite<std::uint8_t[]>(kBlockBytes)) {}
    BlockedOutput(const BlockedOutput&) = delete;
    BlockedOutput& operator=(const BlockedOutput&) = delete;

    // Room for `count` bytes (at most a block), to be filled by the caller at once.
    std::uint8_t* Reserve(std::size_t count) {
        assert(count <= kBlockBytes);
        if (used_ + count > kBlockBytes)
            Flush();
        std::uint8_t* room = block_.get() + used_;
        used_ += count;
        return room;
    }
    void Put(std::string_view text) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        if (text.size() > kBlockBytes) {
            Flush();
            sink_({bytes, text.size()});
            return;
        }
        std::memcpy(Reserve(text.size()), bytes, text.size());
    }
    // Hands what was gathered to the sink; the encoder calls it at its end.
    void Flush() {
        if (used_ > 0)
            sink_({block_.get(), used_});
        used_ = 0;
    }

private:
    const ByteSink& sink_;
    std::unique_ptr<std::uint8_t[]> block_;
    std::size_t used_ = 0;
};

}  // namespace stackmason
