#include <gtest/gtest.h>

#include <random>

#include "editor/canvas/CanvasRepaint.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Views.h"
#include "editor/packs/BuiltInPictures.h"
#include "tests/editor/support/EditorFixture.h"

namespace stackmason {
namespace {

using testing::FakeDialogs;
using testing::FakeWindow;

// The plain retained surface the tile canvas stands in for: every pixel stored.
class ReferenceSurface final : public PixelSurface {
public:
    void Resize(int width, int height) override {
        Image resized(width, height, kCanvasBlank);
        for (int y = 0; y < std::min(height, pixels.Height()); ++y)
            for (int x = 0; x < std::min(width, pixels.Width()); ++x)
                resized.SetPixel(x, y, pixels.Pixel(x, y));
        pixels = resized;
    }
    void DrawTile(int column, int row, const Image& picture, std::int32_t, int opacity) override {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                Blend(column * 32 + x, row * 32 + y, picture.Pixel(x, y), opacity);
    }
    void DrawOpaque(int x0, int y0, const Image& picture, std::int32_t) override {
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                if (Inside(x0 + x, y0 + y))
                    pixels.SetPixel(x0 + x, y0 + y, {picture.Pixel(x, y).r, picture.Pixel(x, y).g, picture.Pixel(x, y).b, 255});
    }
    void ForgetKeys() override {}

