// Draws the ground's 64 x 64 speckled grass picture, encodes it as a 24-bit RGB PNG and
// writes it as a C++ source file holding the bytes, so that the program carries its own
// picture. Usage: ground_image_generator OUTPUT.cpp
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int kSide = 64;

// A small fixed-seed generator: the same picture on every build.
class Speckles {
public:
    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int Between(int low, int high) { return low + static_cast<int>(Next() % static_cast<std::uint32_t>(high - low + 1)); }

private:
    std::uint32_t state_ = 0x9E3779B9u;
};

std::vector<std::uint8_t> DrawGrass() {
    std::vector<std::uint8_t> rgb(kSide * kSide * 3);
    Speckles random;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            // A mid green, each pixel a little lighter or darker, a few blades much lighter
            // and a few shadows much darker.
            int shade = random.Between(-14, 14);
            const int pick = random.Between(0, 99);
            if (pick < 8)
                shade += 30;
            else if (pick < 14)
                shade -= 28;
            auto clamp = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
            std::uint8_t* pixel = &rgb[(static_cast<std::size_t>(y) * kSide + x) * 3];
            pixel[0] = clamp(72 + shade * 2 / 3);
            pixel[1] = clamp(138 + shade);
            pixel[2] = clamp(44 + shade / 2);
        }
    return rgb;
}

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgb) {
    std::vector<std::uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &bytes, Append, nullptr);
    png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kSide; ++y)
        png_write_row(png, const_cast<png_bytep>(&rgb[static_cast<std::size_t>(y) * kSide * 3]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    const std::vector<std::uint8_t> png = EncodePng(DrawGrass());
    if (png.empty())
        return 1;
    std::ofstream out(argv[1], std::ios::trunc);
    out << "// Written by ground_image_generator; do not edit.\n"
           "#include \"preview/scene/GroundImage.h\"\n\n"
           "namespace orbitscope {\nnamespace {\n\nconst std::uint8_t kGroundPng[] = {";
    for (std::size_t i = 0; i < png.size(); ++i)
        out << (i % 16 == 0 ? "\n    " : " ") << static_cast<int>(png[i]) << ',';
    out << "\n};\n\n}  // namespace\n\nstd::span<const std::uint8_t> GroundImagePng() { return kGroundPng; }\n\n"
           "}  // namespace orbitscope\n";
    return out ? 0 : 1;
}
