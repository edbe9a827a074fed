// The overlays of one redraw as a list: labels (the statistics numbers, on the
// picture surface, under everything else) and rectangles and lines (on the
// composition surface), each with its colour as an overlay palette index,
// drawn in the order of the list.
#pragma once

#include <string>
#include <vector>

#include "display/video_display.h"

namespace tavimor {

struct OverlayShape {
    enum class Kind { kLabel, kRectangle, kLine };
    Kind kind = Kind::kRectangle;
    int x = 0;  // label and rectangle: top-left corner; line: start
    int y = 0;
    int width = 0;  // rectangle
    int height = 0;
    int x2 = 0;  // line: end (not set itself)
    int y2 = 0;
    int colour = 0;           // palette index (labels use the text colour)
    bool mark_start = false;  // line: the start pixel in the start marker colour
    std::string text;         // label

    friend bool operator==(const OverlayShape&, const OverlayShape&) = default;
};

using OverlayList = std::vector<OverlayShape>;

OverlayShape overlay_label(int x, int y, std::string text);
OverlayShape overlay_rectangle(int x, int y, int width, int height, int colour);
OverlayShape overlay_line(int x1, int y1, int x2, int y2, int colour, bool mark_start);

// Draws the list's labels on the picture surface (before it is composed).
void draw_overlay_labels(VideoDisplay* display, const OverlayList& list);

// Draws the list's rectangles and lines on the composition surface, in order.
void draw_overlay_shapes(VideoDisplay* display, const OverlayList& list);

}  // namespace tavimor
