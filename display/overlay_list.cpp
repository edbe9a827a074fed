#include "display/overlay_list.h"

#include "display/overlay_palette.h"
#include "display/overlays.h"

namespace tavimor {

OverlayShape overlay_label(int x, int y, std::string text) {
    OverlayShape shape;
    shape.kind = OverlayShape::Kind::kLabel;
    shape.x = x;
    shape.y = y;
    shape.text = std::move(text);
    return shape;
}

OverlayShape overlay_rectangle(int x, int y, int width, int height, int colour) {
    OverlayShape shape;
    shape.kind = OverlayShape::Kind::kRectangle;
    shape.x = x;
    shape.y = y;
    shape.width = width;
    shape.height = height;
    shape.colour = colour;
    return shape;
}

OverlayShape overlay_line(int x1, int y1, int x2, int y2, int colour, bool mark_start) {
    OverlayShape shape;
    shape.kind = OverlayShape::Kind::kLine;
    shape.x = x1;
    shape.y = y1;
    shape.x2 = x2;
    shape.y2 = y2;
    shape.colour = colour;
    shape.mark_start = mark_start;
    return shape;
}

void draw_overlay_labels(VideoDisplay* display, const OverlayList& list) {
    for (const OverlayShape& shape : list)
        if (shape.kind == OverlayShape::Kind::kLabel)
            draw_text(display, shape.text, shape.x, shape.y);
}

void draw_overlay_shapes(VideoDisplay* display, const OverlayList& list) {
    for (const OverlayShape& shape : list) {
        if (shape.kind == OverlayShape::Kind::kRectangle)
            draw_rect_outline(display, overlay_colour(shape.colour), shape.x, shape.y, shape.width,
                              shape.height);
        else if (shape.kind == OverlayShape::Kind::kLine)
            draw_line(display, shape.x, shape.y, shape.x2, shape.y2, overlay_colour(shape.colour),
                      shape.mark_start);
    }
}

}  // namespace tavimor
