#include "display/stream_graph.h"

#include <algorithm>
#include <cmath>

namespace tavimor {

namespace {

constexpr double kDefaultFrameRate = 30;
constexpr double kIdenticalPsnr = 60;

// The columns of picture i: [first, last) within the area.
std::pair<int, int> columns_of(const StreamGraph& graph, const Rect& area, size_t i) {
    const int64_t width = area.width(), count = static_cast<int64_t>(graph.pictures.size());
    const int first = area.left + static_cast<int>(width * static_cast<int64_t>(i) / count);
    const int last = area.left + static_cast<int>(width * static_cast<int64_t>(i + 1) / count);
    return {first, std::max(last, first + 1)};
}

int centre_of(const StreamGraph& graph, const Rect& area, size_t i) {
    const auto [first, last] = columns_of(graph, area, i);
    return (first + last - 1) / 2;
}

void vertical(Canvas& canvas, int x, int top, int bottom) {
    canvas.move_to(x, bottom);
    canvas.line_to(x, top - 1);
}

// A line through one value per picture, scaled to the area.
template <typename ValueOf>
void polyline(Canvas& canvas, const StreamGraph& graph, const Rect& area, ValueOf value_of) {
    bool drawing = false;
    for (size_t i = 0; i < graph.pictures.size(); ++i) {
        const std::optional<int> y = value_of(i);
        if (!y) {
            drawing = false;
            continue;
        }
        const int x = centre_of(graph, area, i);
        if (drawing) {
            canvas.line_to(x, *y);
        } else {
            canvas.move_to(x, *y);
        }
        drawing = true;
    }
}

}  // namespace

std::vector<int> graph_bar_heights(const StreamGraph& graph, const Rect& area) {
    int tallest = 0;
    for (const GraphPicture& picture : graph.pictures) tallest = std::max(tallest, picture.bits);
    std::vector<int> heights;
    for (const GraphPicture& picture : graph.pictures)
        heights.push_back(
            tallest == 0 ? 0 : static_cast<int>(int64_t{picture.bits} * area.height() / tallest));
    return heights;
}

std::vector<double> graph_moving_average(const StreamGraph& graph) {
    const int window = std::max(
        1,
        static_cast<int>(std::lround(graph.frame_rate > 0 ? graph.frame_rate : kDefaultFrameRate)));
    std::vector<double> averages;
    int64_t sum = 0;
    for (size_t i = 0; i < graph.pictures.size(); ++i) {
        sum += graph.pictures[i].bits;
        if (i >= static_cast<size_t>(window)) sum -= graph.pictures[i - window].bits;
        averages.push_back(double(sum) / std::min<double>(i + 1, window));
    }
    return averages;
}

std::optional<std::pair<double, double>> graph_psnr_range(const StreamGraph& graph) {
    std::optional<std::pair<double, double>> range;
    bool identical = false;
    for (const GraphPicture& picture : graph.pictures) {
        identical |= picture.identical;
        if (!picture.psnr || picture.identical) continue;
        if (!range) range = std::make_pair(*picture.psnr, *picture.psnr);
        range->first = std::min(range->first, *picture.psnr);
        range->second = std::max(range->second, *picture.psnr);
    }
    if (!range && identical) range = std::make_pair(kIdenticalPsnr, kIdenticalPsnr);
    return range;
}

void draw_stream_graph(Canvas& canvas, const StreamGraph& graph, const Rect& area) {
    const ColourRef previous = canvas.select_pen(kGraphAxisColour);
    canvas.move_to(area.left, area.top);
    canvas.line_to(area.left, area.bottom - 1);
    canvas.line_to(area.right, area.bottom - 1);
    if (graph.pictures.empty() || area.empty()) {
        canvas.select_pen(previous);
        return;
    }
    const Rect plot{area.left + 1, area.top, area.right, area.bottom - 1};
    const std::vector<int> heights = graph_bar_heights(graph, plot);
    for (size_t i = 0; i < graph.pictures.size(); ++i) {
        canvas.select_pen(graph.pictures[i].key ? kGraphKeyBarColour : kGraphBarColour);
        const auto [first, last] = columns_of(graph, plot, i);
        // A gap of one column between bars wider than three.
        const int end = last - first > 3 ? last - 1 : last;
        for (int x = first; x < end && heights[i] > 0; ++x)
            vertical(canvas, x, plot.bottom - heights[i], plot.bottom - 1);
    }
    int tallest = 0;
    for (const GraphPicture& picture : graph.pictures) tallest = std::max(tallest, picture.bits);
    const std::vector<double> averages = graph_moving_average(graph);
    canvas.select_pen(kGraphAverageColour);
    polyline(canvas, graph, plot, [&](size_t i) -> std::optional<int> {
        if (tallest == 0) return std::nullopt;
        return plot.bottom - 1 - static_cast<int>(averages[i] * (plot.height() - 1) / tallest);
    });
    if (const auto range = graph_psnr_range(graph)) {
        // The PSNR line uses the upper part of the area, lowest value at its middle.
        const double low = range->first, span = std::max(range->second - low, 1.0);
        const int top = plot.top, bottom = plot.top + plot.height() / 2;
        canvas.select_pen(kGraphPsnrColour);
        polyline(canvas, graph, plot, [&](size_t i) -> std::optional<int> {
            const GraphPicture& picture = graph.pictures[i];
            if (picture.identical) return top;  // no finite PSNR: the top of the band
            if (!picture.psnr) return std::nullopt;
            return bottom - static_cast<int>((*picture.psnr - low) * (bottom - top) / span);
        });
    }
    if (graph.shown >= 1 && graph.shown <= static_cast<int>(graph.pictures.size())) {
        // Three columns wide, so that it shows on a bar too.
        canvas.select_pen(kGraphShownColour);
        const int centre = centre_of(graph, plot, static_cast<size_t>(graph.shown - 1));
        for (int x = std::max(centre - 1, plot.left); x <= std::min(centre + 1, plot.right - 1);
             ++x)
            vertical(canvas, x, plot.top, plot.bottom - 1);
    }
    canvas.select_pen(previous);
}

int graph_picture_at(const StreamGraph& graph, const Rect& area, Point point) {
    const Rect plot{area.left + 1, area.top, area.right, area.bottom - 1};
    if (graph.pictures.empty() || point.x < plot.left || point.x >= plot.right ||
        point.y < plot.top || point.y >= plot.bottom)
        return 0;
    const int64_t i =
        int64_t{point.x - plot.left} * static_cast<int64_t>(graph.pictures.size()) / plot.width();
    return static_cast<int>(i) + 1;
}

}  // namespace tavimor
