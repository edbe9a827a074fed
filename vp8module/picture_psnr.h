// How far a decoded picture is from the original: the PSNR of each plane and
// of all three (their squared errors weighted 6:1:1), or "identical".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vp8dec/planar_picture.h"

namespace tavimor {

// A plane whose samples all equal the original's has no finite PSNR; it is
// shown as this many dB when the picture as a whole is not identical.
inline constexpr double kPsnrOfEqualPlane = 100.0;

struct PicturePsnr {
    bool identical = false;
    double y = 0, u = 0, v = 0, all = 0;  // dB
};

// Compares the top-left width x height of the two pictures (chroma rounded up).
PicturePsnr picture_psnr(const vp8::PlanarPicture& decoded, const vp8::PlanarPicture& original,
                         int width, int height);

// The PSNR of the pictures of a stream, one per shown picture (nothing where
// the original has no picture or the sizes differ).
struct StreamPsnr {
    std::vector<std::optional<PicturePsnr>> pictures;

    // Averages over the compared pictures that are not identical (all of them
    // identical: nothing); the lowest combined PSNR and its picture number (from 1).
    std::optional<PicturePsnr> average() const;
    std::optional<std::pair<int, PicturePsnr>> minimum() const;
    int compared() const;
    int identical() const;
};

// "45.27": two decimals.
std::string psnr_value(double db);

}  // namespace tavimor
