// A picture descriptor whose rows point into a frame buffer's visible area:
// the shown picture handed to the analysis without copying its samples.
#pragma once

#include <vector>

#include "vp8dec/frame_buffer.h"
#include "vp8dec/planar_picture.h"

namespace vp8 {

class FrameView {
  public:
    // Points the rows at the frame's samples; the descriptor stays valid
    // until the frame buffer is written again or freed. Without memory for
    // the row tables it describes no picture (width 0).
    const PlanarPicture& view(const FrameBuffer& frame);

  private:
    std::vector<uint8_t*> luma_;
    std::vector<uint8_t*> chroma_[2];
    uint8_t** chroma_tables_[2] = {nullptr, nullptr};
    PlanarPicture picture_{};
};

}  // namespace vp8
