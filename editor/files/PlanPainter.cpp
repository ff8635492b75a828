#include "editor/files/PlanPainter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QIODevice>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <stdexcept>
#include <unordered_map>

#include "editor/files/BuildingFiles.h"
#include "editor/packs/BuiltInPictures.h"

namespace stackmason {
namespace {

constexpr double kMmPerInch = 25.4;
// Fine enough for lines and text; the cells' pictures carry their own resolution.
constexpr int kPdfDotsPerInch = 300;
// Up to this many blocks in a booklet each cell is its block's picture, which the PDF holds
// once per block type; beyond it a page's cells are one picture of their own, a few pixels a
// cell, so that the largest buildings still print in a minute.
constexpr std::uint64_t kLargestCellByCell = 1'500'000;
// The pixels of all pages' cell pictures together, when they are pictures.
constexpr double kRasterPixelBudget = 60'000'000;
constexpr int kLargestRasterCell = 16;
constexpr int kSmallestRasterCell = 2;

const QColor kInk(0x22, 0x22, 0x22);
const QColor kFaintInk(0x77, 0x77, 0x77);
const QColor kShadow(0xDD, 0xDD, 0xDD);
const QColor kThinLine(0xB0, 0xB0, 0xB0);
const QColor kThickLine(0x40, 0x40, 0x40);

QString Text(const std::string& text) { return QString::fromStdString(text); }

QImage AsQImage(const Image& image) {
    const QImage view(reinterpret_cast<const uchar*>(image.Pixels().data()), image.Width(), image.Height(),
                      image.Width() * 4, QImage::Format_RGBA8888);
    return view.convertToFormat(QImage::Format_RGB32);
}

// The block pictures as the pages show them, each one QImage made once, so that the PDF
// writer stores each picture once however often it is drawn.
class BlockPictures {
public:
    explicit BlockPictures(const SelectorModel& selector) : selector_(selector) {}

    const QImage& Of(BlockCode code) { return EntryOf(code).picture; }
    QRgb Average(BlockCode code) { return EntryOf(code).average; }
    // The picture scaled to `pixels` on a side, without smoothing.
    const QImage& Scaled(BlockCode code, int pixels) {
        Entry& entry = EntryOf(code);
        if (entry.scaled.width() != pixels)
            entry.scaled = entry.picture.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        return entry.scaled;
    }

private:
    struct Entry {
        QImage picture;
        QImage scaled;
        QRgb average = 0;
    };

    Entry& EntryOf(BlockCode code) {
        const auto found = entries_.find(code);
        if (found != entries_.end())
            return found->second;
        Entry entry;
        const bool known = code > 0 && code < selector_.Count() && selector_.IsBlockPicture(code);
        // Air is printed white: paper shows the blocks better without the canvas's blue.
        entry.picture = code == 0 ? QImage(32, 32, QImage::Format_RGB32)
                                  : AsQImage(known ? selector_.ShownImage(code) : PlaceholderImage());
        if (code == 0)
            entry.picture.fill(Qt::white);
        entry.average = AverageOf(entry.picture);
        return entries_.emplace(code, std::move(entry)).first->second;
    }

    static QRgb AverageOf(const QImage& image) {
        std::uint64_t r = 0, g = 0, b = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                r += qRed(pixel);
                g += qGreen(pixel);
                b += qBlue(pixel);
            }
        const std::uint64_t n = std::max<std::uint64_t>(1, static_cast<std::uint64_t>(image.width()) * image.height());
        return qRgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
    }

    const SelectorModel& selector_;
    std::unordered_map<BlockCode, Entry> entries_;
};

// Single lines shaped once and drawn as glyphs as often as needed: a booklet repeats its block
// names, numbers and headings on thousands of pages, and shaping them anew each time would take
// much of its time. (QStaticText would not help: the PDF writer lays it out again.)
struct Lettering {
    struct Line {
        QList<QGlyphRun> runs;
        QSizeF size;
    };
    QString fontKey;
    std::unordered_map<QString, Line> laidOut;

