#pragma once

#include <cstdint>

#include "common/Image.h"

namespace stackmason {

// Colours of the canvas surface before anything is painted on it.
inline constexpr Rgba kCanvasBlank{255, 255, 255, 255};

// A surface of opaque pixels that keeps them between paints. Every paint but the label puts
// one 32 x 32 picture at a cell position; `key` names the picture (the same key always comes
// with the same pixels until Forget), so a surface may share composed cells.
class PixelSurface {
public:
    virtual ~PixelSurface() = default;
    // Keeps the pixels that stay inside; new pixels are blank.
    virtual void Resize(int width, int height) = 0;
    // Draws picture over cell (column, row) by its alpha, scaled by opacity / 255.
    virtual void DrawTile(int column, int row, const Image& picture, std::int32_t key, int opacity) = 0;
    // Copies an opaque picture with its top-left corner at pixel (x, y).
    virtual void DrawOpaque(int x, int y, const Image& picture, std::int32_t key) = 0;
    // The pictures behind the keys have changed.
    virtual void ForgetKeys() = 0;
    // Bracket a paint of many cells. A surface that tells a widget what changed may tell it
    // once, at the end, instead of once per cell: marking a screen area dirty costs more than
    // drawing a cell. Brackets may nest; only the outermost end reports.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
};

// Keeps a surface's batch open for the life of the object.
class SurfaceBatch {
public:
    explicit SurfaceBatch(PixelSurface& surface) : surface_(surface) { surface_.BeginBatch(); }
    ~SurfaceBatch() { surface_.EndBatch(); }
    SurfaceBatch(const SurfaceBatch&) = delete;
    SurfaceBatch& operator=(const SurfaceBatch&) = delete;

private:
    PixelSurface& surface_;
};

// out = picture over background with alpha a, all in 0..255, rounded to nearest.
inline std::uint8_t BlendChannel(int over, int under, int alpha) {
    return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

inline Rgba BlendPixel(Rgba over, Rgba under, int opacity) {
    const int alpha = (over.a * opacity + 127) / 255;
    return {BlendChannel(over.r, under.r, alpha), BlendChannel(over.g, under.g, alpha),
            BlendChannel(over.b, under.b, alpha), 255};
}

}  // namespace stackmason
