#pragma once

#include <cstdint>

// Fixed, library-independent pseudo-randomness for the pack pictures: the same numbers on
// every machine and every build, so the packs come out byte-identical.
namespace packgen {

// Scrambles 32 bits (the "lowbias32" integer hash).
constexpr std::uint32_t Mix(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// A well-spread hash of a pixel position and a seed.
constexpr std::uint32_t Hash(int x, int y, std::uint32_t seed) {
    return Mix(seed ^ Mix(static_cast<std::uint32_t>(x) + Mix(static_cast<std::uint32_t>(y) ^ 0x9E3779B9u)));
}

// Hash scaled into [0, 1).
constexpr double Unit(int x, int y, std::uint32_t seed) {
    return static_cast<double>(Hash(x, y, seed) >> 8) / 16777216.0;
}

// Hash scaled into [-1, 1).
constexpr double Signed(int x, int y, std::uint32_t seed) { return Unit(x, y, seed) * 2.0 - 1.0; }

// Smooth value noise in [0, 1) over a square of side period that tiles seamlessly: a grid of
// cells x cells random values, blended with a smoothstep between lattice points.
double SmoothNoise(int x, int y, int period, int cells, std::uint32_t seed);

// A small xorshift generator for placing things (flecks, cells, books).
class Xorshift {
public:
    explicit Xorshift(std::uint32_t seed) : state_(Mix(seed) | 1u) {}
    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // A whole number in [0, bound), bound > 0.
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint32_t>(bound)); }
    // A whole number in [low, high].
    int Between(int low, int high) { return low + Below(high - low + 1); }

private:
    std::uint32_t state_;
};

}  // namespace packgen
