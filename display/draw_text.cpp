#include "display/overlay_palette.h"
#include "display/overlays.h"
#include "display/pixel_format.h"
#include "platform/platform.h"

namespace tavimor {

void draw_text(VideoDisplay* display, std::string_view text, int x, int y) {
    if (!display || !display->platform || !display->primary || !display->picture) return;
    Surface& surface = *display->picture;
    TextBitmap glyphs = display->platform->render_text(text, kOverlayFont);
    uint32_t value = pack_colour(kOverlayTextColour, surface.bytes_per_pixel);
    for (int row = 0; row < glyphs.height; ++row) {
        for (int column = 0; column < glyphs.width; ++column) {
            if (glyphs.set(column, row) && surface.contains(x + column, y + row))
                put_raw_pixel(surface, x + column, y + row, value);
        }
    }
}

}  // namespace tavimor
