#include "vp8dec/frame_buffer.h"

#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vp8 {

namespace {

// A zeroed block for a frame. A block of a megabyte or more is aligned to, and
// rounded up to, the 2 MB of a large page, which the system is asked to back
// it with where it can: prediction reads a frame in columns across hundreds
// of rows, and each 4 KB page holds only a few rows of a large frame, so small
// pages make it wait on address translation. Setting it up also takes one
// page fault per 2 MB instead of one per 4 KB.
uint8_t* allocate_frame_block(size_t bytes) {
    constexpr size_t kLargePage = size_t{2} << 20;
    const bool large = bytes >= kLargePage / 2;
    const size_t alignment = large ? kLargePage : 32;
    const size_t rounded = (bytes + alignment - 1) & ~(alignment - 1);
    auto* block = static_cast<uint8_t*>(std::aligned_alloc(alignment, rounded));
    if (!block) return nullptr;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (large) madvise(block, rounded, MADV_HUGEPAGE);  // only a hint: failure changes nothing
#endif
    // Border and padding bytes start defined so that no read of them is ever
    // of uninitialised memory; visible samples are written before use.
    std::memset(block, 0, rounded);
    return block;
}

}  // namespace

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
    uint8_t* block = allocate_frame_block(bytes);
    if (!block) return false;
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
