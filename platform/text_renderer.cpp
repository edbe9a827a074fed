#include "platform/text_renderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>

namespace tavimor {

namespace {

void ensure_gui_application() {
    if (QCoreApplication::instance()) return;
    // Kept for the whole process: fonts need an application object, and
    // destroying it while other statics still use fonts would crash at exit.
    static int argc = 3;
    static char name[] = "tavimor";
    static char option[] = "-platform";
    static char value[] = "offscreen";
    static char* argv[] = {name, option, value, nullptr};
    new QGuiApplication(argc, argv);
    install_font_substitutes();
}

QFont make_font(const FontRequest& wanted) {
    QFont font(QString::fromStdString(wanted.face));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(wanted.weight, 100, 900)));
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strike_out);
    int family = wanted.pitch_and_family & 0xF0;
    if ((wanted.pitch_and_family & 0x0F) == 1 || family == 0x30)
        font.setStyleHint(QFont::TypeWriter);
    else if (family == 0x10)
        font.setStyleHint(QFont::Serif);
    else if (family == 0x20)
        font.setStyleHint(QFont::SansSerif);
    int cell = std::max(1, wanted.cell_height);
    font.setPixelSize(cell);
    // The cell height covers ascent and descent; the pixel size is the em.
    int measured = QFontMetrics(font).height();
    if (measured > cell) {
        font.setPixelSize(
            std::max(1, static_cast<int>(std::lround(cell * double(cell) / measured))));
    }
    return font;
}

}  // namespace

void install_font_substitutes() {
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif"});
    QFont::insertSubstitutions("Lucida Console", {"Liberation Mono", "DejaVu Sans Mono"});
}

TextBitmap render_text_with_qt(std::string_view text, const FontRequest& wanted) {
    ensure_gui_application();
    TextBitmap bitmap;
    QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (string.isEmpty()) return bitmap;
    QFont font = make_font(wanted);
    QFontMetrics metrics(font);
    bitmap.width = std::max(1, metrics.horizontalAdvance(string));
    bitmap.height = std::max(1, metrics.height());
    QImage image(bitmap.width, bitmap.height, QImage::Format_Grayscale8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(0, metrics.ascent(), string);
    }
    bitmap.coverage.resize(static_cast<size_t>(bitmap.width) * bitmap.height);
    for (int y = 0; y < bitmap.height; ++y) {
        const uchar* row = image.constScanLine(y);
        std::copy(row, row + bitmap.width,
                  bitmap.coverage.begin() + static_cast<ptrdiff_t>(y) * bitmap.width);
    }
    return bitmap;
}

}  // namespace tavimor

// The font library behind the text rendering keeps what it has read until the
// process ends and frees it only after the sanitizer's leak check has run: not
// a leak of ours. (Read only by builds with the leak sanitizer.)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

// ... and says nothing about what it left out, so that standard error carries
// only the program's own messages.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
