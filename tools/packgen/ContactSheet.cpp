#include "tools/packgen/ContactSheet.h"

#include <algorithm>
#include <string>

#include "common/TexturePackArchive.h"
#include "tools/packgen/Paint.h"

namespace packgen {
namespace {

constexpr int kColumns = 4;
constexpr int kFace = 48;  // enlarged face edge in the sheet
constexpr int kLabel = 24;
constexpr int kCellWidth = kLabel + 6 * kFace + 12;
constexpr int kCellHeight = kFace + 8;

void Checkerboard(Image& sheet, Rect r) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            sheet.SetPixel(x, y, ((x - r.x) / 6 + (y - r.y) / 6) % 2 == 0 ? Rgb(0xd8d8d8) : Rgb(0xa8a8a8));
}

// The entry enlarged to kFace pixels high, keeping its proportions, drawn by its alpha.
void DrawEntry(Image& sheet, const Image& entry, int x, int y) {
    const int width = std::min(6 * kFace, entry.Width() * kFace / std::max(1, entry.Height()));
    Checkerboard(sheet, {x, y, width, kFace});
    Over(sheet, stackmason::ScaleNearest(entry, width, kFace), x, y);
}

}  // namespace

std::optional<Image> ContactSheet(const std::string& archivePath) {
    auto pack = stackmason::TexturePackArchive::Open(archivePath);
    if (!pack)
        return std::nullopt;
    const int count = pack->EntryCount();
    const int rows = (count + kColumns - 1) / kColumns;
    Image sheet(kColumns * kCellWidth, std::max(1, rows) * kCellHeight, Rgb(0x303040));
    for (int i = 0; i < count; ++i) {
        const int x = (i % kColumns) * kCellWidth + 4, y = (i / kColumns) * kCellHeight + 4;
        Text(sheet, x, y + kFace / 2 - 5, std::to_string(i + 1).c_str(), Rgb(0xffffff), 2);
        if (const auto entry = pack->ReadEntryImage(i))
            DrawEntry(sheet, *entry, x + kLabel, y);
        else
            Fill(sheet, {x + kLabel, y, kFace, kFace}, Rgb(0xff00ff));  // undecodable: impossible to miss
    }
    return sheet;
}

}  // namespace packgen
