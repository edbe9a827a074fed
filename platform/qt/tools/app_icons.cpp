// Writes the application icon (image 101 of images.art) as PNGs of the
// hicolor theme's sizes: OUT_DIR/SIZExSIZE/apps/tavimor.png, each pixel of
// the art a square of whole pixels (a build step).
#include <QDir>
#include <QImage>
#include <cstdio>

#include "resources/image_ids.h"
#include "resources/images.h"

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

QImage art_image(const tavimor::Image& art) {
    QImage image(art.width, art.height, QImage::Format_ARGB32);
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x) image.setPixel(x, y, art.at(x, y));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavimor-app-icons OUT_DIR\n");
        return 2;
    }
    const tavimor::Image& art = tavimor::load_image(tavimor::kAppIcon);
    if (art.width == 0) {
        std::fprintf(stderr, "tavimor-app-icons: no application icon in the images\n");
        return 1;
    }
    const QImage icon = art_image(art);
    for (const int size : kSizes) {
        const QString folder = QString("%1/%2x%2/apps").arg(argv[1]).arg(size);
        const QImage scaled = icon.scaled(size, size, Qt::KeepAspectRatio, Qt::FastTransformation);
        if (!QDir().mkpath(folder) || !scaled.save(folder + "/tavimor.png", "PNG")) {
            std::fprintf(stderr, "tavimor-app-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
