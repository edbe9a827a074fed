// A small PNG reader for checking the pictures the tools write: 8-bit RGB or
// RGBA, not interlaced.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavimor::test {

struct PngPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, row after row

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The picture of the file's bytes; nothing when they are not such a PNG file.
std::optional<PngPicture> read_png(const std::string& bytes);

}  // namespace tavimor::test
