#include "preview/app/ProgressPicture.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "preview/PreviewConfig.h"
#include "preview/app/PixelFont.h"

namespace orbitscope {
namespace {

using stackmason::Image;
using stackmason::Rgba;

constexpr Rgba kBackground{config::kBackgroundRed, config::kBackgroundGreen, config::kBackgroundBlue, 255};
constexpr Rgba kOutlineColour{200, 202, 222, 255};
constexpr Rgba kFillColour{96, 160, 240, 255};
constexpr Rgba kTextColour{232, 233, 245, 255};
constexpr Rgba kNameColour{150, 152, 184, 255};

constexpr std::string_view kProgramName = "Orbitscope";
constexpr double kBarShareOfWidth = 0.6;
constexpr int kBarHeight = 24;
constexpr int kOutlineThickness = 2;
constexpr int kFillInset = 4;         // the outline and a line of background inside it
constexpr int kTextScale = 3;
constexpr int kSideMargin = 8;        // text never runs closer to the picture's sides
constexpr int kTextGapAboveBar = 10;
constexpr int kNameGapAboveText = 6;

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

void FillRect(Image& image, Rect rect, Rgba colour) {
    const int x0 = std::max(rect.left, 0);
    const int y0 = std::max(rect.top, 0);
    const int x1 = std::min(rect.left + std::max(rect.width, 0), image.Width());
    const int y1 = std::min(rect.top + std::max(rect.height, 0), image.Height());
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) image.SetPixel(x, y, colour);
}

void OutlineRect(Image& image, Rect rect, int thickness, Rgba colour) {
    FillRect(image, {rect.left, rect.top, rect.width, thickness}, colour);
    FillRect(image, {rect.left, rect.top + rect.height - thickness, rect.width, thickness}, colour);
    FillRect(image, {rect.left, rect.top, thickness, rect.height}, colour);
    FillRect(image, {rect.left + rect.width - thickness, rect.top, thickness, rect.height}, colour);
}

double ClampedFraction(double fraction) {
    if (!(fraction >= 0.0)) return 0.0;  // also NaN
    return std::min(fraction, 1.0);
}

Rect BarRect(int width, int height) {
    const int barWidth = static_cast<int>(std::lround(width * kBarShareOfWidth));
    return {(width - barWidth) / 2, (height - kBarHeight) / 2, barWidth, kBarHeight};
}

void DrawBar(Image& image, Rect bar, double fraction) {
    OutlineRect(image, bar, kOutlineThickness, kOutlineColour);
    const int innerWidth = std::max(bar.width - 2 * kFillInset, 0);
    const int filled = static_cast<int>(std::lround(ClampedFraction(fraction) * innerWidth));
    FillRect(image, {bar.left + kFillInset, bar.top + kFillInset, filled, bar.height - 2 * kFillInset},
             kFillColour);
}

// The largest scale up to largest at which the text fits between the side margins; 1 when
// none does.
int FittingScale(std::string_view text, int largest, int width) {
    int scale = largest;
    while (scale > 1 && PixelTextWidth(text, scale) > width - 2 * kSideMargin) --scale;
    return scale;
}

// Draws the text centred on one line whose box ends at bottom, and gives the box's top.
// A text too wide even at scale 1 starts at the left margin, so that its beginning shows.
int DrawCentredLine(Image& image, std::string_view text, int largestScale, int bottom, Rgba colour) {
    const int scale = FittingScale(text, largestScale, image.Width());
    const int textWidth = PixelTextWidth(text, scale);
    const int left = textWidth > image.Width() - 2 * kSideMargin ? kSideMargin : (image.Width() - textWidth) / 2;
    const int top = bottom - PixelTextHeight(scale);
    DrawPixelText(image, left, top, text, scale, colour);
    return top;
}

}  // namespace

Image DrawProgressPicture(int width, int height, const ProgressView& view) {
    if (width <= 0 || height <= 0) return {};
    Image image(width, height, kBackground);
    const Rect bar = BarRect(width, height);
    DrawBar(image, bar, view.fraction);
    const int textTop = DrawCentredLine(image, view.text, kTextScale, bar.top - kTextGapAboveBar, kTextColour);
    const int nameScale = std::max(FittingScale(view.text, kTextScale, width) - 1, 1);
    DrawCentredLine(image, kProgramName, nameScale, textTop - kNameGapAboveText, kNameColour);
    return image;
}

}  // namespace orbitscope
