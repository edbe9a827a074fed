#include "vp8dec/frame_buffer.h"

#include <cstdlib>
#include <cstring>

namespace vp8 {

bool allocate_frame_buffer(FrameBuffer& buffer, int width, int height) {
    free_frame_buffer(buffer);
    const int border = kFrameBorder;
    const int y_stride = width + 2 * border;
    const int uv_width = (width + 1) / 2;
    const int uv_height = (height + 1) / 2;
    const int uv_stride = uv_width + border;
    const size_t y_plane = static_cast<size_t>(y_stride) * (height + 2 * border);
    const size_t uv_plane = static_cast<size_t>(uv_stride) * (uv_height + border);
    const size_t frame_size = y_plane + 2 * uv_plane;
    const size_t bytes = frame_size + 2 * static_cast<size_t>(y_stride) + 32;
    const size_t rounded = (bytes + 31) & ~size_t{31};
    auto* block = static_cast<uint8_t*>(std::aligned_alloc(32, rounded));
    if (!block) return false;
    // Border and padding bytes start defined so that no read of them is ever
    // of uninitialised memory; visible samples are written before use.
    std::memset(block, 0, rounded);
    buffer.y_width = width;
    buffer.y_height = height;
    buffer.y_stride = y_stride;
    buffer.uv_width = uv_width;
    buffer.uv_height = uv_height;
    buffer.uv_stride = uv_stride;
    buffer.allocation = block;
    buffer.border = border;
    buffer.frame_size = static_cast<int>(frame_size);
    buffer.y = block + static_cast<size_t>(border) * y_stride + border;
    const size_t y_rounded = (y_plane + 15) & ~size_t{15};
    buffer.u = block + y_rounded + static_cast<size_t>(uv_stride + 1) * (border / 2);
    buffer.v = buffer.u + uv_plane;
    return true;
}

void free_frame_buffer(FrameBuffer& buffer) {
    std::free(buffer.allocation);
    std::memset(&buffer, 0, sizeof(buffer));
}

}  // namespace vp8