    const Line& Of(const QFont& font, QPaintDevice* device, const QString& text) {
        const QString key = fontKey + QChar(0x1f) + text;
        const auto found = laidOut.find(key);
        if (found != laidOut.end())
            return found->second;
        QTextLayout layout(text, font, device);
        layout.beginLayout();
        QTextLine textLine = layout.createLine();
        layout.endLayout();
        Line line;
        if (textLine.isValid()) {
            line.runs = layout.glyphRuns();
            line.size = QSizeF(textLine.naturalTextWidth(), textLine.height());
        }
        return laidOut.emplace(key, std::move(line)).first->second;
    }
};

// A page's device and how millimetres map onto it.
struct Sheet {
    QPainter& painter;
    double unitsPerMm;
    Lettering& lettering;

    double U(double mm) const { return mm * unitsPerMm; }
    QRectF R(double x, double y, double width, double height) const { return {U(x), U(y), U(width), U(height)}; }
    QRectF R(const PageRectMm& rect) const { return R(rect.x, rect.y, rect.width, rect.height); }
    void Font(double points, bool bold = false) const {
        QFont font("Liberation Sans");
        font.setPointSizeF(points);
        font.setBold(bold);
        painter.setFont(font);
        lettering.fontKey = QString::number(points) + (bold ? "b" : "");
    }
    void Pen(const QColor& colour, double widthMm) const {
        QPen pen(colour);
        pen.setWidthF(U(widthMm));
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
    }
    void Write(const PageRectMm& rect, int flags, const QString& text) const { Line(R(rect), flags, text); }
    // One line of text placed in `rect` as drawText places it with these alignment flags.
    void Line(const QRectF& rect, int flags, const QString& text) const {
        const Lettering::Line& line = lettering.Of(painter.font(), painter.device(), text);
        const QSizeF size = line.size;
        double x = rect.left();
        if (flags & Qt::AlignRight)
            x = rect.right() - size.width();
        else if (flags & Qt::AlignHCenter)
            x = rect.center().x() - size.width() / 2;
        double y = rect.top();
        if (flags & Qt::AlignVCenter)
            y = rect.center().y() - size.height() / 2;
        else if (flags & Qt::AlignBottom)
            y = rect.bottom() - size.height();
        for (const QGlyphRun& run : line.runs)
            painter.drawGlyphRun(QPointF(x, y), run);
    }
};

// The plane's cells as the canvas lays them out, as LayerPlans numbers them.
BlockCode CellOf(const Building& grid, bool topView, int plane, int column, int row) {
    return topView ? grid.Cell(column, row, plane) : grid.Cell(plane, column, grid.Height() + 1 - row);
}

// The cell the shadow comes from: the layer below (the ground for layer 1) in TopView, the
// slice before in FrontView (none for slice 1).
BlockCode ShadowOf(const Building& grid, bool topView, int plane, int column, int row) {
    if (plane <= 1)
        return 0;
    return CellOf(grid, topView, plane - 1, column, row);
}

// ---- The cells of a plane page ----

std::uint64_t BlocksOnPages(const LayerPlan& plan, const Building& grid) {
    std::uint64_t blocks = 0;
    for (const PlanPage& page : plan.pages)
        for (int row = page.cells.row; row < page.cells.row + page.cells.rows; ++row)
            for (int column = page.cells.column; column < page.cells.column + page.cells.columns; ++column)
                blocks += CellOf(grid, plan.topView, page.plane, column, row) != 0;
    return blocks;
}

// The pixels a cell gets when the pages' cells are pictures of their own.
int RasterCellPixels(const LayerPlan& plan) {
    double cells = 0;
    for (const PlanPage& page : plan.pages)
        cells += static_cast<double>(page.cells.columns) * page.cells.rows;
    const double fitting = std::floor(std::sqrt(kRasterPixelBudget / std::max(1.0, cells)));
    return std::clamp(static_cast<int>(fitting), kSmallestRasterCell, kLargestRasterCell);
}

// The page's cells as one picture, `pixels` a cell: blocks as their pictures, air white, air
// over a block of the plane below grey.
QImage CellRaster(const LayerPlan& plan, const PlanPage& page, const Building& grid, BlockPictures& pictures,
                  int pixels) {
    QImage raster(page.cells.columns * pixels, page.cells.rows * pixels, QImage::Format_RGB32);
    const int stride = static_cast<int>(raster.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<QRgb*>(raster.bits());
    for (int r = 0; r < page.cells.rows; ++r)
        for (int c = 0; c < page.cells.columns; ++c) {
            const int column = page.cells.column + c, row = page.cells.row + r;
            const BlockCode code = CellOf(grid, plan.topView, page.plane, column, row);
            QRgb* cell = bits + static_cast<std::ptrdiff_t>(r) * pixels * stride + c * pixels;
            if (code != 0) {
                const QImage& picture = pictures.Scaled(code, pixels);
                for (int y = 0; y < pixels; ++y)
                    std::copy_n(reinterpret_cast<const QRgb*>(picture.constScanLine(y)), pixels, cell + y * stride);
                continue;
            }
            const QRgb fill = ShadowOf(grid, plan.topView, page.plane, column, row) != 0 ? kShadow.rgb() : qRgb(255, 255, 255);
            for (int y = 0; y < pixels; ++y)
                std::fill_n(cell + y * stride, pixels, fill);
        }
    return raster;
}

// Each cell its block's picture; the shadow as grey runs along each row.
void DrawCellByCell(const Sheet& sheet, const LayerPlan& plan, const PlanPage& page, const Building& grid,
                    BlockPictures& pictures, const QRectF& cells) {
    const double size = sheet.U(page.cellMm);
    for (int r = 0; r < page.cells.rows; ++r) {
        const int row = page.cells.row + r;
        const double top = cells.top() + r * size;
        int shadowStart = -1;
        for (int c = 0; c <= page.cells.columns; ++c) {
            const int column = page.cells.column + c;
            const bool inside = c < page.cells.columns;
            const BlockCode code = inside ? CellOf(grid, plan.topView, page.plane, column, row) : 0;
            const bool shadow = inside && code == 0 && ShadowOf(grid, plan.topView, page.plane, column, row) != 0;
            if (!shadow && shadowStart >= 0) {
                sheet.painter.fillRect(QRectF(cells.left() + shadowStart * size, top, (c - shadowStart) * size, size),
                                       kShadow);
                shadowStart = -1;
            }
            if (shadow && shadowStart < 0)
                shadowStart = c;
            if (code != 0)
                sheet.painter.drawImage(QRectF(cells.left() + c * size, top, size, size), pictures.Of(code));
        }
    }
}

// Thin lines between all cells, strong ones every 5 cells of the plane's own numbering. Each
// kind goes as one batch, which the PDF writer writes as one path.
void DrawGridLines(const Sheet& sheet, const PlanPage& page, const QRectF& cells, bool topView, int height) {
    const double size = sheet.U(page.cellMm);
    for (const bool thick : {false, true}) {
        std::vector<QLineF> lines;
        for (int c = 0; c <= page.cells.columns; ++c) {
            const int before = page.cells.column + c - 1;  // the column left of the line
            const bool strong = before % 5 == 0 || c == 0 || c == page.cells.columns;
            const double x = cells.left() + c * size;
            if (strong == thick)
                lines.emplace_back(QPointF(x, cells.top()), QPointF(x, cells.bottom()));
        }
        for (int r = 0; r <= page.cells.rows; ++r) {
            // TopView counts y down, FrontView h up: a line is strong where the count reaches 5.
            const int above = page.cells.row + r - 1;
            const bool fifth = topView ? above % 5 == 0 : (height + 1 - (above + 1)) % 5 == 0;
            const bool strong = fifth || r == 0 || r == page.cells.rows;
            const double y = cells.top() + r * size;
            if (strong == thick)
                lines.emplace_back(QPointF(cells.left(), y), QPointF(cells.right(), y));
        }
        sheet.Pen(thick ? kThickLine : kThinLine, thick ? 0.3 : 0.08);
        sheet.painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
}

// Every fifth cell is numbered, and the page's first one unless the next fifth is too close to
// leave it room. `number` counts the way the page runs (negated where it counts down).
bool Numbered(int number, int index) {
    const int rest = ((number % 5) + 5) % 5;
    return rest == 0 || (index == 0 && rest <= 2);
}

// The coordinates every 5 cells on all four edges: x across and y down in TopView, y across
// and h up in FrontView, as the text format numbers cells.
void DrawCoordinates(const Sheet& sheet, const PlanPage& page, const QRectF& cells, bool topView, int height,
                     double band) {
    const double size = sheet.U(page.cellMm);
    const double bandUnits = sheet.U(band);
    sheet.Font(6);
    sheet.painter.setPen(kInk);
    for (int c = 0; c < page.cells.columns; ++c) {
        const int number = page.cells.column + c;
        if (!Numbered(number, c))
            continue;
        const double x = cells.left() + c * size;
        const QString text = QString::number(number);
        const QRectF above(x - size, cells.top() - bandUnits, 3 * size, bandUnits);
        const QRectF below(x - size, cells.bottom(), 3 * size, bandUnits);
        sheet.Line(above, Qt::AlignHCenter | Qt::AlignVCenter, text);
        sheet.Line(below, Qt::AlignHCenter | Qt::AlignVCenter, text);
    }
    for (int r = 0; r < page.cells.rows; ++r) {
        const int row = page.cells.row + r;
        const int number = topView ? row : height + 1 - row;
        if (!Numbered(topView ? number : -number, r))
            continue;
        const double y = cells.top() + r * size;
        const QString text = QString::number(number);
        const QRectF left(cells.left() - bandUnits, y - size, bandUnits * 0.9, 3 * size);
        const QRectF right(cells.right() + bandUnits * 0.1, y - size, bandUnits, 3 * size);
        sheet.Line(left, Qt::AlignRight | Qt::AlignVCenter, text);
        sheet.Line(right, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void DrawTileMap(const Sheet& sheet, const PlanPage& page, const PageRectMm& area) {
    if (page.tileColumns * page.tileRows <= 1)
        return;
    const double cell = std::min(area.width / page.tileColumns, (area.height - 4) / page.tileRows);
    const double left = area.x + area.width - cell * page.tileColumns;
    sheet.Font(5);
    sheet.painter.setPen(kInk);
    // Level with the title, so that the page reads "Layer 4 ... tile 2 of 6".
    sheet.painter.drawText(sheet.R(left - 22, area.y, 20, area.height), Qt::AlignRight | Qt::AlignVCenter,
                           QString("tile %1 of %2")
                               .arg(page.tileRow * page.tileColumns + page.tileColumn + 1)
                               .arg(page.tileColumns * page.tileRows));
    sheet.painter.fillRect(sheet.R(left + page.tileColumn * cell, area.y + page.tileRow * cell, cell, cell),
                           kThickLine);
    std::vector<QLineF> lines;
    const double top = sheet.U(area.y), bottom = sheet.U(area.y + page.tileRows * cell);
    const double leftEdge = sheet.U(left), rightEdge = sheet.U(left + page.tileColumns * cell);
    for (int c = 0; c <= page.tileColumns; ++c)
        lines.emplace_back(QPointF(sheet.U(left + c * cell), top), QPointF(sheet.U(left + c * cell), bottom));
    for (int r = 0; r <= page.tileRows; ++r)
        lines.emplace_back(QPointF(leftEdge, sheet.U(area.y + r * cell)), QPointF(rightEdge, sheet.U(area.y + r * cell)));
    sheet.Pen(kFaintInk, 0.1);
    sheet.painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

std::string PlaneWord(const LayerPlan& plan) { return plan.topView ? "layer" : "slice"; }

void DrawLegend(const Sheet& sheet, const LayerPlan& plan, const PlanPage& page, BlockPictures& pictures,
                const PageRectMm& area) {
    constexpr double kHeaderMm = 5;
    constexpr double kColumnWidthMm = 64;
    const int columns = std::max(1, static_cast<int>(area.width / kColumnWidthMm));
    const double columnWidth = area.width / columns;
    const int rowsWanted = static_cast<int>((page.legend.size() + columns - 1) / columns);
    // Rows shrink to fit the legend's box, down to a size still readable.
    const double rowHeight = std::clamp((area.height - kHeaderMm) / std::max(1, rowsWanted), 3.2, 5.0);
    const int rowsFitting = std::max(1, static_cast<int>((area.height - kHeaderMm) / rowHeight));
    const std::size_t shown = std::min(page.legend.size(), static_cast<std::size_t>(rowsFitting) * columns);
    const QString onPlane = Text("on this " + PlaneWord(plan));
    sheet.painter.setPen(kInk);
    const int columnsUsed = static_cast<int>((shown + rowsFitting - 1) / rowsFitting);
    for (int c = 0; c < std::max(1, columnsUsed); ++c) {
        const double x = area.x + c * columnWidth;
        sheet.Font(6.5, true);
        sheet.Write({x + rowHeight + 1, area.y, columnWidth * 0.5, kHeaderMm}, Qt::AlignLeft | Qt::AlignVCenter,
                    "Block");
        sheet.Write({x + columnWidth * 0.55, area.y, columnWidth * 0.22, kHeaderMm}, Qt::AlignRight | Qt::AlignVCenter,
                    onPlane);
        sheet.Write({x + columnWidth * 0.77, area.y, columnWidth * 0.21, kHeaderMm}, Qt::AlignRight | Qt::AlignVCenter,
                    "up to here");
    }
    const double fontPoints = std::min(7.5, rowHeight * 2.0);
    sheet.Font(fontPoints);
    for (std::size_t index = 0; index < shown; ++index) {
        const PlanLegendRow& row = page.legend[index];
        const int column = static_cast<int>(index) / rowsFitting;
        const int line = static_cast<int>(index) % rowsFitting;
        const double x = area.x + column * columnWidth;
        const double y = area.y + kHeaderMm + line * rowHeight;
        const double picture = rowHeight - 0.4;
        sheet.painter.drawImage(sheet.R(x, y + 0.2, picture, picture), pictures.Of(row.code));
        sheet.Write({x + rowHeight + 1, y, columnWidth * 0.55 - rowHeight - 1.5, rowHeight},
                    Qt::AlignLeft | Qt::AlignVCenter, Text(*row.name));
        sheet.Write({x + columnWidth * 0.55, y, columnWidth * 0.22, rowHeight}, Qt::AlignRight | Qt::AlignVCenter,
                    QString::number(row.onPlane));
        sheet.Write({x + columnWidth * 0.77, y, columnWidth * 0.21, rowHeight}, Qt::AlignRight | Qt::AlignVCenter,
                    QString::number(row.upToPlane));
    }
    if (shown < page.legend.size()) {
        sheet.Font(6, true);
        sheet.Write({area.x, area.y + area.height - 3, area.width, 3}, Qt::AlignRight | Qt::AlignVCenter,
                    QString("and %1 more blocks").arg(page.legend.size() - shown));
    }
}

// How a page's cells are drawn: a picture per cell, or the page's cells as one picture of
// `rasterPixels` a cell.
struct CellDrawing {
    bool cellByCell = true;
    int rasterPixels = 0;
};

void PaintPlanePage(const Sheet& sheet, const LayerPlan& plan, const PlanPage& page, const Building& grid,
                    BlockPictures& pictures, const CellDrawing& drawing) {
    const PlanPageLayout layout = PageLayout(plan.settings.paper, page.landscape);
    sheet.painter.setPen(kInk);
    sheet.Font(26, true);
    sheet.Write(layout.title, Qt::AlignLeft | Qt::AlignVCenter, Text(page.title));
    sheet.Font(7);
    sheet.painter.setPen(kFaintInk);
    const int lastColumn = page.cells.column + page.cells.columns - 1;
    const int lastRow = page.cells.row + page.cells.rows - 1;
    const QString across = plan.topView ? "x" : "y";
    const QString down = plan.topView ? QString("y %1 to %2").arg(page.cells.row).arg(lastRow)
                                      : QString("h %1 to %2").arg(plan.height + 1 - lastRow).arg(plan.height + 1 - page.cells.row);
    sheet.painter.drawText(sheet.R(layout.title.x + 55, layout.title.y, 80, layout.title.height), Qt::AlignLeft | Qt::AlignVCenter,
                QString("%1\n%2 %3 to %4, %5")
                    .arg(Text(plan.buildingName))
                    .arg(across)
                    .arg(page.cells.column)
                    .arg(lastColumn)
                    .arg(down));
    DrawTileMap(sheet, page, layout.tileMap);

    const QRectF cells(sheet.U(layout.grid.x), sheet.U(layout.grid.y), sheet.U(page.cells.columns * page.cellMm),
                       sheet.U(page.cells.rows * page.cellMm));
    if (drawing.cellByCell) {
        DrawCellByCell(sheet, plan, page, grid, pictures, cells);
    } else {
        const QImage raster = CellRaster(plan, page, grid, pictures, drawing.rasterPixels);
        sheet.painter.drawImage(cells, raster);
    }
    DrawGridLines(sheet, page, cells, plan.topView, plan.height);
    DrawCoordinates(sheet, page, cells, plan.topView, plan.height, layout.numberBandMm);
    DrawLegend(sheet, plan, page, pictures, layout.legend);
}

// ---- The cover ----

constexpr double kCoverMarginMm = 15;
constexpr double kOverviewTopMm = 48;
constexpr double kOverviewHeightMm = 95;
constexpr double kMaterialRowMm = 4.6;

PlanPageLayout CoverLayout(const LayerPlan& plan) { return PageLayout(plan.settings.paper, false); }

double FirstTableTop() { return kOverviewTopMm + kOverviewHeightMm + 8; }

int RowsOnCoverPage(const LayerPlan& plan, int page) {
    const double height = CoverLayout(plan).pageHeight;
    const double top = page == 0 ? FirstTableTop() : kCoverMarginMm;
    return std::max(1, static_cast<int>((height - kCoverMarginMm - top) / kMaterialRowMm) - 1);
}

// The building from above and the front-right corner: the top face of each column's highest
// block as a rhombus in that block's average colour, lighter the higher it stands.
QImage Overview(const Building& grid, BlockPictures& pictures, int widthPixels, int heightPixels) {
    QImage image(widthPixels, heightPixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int X = grid.Width(), Y = grid.Length(), H = grid.Height();
    // Screen: x = (x - y) * s, y = (x + y) * s / 2 - h * s, fitted into the picture.
    const double spanX = X + Y;
    const double spanY = (X + Y) / 2.0 + H;
    const double s = std::min(widthPixels / spanX, heightPixels / spanY);
    const double originX = (widthPixels - spanX * s) / 2 + Y * s;
    const double originY = (heightPixels - spanY * s) / 2 + H * s;
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    std::vector<int> tops(static_cast<std::size_t>(X) * Y, 0);
    for (int h = 1; h <= H; ++h)
        for (int y = 1; y <= Y; ++y) {
            const StoredCode* row = grid.Row(y, h);
            for (int x = 1; x <= X; ++x)
                if (row[x] != 0)
                    tops[static_cast<std::size_t>(y - 1) * X + (x - 1)] = h;
        }
    // Far to near, so that nearer faces cover those behind them.
    for (int sum = 2; sum <= X + Y; ++sum)
        for (int x = std::max(1, sum - Y); x <= std::min(X, sum - 1); ++x) {
            const int y = sum - x;
            const int h = tops[static_cast<std::size_t>(y - 1) * X + (x - 1)];
            if (h == 0)
                continue;
            const QRgb average = pictures.Average(grid.Cell(x, y, h));
            const double light = 0.65 + 0.35 * h / H;
            painter.setBrush(QColor(static_cast<int>(qRed(average) * light), static_cast<int>(qGreen(average) * light),
                                    static_cast<int>(qBlue(average) * light)));
            const double cx = originX + (x - y) * s;
            const double cy = originY + (x + y) * s / 2 - h * s;
            const QPointF rhombus[] = {{cx, cy - s / 2}, {cx + s, cy}, {cx, cy + s / 2}, {cx - s, cy}};
            painter.drawConvexPolygon(rhombus, 4);
        }
    return image;
}

void DrawMaterialRows(const Sheet& sheet, const LayerPlan& plan, BlockPictures& pictures, double top,
                      std::size_t first, std::size_t count, double width) {
    const double left = kCoverMarginMm;
    sheet.Font(7.5, true);
    sheet.painter.setPen(kInk);
    const double right = width - kCoverMarginMm;
    const double columnName = left + 6, columnState = left + 70, columnCount = right - 50, columnStacks = right - 26;
    sheet.Write({columnName, top, 60, kMaterialRowMm}, Qt::AlignLeft | Qt::AlignVCenter, "Block");
    sheet.Write({columnState, top, columnCount - columnState, kMaterialRowMm}, Qt::AlignLeft | Qt::AlignVCenter,
                "Block state");
    sheet.Write({columnCount, top, 20, kMaterialRowMm}, Qt::AlignRight | Qt::AlignVCenter, "Count");
    sheet.Write({columnStacks, top, 26, kMaterialRowMm}, Qt::AlignRight | Qt::AlignVCenter, "Stacks");
    sheet.Font(7.5);
    for (std::size_t index = 0; index < count; ++index) {
        const MaterialRow& row = plan.materials.rows[first + index];
        const double y = top + static_cast<double>(index + 1) * kMaterialRowMm;
        sheet.painter.drawImage(sheet.R(left, y + 0.3, kMaterialRowMm - 0.6, kMaterialRowMm - 0.6), pictures.Of(row.code));
        sheet.Write({columnName, y, 63, kMaterialRowMm}, Qt::AlignLeft | Qt::AlignVCenter, Text(row.name));
        sheet.Write({columnState, y, columnCount - columnState - 2, kMaterialRowMm}, Qt::AlignLeft | Qt::AlignVCenter,
                    Text(row.blockState));
        sheet.Write({columnCount, y, 20, kMaterialRowMm}, Qt::AlignRight | Qt::AlignVCenter,
                    QString::number(row.count));
        sheet.Write({columnStacks, y, 26, kMaterialRowMm}, Qt::AlignRight | Qt::AlignVCenter,
                    Text(AsStacks(row.count)));
    }
}

void PaintCoverHead(const Sheet& sheet, const LayerPlan& plan, const Building& grid, BlockPictures& pictures,
                    double width) {
    sheet.painter.setPen(kInk);
    sheet.Font(24, true);
    sheet.Write({kCoverMarginMm, kCoverMarginMm, width - 2 * kCoverMarginMm, 12}, Qt::AlignLeft | Qt::AlignVCenter,
                Text(plan.buildingName));
    sheet.Font(9);
    const std::size_t planes = [&] {
        std::vector<int> seen;
        for (const PlanPage& page : plan.pages)
            if (seen.empty() || seen.back() != page.plane)
                seen.push_back(page.plane);
        return seen.size();
    }();
    const QString lines = QString("Size: %1 x %2 x %3 (width x length x height)\nTexture pack: %4\n"
                                  "%5 blocks of %6 types\nPlans: %7 %8s seen %9, %10 pages")
                              .arg(plan.width)
                              .arg(plan.length)
                              .arg(plan.height)
                              .arg(Text(plan.packName))
                              .arg(plan.materials.total)
                              .arg(plan.materials.rows.size())
                              .arg(planes)
                              .arg(Text(PlaneWord(plan)))
                              .arg(plan.topView ? "from above" : "from the front")
                              .arg(plan.pages.size());
    sheet.painter.drawText(sheet.R(kCoverMarginMm, 29, width - 2 * kCoverMarginMm, 18), Qt::AlignLeft | Qt::AlignTop, lines);
    const double overviewWidth = width - 2 * kCoverMarginMm;
    constexpr double kOverviewPixelsPerMm = 6;
    const QImage overview = Overview(grid, pictures, static_cast<int>(overviewWidth * kOverviewPixelsPerMm),
                                     static_cast<int>(kOverviewHeightMm * kOverviewPixelsPerMm));
    sheet.painter.drawImage(sheet.R(kCoverMarginMm, kOverviewTopMm, overviewWidth, kOverviewHeightMm), overview);
}

// Paints the cover's pages, calling `nextPage` between them.
void PaintCover(const Sheet& sheet, const LayerPlan& plan, const Building& grid, BlockPictures& pictures,
                const std::function<void()>& nextPage) {
    const double width = CoverLayout(plan).pageWidth;
    PaintCoverHead(sheet, plan, grid, pictures, width);
    std::size_t first = 0;
    for (int page = 0; page == 0 || first < plan.materials.rows.size(); ++page) {
        if (page > 0)
            nextPage();
        const std::size_t count =
            std::min<std::size_t>(RowsOnCoverPage(plan, page), plan.materials.rows.size() - first);
        DrawMaterialRows(sheet, plan, pictures, page == 0 ? FirstTableTop() : kCoverMarginMm, first, count, width);
        first += count;
    }
}

// ---- The PDF ----

// Hands what the PDF writer writes to a sink, in order.
class SinkDevice final : public QIODevice {
public:
    explicit SinkDevice(const ByteSink& sink) : sink_(sink) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        sink_(std::span(reinterpret_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size)));
        return size;
    }

private:
    const ByteSink& sink_;
};

QPageLayout PaperLayout(const LayerPlan& plan, bool landscape) {
    const QPageSize size(plan.settings.paper == PaperSize::Letter ? QPageSize::Letter : QPageSize::A4);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

}  // namespace

int CoverPageCount(const LayerPlan& plan) {
    int pages = 1;
    std::size_t shown = static_cast<std::size_t>(RowsOnCoverPage(plan, 0));
    while (shown < plan.materials.rows.size())
        shown += static_cast<std::size_t>(RowsOnCoverPage(plan, pages++));
    return pages;
}

void WriteLayerBooklet(const LayerPlan& plan, const Building& grid, const SelectorModel& selector,
                       const ByteSink& sink) {
    SinkDevice device(sink);
    QPdfWriter writer(&device);
    writer.setResolution(kPdfDotsPerInch);
    writer.setCreator("Stackmason");
    writer.setTitle(Text(plan.buildingName + " - layer plans"));
    writer.setPageLayout(PaperLayout(plan, false));
    BlockPictures pictures(selector);
    CellDrawing drawing;
    drawing.cellByCell = BlocksOnPages(plan, grid) <= kLargestCellByCell;
    drawing.rasterPixels = RasterCellPixels(plan);

    QPainter painter;
    if (!painter.begin(&writer))
        throw std::runtime_error("the PDF could not be started");
    Lettering lettering;
    const Sheet sheet{painter, kPdfDotsPerInch / kMmPerInch, lettering};
    PaintCover(sheet, plan, grid, pictures, [&] { writer.newPage(); });
    for (const PlanPage& page : plan.pages) {
        writer.setPageLayout(PaperLayout(plan, page.landscape));
        writer.newPage();
        PaintPlanePage(sheet, plan, page, grid, pictures, drawing);
    }
    painter.end();
}

std::string PlanPictureName(const LayerPlan& plan, const PlanPage& page) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", page.plane);
    std::string name = PlaneWord(plan) + "-" + number;
    if (page.tileColumns * page.tileRows > 1)
        name += "-tile-" + std::to_string(page.tileRow * page.tileColumns + page.tileColumn + 1);
    return name + ".png";
}

void PaintLayerPictures(const LayerPlan& plan, const Building& grid, const SelectorModel& selector,
                        const std::function<void(const PlanPicture&)>& take, double dotsPerInch) {
    BlockPictures pictures(selector);
    Lettering lettering;
    const double unitsPerMm = dotsPerInch / kMmPerInch;
    for (const PlanPage& page : plan.pages) {
        const PlanPageLayout layout = PageLayout(plan.settings.paper, page.landscape);
        QImage image(static_cast<int>(std::lround(layout.pageWidth * unitsPerMm)),
                     static_cast<int>(std::lround(layout.pageHeight * unitsPerMm)), QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(static_cast<int>(std::lround(unitsPerMm * 1000)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(unitsPerMm * 1000)));
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            const CellDrawing drawing{false, std::max(1, static_cast<int>(std::lround(page.cellMm * unitsPerMm)))};
            PaintPlanePage(Sheet{painter, unitsPerMm, lettering}, plan, page, grid, pictures, drawing);
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            throw std::runtime_error("the picture " + PlanPictureName(plan, page) + " could not be encoded");
        PlanPicture picture{PlanPictureName(plan, page),
                            std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
        take(picture);
    }
}

}  // namespace stackmason
