// How many pixels a second the picture decoders get through, for the kinds of picture a
// texture pack may hold: flat pictures (the most pixels per archive byte a file can carry),
// real block pictures scaled up to 512 pixels, noise, and JPEGs of every scan a picture may
// have. The pack work budget is set from these rates.
#include <benchmark/benchmark.h>

#include <random>

#include "common/ImageDecoding.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/ScaledPacks.h"
#include "tests/support/TestImages.h"

namespace stackmason {
namespace {

using Pictures = std::vector<std::vector<std::uint8_t>>;

void DecodeAll(benchmark::State& state, const Pictures& pictures) {
    std::int64_t pixels = 0;
    for (auto _ : state) {
        for (const auto& bytes : pictures) {
            const std::optional<Image> picture = DecodeImage(bytes);
            if (!picture) {
                state.SkipWithError("a picture did not decode");
                return;
            }
            pixels += std::int64_t{picture->Width()} * picture->Height();
        }
    }
    state.counters["pixels_per_s"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}

Pictures PackPictures(int height) {
    const test::ScaledPack pack = test::ScaleUpPack(STACKMASON_PACK_DIR "/stackmason.zip", height);
    Pictures pictures;
    for (const auto& picture : pack.pictures)
        if (picture)
            pictures.push_back(test::EncodePng(*picture));
    return pictures;
}

Image Noise(int side) {
    std::mt19937 random(7);
    Image image(side, side);
    for (Rgba& pixel : image.Pixels())
        pixel = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                 static_cast<std::uint8_t>(random()), 255};
    return image;
}

void FlatPng512(benchmark::State& state) { DecodeAll(state, {test::SolidPng(512, {10, 200, 10, 255})}); }
void FlatPng8192(benchmark::State& state) { DecodeAll(state, {test::SolidPng(8192, {10, 200, 10, 255})}); }
void RealPng512(benchmark::State& state) {
    static const Pictures pictures = PackPictures(512);
    DecodeAll(state, pictures);
}
void NoisePng512(benchmark::State& state) { DecodeAll(state, {test::EncodePng(Noise(512))}); }
void FlatJpeg512(benchmark::State& state) {
    DecodeAll(state, {test::EncodeJpeg(Image(512, 512, {10, 10, 200, 255}))});
}
// The standard progression's ten scans and 54 more: the most a picture may have.
void ProgressiveJpeg512(benchmark::State& state) {
    DecodeAll(state, {test::ProgressiveJpeg(512, {10, 10, 200, 255}, 54)});
}
void NoiseJpeg512(benchmark::State& state) { DecodeAll(state, {test::EncodeProgressiveJpeg(Noise(512))}); }

BENCHMARK(FlatPng512)->Unit(benchmark::kMillisecond);
BENCHMARK(FlatPng8192)->Unit(benchmark::kMillisecond);
BENCHMARK(RealPng512)->Unit(benchmark::kMillisecond);
BENCHMARK(NoisePng512)->Unit(benchmark::kMillisecond);
BENCHMARK(FlatJpeg512)->Unit(benchmark::kMillisecond);
BENCHMARK(ProgressiveJpeg512)->Unit(benchmark::kMillisecond);
BENCHMARK(NoiseJpeg512)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stackmason
