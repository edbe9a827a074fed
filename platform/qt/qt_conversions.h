// Converting texts and images between the program's forms and Qt's.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <string_view>

#include "resources/pixel_art.h"

namespace tavimor {

inline QString to_qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Texts use "\r\n" line breaks; Qt's widgets want "\n".
inline QString display_text(std::string_view text) {
    return to_qstring(text).replace("\r\n", "\n");
}

inline QPixmap to_pixmap(const Image& image) {
    QImage out(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) out.setPixel(x, y, image.at(x, y));
    }
    return QPixmap::fromImage(out);
}

}  // namespace tavimor
