#include "vp8dec/frame_view.h"

#include <cstddef>
#include <new>

namespace vp8 {

namespace {

void point_rows(std::vector<uint8_t*>& rows, uint8_t* first, int stride, int height) {
    rows.resize(static_cast<size_t>(height));
    for (int r = 0; r < height; ++r) rows[r] = first + static_cast<ptrdiff_t>(r) * stride;
}

}  // namespace

const PlanarPicture& FrameView::view(const FrameBuffer& frame) {
    picture_ = PlanarPicture{};
    try {
        point_rows(luma_, frame.y, frame.y_stride, frame.y_height);
        point_rows(chroma_[0], frame.u, frame.uv_stride, frame.uv_height);
        point_rows(chroma_[1], frame.v, frame.uv_stride, frame.uv_height);
    } catch (const std::bad_alloc&) {
        return picture_;  // no memory for the row tables: no picture
    }
    chroma_tables_[0] = chroma_[0].data();
    chroma_tables_[1] = chroma_[1].data();
    picture_.width = frame.y_width;
    picture_.height = frame.y_height;
    picture_.luma_row_length = frame.y_width;
    picture_.chroma_width = frame.uv_width;
    picture_.chroma_height = frame.uv_height;
    picture_.chroma_row_length = frame.uv_width;
    picture_.luma_rows = luma_.data();
    picture_.chroma_rows = chroma_tables_;
    return picture_;
}

}  // namespace vp8