    Image pixels;

private:
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < pixels.Width() && y < pixels.Height(); }
    void Blend(int x, int y, Rgba over, int opacity) {
        if (Inside(x, y))
            pixels.SetPixel(x, y, BlendPixel(over, pixels.Pixel(x, y), opacity));
    }
};

// Hands every paint to both surfaces.
class TeeSurface final : public PixelSurface {
public:
    TeeSurface(PixelSurface& a, PixelSurface& b) : a_(a), b_(b) {}
    void Resize(int w, int h) override { a_.Resize(w, h), b_.Resize(w, h); }
    void DrawTile(int c, int r, const Image& p, std::int32_t k, int o) override {
        a_.DrawTile(c, r, p, k, o);
        b_.DrawTile(c, r, p, k, o);
    }
    void DrawOpaque(int x, int y, const Image& p, std::int32_t k) override {
        a_.DrawOpaque(x, y, p, k);
        b_.DrawOpaque(x, y, p, k);
    }
    void ForgetKeys() override { a_.ForgetKeys(), b_.ForgetKeys(); }

private:
    PixelSurface& a_;
    PixelSurface& b_;
};

Image Solid(Rgba colour) { return Image(32, 32, colour); }

// A see-through picture: a clear middle in an opaque frame.
Image Framed(Rgba colour) {
    Image image(32, 32, Rgba{colour.r, colour.g, colour.b, 60});
    for (int i = 0; i < 32; ++i)
        for (int j : {0, 1, 30, 31}) {
            image.SetPixel(i, j, colour);
            image.SetPixel(j, i, colour);
        }
    return image;
}

struct RenderFixture {
    RenderFixture() {
        renderer.Attach(editor);
        for (const Image& picture : {AirImage(), Solid({200, 30, 30, 255}), Framed({20, 200, 40, 255}),
                                     Solid({250, 250, 10, 255})})
            editor.selector.Add("block", picture);
    }
    void Make(int width, int length, int height) {
        editor.widthSpin.SetValue(width);
        editor.lengthSpin.SetValue(length);
        editor.heightSpin.SetValue(height);
        NewBuilding(editor);
        ShowRequestedRepaint(editor);
    }
    ReferenceSurface reference;
    TileCanvas tiles;
    TeeSurface tee{tiles, reference};
    CanvasRenderer renderer{tee};
    FakeWindow window;
    FakeDialogs dialogs;
    Editor editor{renderer, window, dialogs};
};

void ExpectSamePixels(const TileCanvas& tiles, const Image& reference) {
    ASSERT_EQ(tiles.Width(), reference.Width());
    ASSERT_EQ(tiles.Height(), reference.Height());
    int differences = 0;
    for (int y = 0; y < reference.Height(); ++y)
        for (int x = 0; x < reference.Width(); ++x)
            if (!(tiles.Pixel(x, y) == reference.Pixel(x, y)) && ++differences < 5)
                ADD_FAILURE() << "pixel " << x << "," << y;
    EXPECT_EQ(differences, 0);
}

TEST(Rendering, TileCanvasKeepsExactlyThePixelsOfAPlainSurface) {
    RenderFixture f;
    Editor& e = f.editor;
    std::mt19937 random(7);
    f.Make(9, 7, 6);
    for (int step = 0; step < 400; ++step) {
        const int action = static_cast<int>(random() % 10);
        const int x = 1 + static_cast<int>(random() % static_cast<unsigned>(e.grid.Width()));
        const int y = 1 + static_cast<int>(random() % static_cast<unsigned>(e.grid.Length()));
        const int h = static_cast<int>(random() % static_cast<unsigned>(e.grid.Height() + 1));
        const BlockCode code = static_cast<BlockCode>(random() % 6) - 1;  // -1 and 4 have no picture
        if (action < 5) {
            if (e.InTopView()) {
                e.grid.At(x, y, std::max(1, e.CurrentLayer())) = code;
                f.renderer.DrawCell(x, y);
            } else {
                const int p = 1 + static_cast<int>(random() % static_cast<unsigned>(e.grid.Height()));
                e.frontPlane.At(y, p) = code;
                f.renderer.DrawCell(y, p);
            }
        } else if (action == 5) {
            e.grid.At(x, y, h) = code;
        } else if (action == 6) {
            e.silhouetteOn = !e.silhouetteOn;
            f.renderer.RedrawCanvas();
        } else if (action == 7) {
            ToggleView(e);
            ShowRequestedRepaint(e);
        } else if (action == 8) {
            e.layerSpin.Step(random() % 2 ? 1 : -1);
            f.renderer.RedrawCanvas();
        } else if (random() % 8 == 0) {
            f.Make(3 + static_cast<int>(random() % 8), 2 + static_cast<int>(random() % 6), 1 + static_cast<int>(random() % 6));
        }
    }
    ExpectSamePixels(f.tiles, f.reference.pixels);
}

// A widget is told the changed area once per full repaint (marking a screen area dirty costs
// more than drawing a cell) and exactly the cell's square for a single-cell repaint.
TEST(Rendering, WidgetIsToldOnceAFullRepaintAndTheCellAloneForOneCell) {
    testing::EditorFixture f;
    Editor& e = f.editor;
    e.widthSpin.SetValue(29);
    e.lengthSpin.SetValue(20);
    e.heightSpin.SetValue(6);
    NewBuilding(e);
    ShowRequestedRepaint(e);
    e.grid.At(3, 4, 1) = 1;
    e.grid.At(3, 4, 2) = 1;
    struct Change {
        int x, y, width, height;
        bool operator==(const Change&) const = default;
    };
    std::vector<Change> changes;
    f.canvas.SetChangeListener([&](int x, int y, int width, int height) { changes.push_back({x, y, width, height}); });
    auto expectOneChange = [&](Change expected, const char* what) {
        ASSERT_EQ(changes.size(), 1u) << what;
        EXPECT_EQ(changes[0], expected) << what;
        changes.clear();
    };

    e.layerSpin.SetValue(2);
    e.silhouetteOn = true;
    f.renderer.RedrawCanvas();
    expectOneChange({0, 0, 29 * 32, 20 * 32}, "TopView with silhouette");
    f.renderer.PaintLayerCells();
    expectOneChange({0, 0, 29 * 32, 20 * 32}, "layer cells");
    f.renderer.DrawCell(3, 4);
    expectOneChange({64, 96, 32, 32}, "one cell");
    f.renderer.PaintEmptyTopView();
    expectOneChange({0, 0, 29 * 32, 20 * 32}, "empty TopView");

    ToggleView(e);
    ShowRequestedRepaint(e);
    changes.clear();
    f.renderer.RedrawCanvas();
    expectOneChange({0, 0, 20 * 32, 7 * 32}, "FrontView with silhouette");
    f.renderer.DrawCell(4, 5);
    expectOneChange({96, 128, 32, 32}, "one FrontView cell");

    // Batches nest: only the outermost end reports.
    f.canvas.BeginBatch();
    {
        const SurfaceBatch inner(f.canvas);
        f.renderer.DrawCell(1, 1);
    }
    f.renderer.DrawCell(2, 1);
    EXPECT_TRUE(changes.empty());
    f.canvas.EndBatch();
    expectOneChange({0, 0, 64, 32}, "nested batch");
}

TEST(Rendering, AirSilhouetteGroundStripAndLabelHaveTheirColours) {
    RenderFixture f;
    Editor& e = f.editor;
    f.Make(4, 3, 3);
    const TileCanvas& c = f.tiles;
    // The air picture: border #055590, corners #044677, inside #0669B2, each 2 x 2 pixels.
    EXPECT_EQ(c.Pixel(33, 33), (Rgba{0x04, 0x46, 0x77, 255}));
    EXPECT_EQ(c.Pixel(40, 33), (Rgba{0x05, 0x55, 0x90, 255}));
    EXPECT_EQ(c.Pixel(40, 40), (Rgba{0x06, 0x69, 0xB2, 255}));
    // The label: its background at (5, 5) and some text-coloured pixel near it.
    EXPECT_EQ(c.Pixel(5, 5), (Rgba{161, 161, 161, 255}));
    bool textSeen = false;
    for (int y = 5; y < 18; ++y)
        for (int x = 5; x < 30; ++x)
            textSeen |= c.Pixel(x, y) == Rgba{68, 68, 68, 255};
    EXPECT_TRUE(textSeen);
    // The margin right of the building stays blank in TopView.
    EXPECT_EQ(c.Pixel(4 * 32 + 2, 40), kCanvasBlank);

    // A block on the ground shows at 125/255 over air on layer 1 with the silhouette on.
    e.grid.At(2, 2, 0) = 1;
    e.silhouetteOn = true;
    f.renderer.RedrawCanvas();
    const Rgba air{0x06, 0x69, 0xB2, 255};
    EXPECT_EQ(c.Pixel(32 + 10, 32 + 10), BlendPixel({200, 30, 30, 255}, air, 125));
    EXPECT_EQ(c.Pixel(32 + 10, 32 + 10).r, (200 * 125 + 0x06 * 130 + 127) / 255);
    // Without it the air cell hides the layer below.
    e.silhouetteOn = false;
    f.renderer.RedrawCanvas();
    EXPECT_EQ(c.Pixel(32 + 10, 32 + 10), air);

    // FrontView: the ground row shows in the bottom 5 pixels of the canvas.
    e.grid.At(1, 3, 0) = 3;
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    EXPECT_EQ(c.Height(), 3 * 32 + 5);
    for (int y = 96; y < 101; ++y)
        EXPECT_EQ(c.Pixel(2 * 32 + 10, y), (Rgba{250, 250, 10, 255})) << y;

    // Codes without a picture draw the placeholder and the repaint goes on.
    e.grid.At(1, 1, 3) = 99;
    e.grid.At(1, 2, 3) = -5;
    e.grid.At(1, 3, 3) = 1;
    f.renderer.RedrawCanvas();
    const Rgba placeholder = PlaceholderImage().Pixel(1, 1);
    EXPECT_EQ(c.Pixel(1, 30), placeholder);
    EXPECT_EQ(c.Pixel(33, 30), placeholder);
    EXPECT_EQ(c.Pixel(65, 30), (Rgba{200, 30, 30, 255}));
}

TEST(Rendering, FrontViewSilhouetteLiesOverSliceAndLabel) {
    RenderFixture f;
    Editor& e = f.editor;
    f.Make(4, 3, 3);
    e.grid.At(2, 1, 3) = 3;  // behind the label's cell
    e.grid.At(3, 1, 3) = 1;
    e.frontViewLayer = 3;
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    e.silhouetteOn = true;
    f.renderer.RedrawCanvas();
    EXPECT_EQ(f.tiles.Pixel(5, 5), BlendPixel({250, 250, 10, 255}, {161, 161, 161, 255}, 125));
    EXPECT_EQ(f.tiles.Pixel(20, 25), BlendPixel({250, 250, 10, 255}, {200, 30, 30, 255}, 125));
    // Slice 1 has no silhouette.
    e.layerSpin.SetValue(1);
    f.renderer.RedrawCanvas();
    EXPECT_EQ(f.tiles.Pixel(20, 25), (Rgba{0x06, 0x69, 0xB2, 255}));
    EXPECT_EQ(f.window.focusCount > 0, true);
}

}  // namespace
}  // namespace stackmason
