#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "editor/files/GzipOutput.h"

namespace stackmason {
namespace {

// zlib's own inflate, which knows nothing of how the stream was written.
std::vector<std::uint8_t> Gunzip(const std::vector<std::uint8_t>& gzip, std::size_t expected) {
    std::vector<std::uint8_t> out(expected + 1);
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);
    stream.next_in = const_cast<Bytef*>(gzip.data());
    stream.avail_in = static_cast<uInt>(gzip.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(stream.avail_in, 0u) << "bytes after the stream";
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return out;
}

// Stretches of noise and of long runs, several megabytes each, handed over in writes of
// mixed sizes up to a few megabytes, so that the level changes within writes as well as
// between them.
TEST(GzipOutput, InflatesToWhatWasWrittenAcrossStoredAndCompressedStretches) {
    std::mt19937 random(33);
    std::vector<std::uint8_t> input;
    const std::size_t stretches[] = {3 << 20, 5 << 20, 12 << 20, 700 << 10, 9 << 20, 1 << 20};
    for (std::size_t s = 0; s < std::size(stretches); ++s)
        for (std::size_t i = 0; i < stretches[s]; ++i)
            input.push_back(s % 2 == 0 ? static_cast<std::uint8_t>(random() % 81) : static_cast<std::uint8_t>(i / 5000));

    std::vector<std::uint8_t> gzip;
    const ByteSink sink = [&gzip](std::span<const std::uint8_t> bytes) { gzip.insert(gzip.end(), bytes.begin(), bytes.end()); };
    GzipOutput output(sink);
    std::uniform_int_distribution<std::size_t> writeBytes(1, 3 << 20);
    for (std::size_t at = 0; at < input.size();) {
        const std::size_t count = std::min(writeBytes(random), input.size() - at);
        output.Write(std::span(input).subspan(at, count));
        at += count;
    }
    output.Finish();

    ASSERT_EQ(Gunzip(gzip, input.size()), input);
    // Nothing is made larger than itself by more than its stored blocks' headers.
    EXPECT_LT(gzip.size(), input.size() + input.size() / 1000);
}

TEST(GzipOutput, ShrinksRunsManyTimesOver) {
    std::vector<std::uint8_t> input(20 << 20);
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = static_cast<std::uint8_t>(i / 3000 % 7);
    std::vector<std::uint8_t> gzip;
    const ByteSink sink = [&gzip](std::span<const std::uint8_t> bytes) { gzip.insert(gzip.end(), bytes.begin(), bytes.end()); };
    GzipOutput output(sink);
    output.Write(input);
    output.Finish();
    ASSERT_EQ(Gunzip(gzip, input.size()), input);
    EXPECT_LT(gzip.size(), input.size() / 100);
}

}  // namespace
}  // namespace stackmason
