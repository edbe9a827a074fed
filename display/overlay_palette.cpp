#include "display/overlay_palette.h"

#include <cstdint>

namespace tavimor {

namespace {

constexpr ColourRef kFixed[] = {
    rgb(0, 255, 0),   rgb(255, 0, 0),   rgb(255, 0, 255), rgb(255, 255, 0), rgb(0, 0, 255),
    rgb(0, 255, 255), rgb(128, 64, 64), rgb(0, 128, 128), rgb(128, 64, 0),
};

}  // namespace

ColourRef overlay_colour(int index) {
    if (index >= 0 && index <= 8) return kFixed[index];
    // Channels wrap at 8 bits; unsigned arithmetic keeps large indices defined.
    uint32_t n = static_cast<uint32_t>(index);
    uint32_t h = static_cast<uint32_t>((static_cast<uint64_t>(n) * n) >> 1);
    switch (n & 3) {
        case 0:
            return rgb(h & 0xFF, (2 * n + 32) & 0xFF, (2 * n) & 0xFF);
        case 1:
            return rgb(n & 0xFF, (2 * n + 64) & 0xFF, h & 0xFF);
        default:
            return rgb((n + 19) & 0xFF, h & 0xFF, n & 0xFF);
    }
}

}  // namespace tavimor
