#include "platform/png_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

namespace tavimor {

std::optional<std::vector<uint8_t>> encode_png(const SurfaceView& pixels) {
    if (!pixels.pixels || pixels.width < 1 || pixels.height < 1) return std::nullopt;
    QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
    if (image.isNull()) return std::nullopt;
    for (int y = 0; y < pixels.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < pixels.width; ++x) row[x] = 0xFF000000u | rgb_at(pixels, x, y);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) return std::nullopt;
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace tavimor
