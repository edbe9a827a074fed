// The per-picture output of a decode call: the image description of the shown
// picture, where the frame's analysis lies in the three analysis files, the
// frame numbers held by the references, and the three captured pictures.
#pragma once

#include <cstdint>

#include "vp8dec/planar_picture.h"

namespace vp8 {

inline constexpr int kImageFormatI420 = 258;

struct ImageDescription {
    int format;            // kImageFormatI420
    int allocated_width;   // aligned width + 64
    int allocated_height;  // aligned height + 64
    int display_width;
    int display_height;
    int chroma_shift_x;  // 1
    int chroma_shift_y;  // 1
    uint8_t* planes[4];  // Y, U, V and an unused fourth plane
    int strides[4];
    int bits_per_pixel;  // 12
    void* user_data;     // the caller data of the decode call
    uint8_t* data;       // the frame buffer's allocation
    int owns_image;      // 0
    int owns_data;       // 0
};

struct FrameAnalysisRecord {
    ImageDescription image;
    int64_t trace_position;   // header trace file position at the start of the frame
    int64_t trace_length;     // bytes of trace written for the frame
    int64_t mbinfo_position;  // macroblock information file
    int64_t mbinfo_length;
    int64_t coef_position;  // coefficient file
    int64_t coef_length;
    uint8_t unused;             // never written
    uint8_t last_frame_number;  // low byte of the frame number held by each reference
    uint8_t golden_frame_number;
    uint8_t altref_frame_number;
    PlanarPicture final_picture;
    PlanarPicture prelf_picture;
    PlanarPicture predicted_picture;
};

}  // namespace vp8
