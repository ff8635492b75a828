#include "editor/shell/LabelText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace stackmason {

Image RenderLabelText(const std::string& text, Rgba textColour, Rgba background) {
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    const QString label = QString::fromStdString(text);
    const int width = std::max(1, metrics.horizontalAdvance(label));
    const int height = std::max(1, metrics.height());
    QImage image(width, height, QImage::Format_RGBA8888);
    image.fill(QColor(background.r, background.g, background.b));
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(QColor(textColour.r, textColour.g, textColour.b));
        painter.drawText(0, metrics.ascent(), label);
    }
    Image result(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb p = image.pixel(x, y);
            result.SetPixel(x, y, {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                                   static_cast<std::uint8_t>(qBlue(p)), 255});
        }
    return result;
}

}  // namespace stackmason
