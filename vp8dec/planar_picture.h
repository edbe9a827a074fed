// An 8-bit planar YUV 4:2:0 picture addressed through row tables, passed by
// value between the decoder, the module, the shell and the display.
#pragma once

#include <cstdint>

namespace vp8 {

struct PlanarPicture {
    int width;            // luma width; 0 means there is no picture
    int height;           // luma rows
    int luma_row_length;  // bytes per luma row
    int chroma_width;
    int chroma_height;
    int chroma_row_length;   // bytes per chroma row
    uint8_t** luma_rows;     // one entry per row; entry 0 starts the pixel block
    uint8_t*** chroma_rows;  // {U rows, V rows}
    int reserved[19];        // left zero
};

// Allocates zeroed rows back to back: the luma rows always, the chroma rows
// only when chroma_width and chroma_height are both non-zero. Returns false
// (leaving nothing allocated) when memory runs out.
bool allocate_planar_picture(PlanarPicture& picture, int width, int height, int chroma_width,
                             int chroma_height);

// Frees what allocate_planar_picture allocated and zeroes the descriptor.
void release_planar_picture(PlanarPicture& picture);

}  // namespace vp8
