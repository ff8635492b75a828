#include "editor/packs/BuiltInPictures.h"

#include "common/Constants.h"

namespace stackmason {
namespace {

constexpr Rgba kAirFill{0x06, 0x69, 0xB2, 255};
constexpr Rgba kAirBorder{0x05, 0x55, 0x90, 255};
constexpr Rgba kAirCorner{0x04, 0x46, 0x77, 255};
constexpr Rgba kPlaceholderFill{0xA7, 0x45, 0x45, 255};
constexpr Rgba kPlaceholderCross{0x40, 0x10, 0x10, 255};

}  // namespace

Image AirImage() {
    constexpr int side = 16;
    Image small(side, side, kAirFill);
    for (int i = 0; i < side; ++i) {
        small.SetPixel(i, 0, kAirBorder);
        small.SetPixel(i, side - 1, kAirBorder);
        small.SetPixel(0, i, kAirBorder);
        small.SetPixel(side - 1, i, kAirBorder);
    }
    for (int corner : {0, side - 1}) {
        small.SetPixel(corner, 0, kAirCorner);
        small.SetPixel(corner, side - 1, kAirCorner);
    }
    return ScaleNearest(small, kTileSize, kTileSize);
}

Image PlaceholderImage() {
    Image image(kTileSize, kTileSize, kPlaceholderFill);
    for (int i = 4; i < kTileSize - 4; ++i) {
        image.SetPixel(i, i, kPlaceholderCross);
        image.SetPixel(kTileSize - 1 - i, i, kPlaceholderCross);
    }
    return image;
}

}  // namespace stackmason
