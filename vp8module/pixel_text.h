// The "Pixel Info" text of a macroblock: its samples in the Final,
// Pre-LoopFilter or Predicted picture, its decoded residual, or its
// dequantised coefficients, plane by plane in bordered 4x4 groups.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "vp8dec/planar_picture.h"
#include "vp8module/coefficient_cache.h"
#include "vp8module/mb_texts.h"

namespace tavimor {

struct Vp8ModuleState;

// The tabs of "PIXELINFODLG".
enum PixelTab { kPixelFinal = 0, kPixelPreLoopFilter, kPixelPredicted, kPixelResidual, kPixelCoef };

// Luma at 0 to 255 (16 rows of 16), U at 256 + 16 x row + column and V at
// 512 + 16 x row + column (8 rows of 8 each).
using PixelBlock = std::array<int32_t, 768>;

// The macroblock's samples at the picture position (x, y) (a multiple of 16).
PixelBlock sample_block(const vp8::PlanarPicture& picture, int x, int y);

// The coefficients placed as 4x4 squares (each block's value j at raster
// position j), or, with transform, each block through the exact inverse DCT.
PixelBlock coefficient_block(const MbCoefficients& coefficients, bool transform);

// The text: "Frame %d, MB %d(%d, %d)" then the three planes, values three
// wide (samples) or five wide (residual, coefficients).
std::string pixel_text(int frame_index, const MbPlace& place, const PixelBlock& block,
                       int value_width);

// The text of the tab for the macroblock at the picture position of the
// picture shown; "Data not available\r\n" when there is nothing to show.
std::string pixel_info_text(Vp8ModuleState& state, int tab, int x, int y);

}  // namespace tavimor
