// Pictures encoded as PNG files, through Qt's image writer, for the tools
// that save what the display shows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/surface_view.h"

namespace tavimor {

// The pixels as the bytes of an 8-bit RGB PNG file of the view's size;
// nothing when the view is empty or the encoding fails.
std::optional<std::vector<uint8_t>> encode_png(const SurfaceView& pixels);

}  // namespace tavimor
