// Images kept as text: a palette of one-character colours and rows of those
// characters (see images.art).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // row by row, 0xAARRGGBB; transparent pixels are 0

    uint32_t at(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

struct PixelArtEntry {
    std::string kind;  // "strip" or "image"
    int number = 0;    // strip position or resource identifier
    std::string name;
    Image image;
};

// Parses the text; a malformed entry (unknown colour, ragged rows) is skipped.
std::vector<PixelArtEntry> parse_pixel_art(std::string_view text);

}  // namespace tavimor
