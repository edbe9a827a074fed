// A font as the drawing code asks for it, and text rendered with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavimor {

struct FontRequest {
    std::string face;
    int cell_height = 0;  // pixels from the top of the tallest to the bottom of the lowest glyph
    int weight = 400;     // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    // Low bits: 1 fixed pitch, 2 variable pitch; high bits the family:
    // 0x10 roman (serif), 0x20 swiss (sans serif), 0x30 modern (monospace).
    int pitch_and_family = 0;
    friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// Text rendered left and top aligned, without smoothing: coverage 255 where a
// glyph sets the pixel, 0 elsewhere.
struct TextBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;  // row by row

    bool set(int x, int y) const { return coverage[static_cast<size_t>(y) * width + x] >= 128; }
};

}  // namespace tavimor
