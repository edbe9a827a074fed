// The stream graph: the bits of every picture as bars (key frames in red),
// their one-second moving average as a line, the PSNR of every picture
// against the original as a second line, and the picture shown marked; drawn
// with lines on any canvas (a dialog while it paints, a surface for a PNG).
#pragma once

#include <optional>
#include <vector>

#include "platform/canvas.h"
#include "platform/geometry.h"

namespace tavimor {

struct GraphPicture {
    int bits = 0;
    bool key = false;
    std::optional<double> psnr;  // dB; nothing where not compared
    bool identical = false;      // equal to the original: drawn at the top
};

struct StreamGraph {
    std::vector<GraphPicture> pictures;
    double frame_rate = 0;  // pictures in the moving average; 30 when 0
    int shown = 0;          // the picture shown (from 1; 0: none)
};

// The colours of the graph.
inline constexpr ColourRef kGraphAxisColour = rgb(0, 0, 0);
inline constexpr ColourRef kGraphBarColour = rgb(0, 128, 192);
inline constexpr ColourRef kGraphKeyBarColour = rgb(220, 0, 0);
inline constexpr ColourRef kGraphAverageColour = rgb(255, 140, 0);
inline constexpr ColourRef kGraphPsnrColour = rgb(160, 0, 200);
inline constexpr ColourRef kGraphShownColour = rgb(0, 160, 0);

// The bar height of each picture in the area (the tallest bar fills it).
std::vector<int> graph_bar_heights(const StreamGraph& graph, const Rect& area);

// The one-second moving average of the bits, picture by picture.
std::vector<double> graph_moving_average(const StreamGraph& graph);

// The lowest and highest PSNR drawn (identical pictures count as the highest
// finite value, or 60 dB); nothing without PSNR.
std::optional<std::pair<double, double>> graph_psnr_range(const StreamGraph& graph);

void draw_stream_graph(Canvas& canvas, const StreamGraph& graph, const Rect& area);

// The picture (from 1) under a point of the area; 0 outside it.
int graph_picture_at(const StreamGraph& graph, const Rect& area, Point point);

}  // namespace tavimor
