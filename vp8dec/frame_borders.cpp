// Frame edges for intra prediction, row edge extension and border replication.
#include "vp8dec/frame_borders.h"

#include <cstring>
#include <initializer_list>

#include "vp8dec/decoder_instance.h"

namespace vp8 {

namespace {

void setup_plane_edges(uint8_t* plane, int stride, int width, int height) {
    std::memset(plane - stride - 1, 127, static_cast<size_t>(width) + 5);
    for (int r = 0; r < height; ++r) plane[r * stride - 1] = 129;
}

void replicate_plane(uint8_t* plane, int stride, int width, int height, int border) {
    for (int r = 0; r < height; ++r) {
        uint8_t* row = plane + r * stride;
        std::memset(row - border, row[0], border);
        std::memset(row + width, row[width - 1], border);
    }
    const uint8_t* first = plane - border;
    const uint8_t* last = plane + (height - 1) * stride - border;
    for (int r = 1; r <= border; ++r) {
        std::memcpy(plane - r * stride - border, first, static_cast<size_t>(width) + 2 * border);
        std::memcpy(plane + (height - 1 + r) * stride - border, last,
                    static_cast<size_t>(width) + 2 * border);
    }
}

}  // namespace

void setup_intra_borders(FrameBuffer& frame) {
    setup_plane_edges(frame.y, frame.y_stride, frame.y_width, frame.y_height);
    setup_plane_edges(frame.u, frame.uv_stride, frame.uv_width, frame.uv_height);
    setup_plane_edges(frame.v, frame.uv_stride, frame.uv_width, frame.uv_height);
}

void extend_row_right_edge(FrameBuffer& frame, int mb_row) {
    auto extend = [](uint8_t* plane, int stride, int width, int row) {
        uint8_t* at = plane + row * stride + width;
        std::memset(at, at[-1], 4);
    };
    for (int r : {14, 15}) extend(frame.y, frame.y_stride, frame.y_width, mb_row * 16 + r);
    for (int r : {6, 7}) {
        extend(frame.u, frame.uv_stride, frame.uv_width, mb_row * 8 + r);
        extend(frame.v, frame.uv_stride, frame.uv_width, mb_row * 8 + r);
    }
}

void replicate_borders(FrameBuffer& frame) {
    replicate_plane(frame.y, frame.y_stride, frame.y_width, frame.y_height, frame.border);
    replicate_plane(frame.u, frame.uv_stride, frame.uv_width, frame.uv_height, frame.border / 2);
    replicate_plane(frame.v, frame.uv_stride, frame.uv_width, frame.uv_height, frame.border / 2);
}

}  // namespace vp8
