// The decoder's bordered planar 4:2:0 picture.
#pragma once

#include <cstdint>

namespace vp8 {

inline constexpr int kFrameBorder = 32;  // luma samples on every side; chroma has half

struct FrameBuffer {
    int y_width;  // allocation width, a multiple of 16
    int y_height;
    int y_stride;  // y_width + 2 * border
    int uv_width;  // (y_width + 1) / 2
    int uv_height;
    int uv_stride;  // uv_width + border
    uint8_t* y;     // first visible sample of each plane
    uint8_t* u;
    uint8_t* v;
    uint8_t* allocation;
    int border;
    int frame_size;  // luma plane size + 2 * chroma plane size
    int colour_type;
    int frame_number;  // shown-frame count when the picture it holds was decoded
};

// Allocates a buffer of the given size (any previous block is freed first).
// Visible samples are left uninitialised. Returns false when memory runs out.
bool allocate_frame_buffer(FrameBuffer& buffer, int width, int height);
void free_frame_buffer(FrameBuffer& buffer);

}  // namespace vp8
