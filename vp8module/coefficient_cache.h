// The dequantised coefficients of the picture shown: read from the
// coefficient file once per picture, then served for every macroblock.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tavimor {

struct Vp8ModuleState;

inline constexpr int kBlocksPerMb = 24;  // 16 luma in raster order, 4 U, 4 V
inline constexpr int kCoefficientsPerMb = kBlocksPerMb * 16;

using MbCoefficients = std::array<int16_t, kCoefficientsPerMb>;

// Parses a picture's coefficient records (per macroblock in raster order,
// 24 blocks of a count byte and that many {position, value} entries) into
// 384 values a macroblock. Stops, false, at the end of the bytes or at an
// entry that cannot be one.
bool parse_coefficients(const uint8_t* bytes, size_t size, int macroblocks,
                        std::vector<int16_t>& values);

// The coefficients of macroblock n of the picture shown; nothing when the
// coefficient file cannot be read.
std::optional<MbCoefficients> mb_coefficients(Vp8ModuleState& state, int n);

}  // namespace tavimor
