#include "vp8module/picture_psnr.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace tavimor {

namespace {

struct PlaneError {
    uint64_t squared = 0;
    uint64_t samples = 0;
    double mse() const { return samples ? double(squared) / double(samples) : 0.0; }
};

PlaneError plane_error(uint8_t* const* a, uint8_t* const* b, int width, int height) {
    PlaneError error;
    for (int r = 0; r < height; ++r) {
        const uint8_t* x = a[r];
        const uint8_t* y = b[r];
        for (int c = 0; c < width; ++c) {
            const int d = int{x[c]} - int{y[c]};
            error.squared += static_cast<uint64_t>(d * d);
        }
    }
    error.samples = static_cast<uint64_t>(width) * height;
    return error;
}

double psnr_of(double mse) {
    return mse == 0 ? kPsnrOfEqualPlane : 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace

PicturePsnr picture_psnr(const vp8::PlanarPicture& decoded, const vp8::PlanarPicture& original,
                         int width, int height) {
    const int chroma_width = (width + 1) / 2, chroma_height = (height + 1) / 2;
    const PlaneError y = plane_error(decoded.luma_rows, original.luma_rows, width, height);
    const PlaneError u =
        plane_error(decoded.chroma_rows[0], original.chroma_rows[0], chroma_width, chroma_height);
    const PlaneError v =
        plane_error(decoded.chroma_rows[1], original.chroma_rows[1], chroma_width, chroma_height);
    PicturePsnr psnr;
    psnr.identical = y.squared == 0 && u.squared == 0 && v.squared == 0;
    psnr.y = psnr_of(y.mse());
    psnr.u = psnr_of(u.mse());
    psnr.v = psnr_of(v.mse());
    psnr.all = psnr_of((6 * y.mse() + u.mse() + v.mse()) / 8);
    return psnr;
}

std::optional<PicturePsnr> StreamPsnr::average() const {
    PicturePsnr sum;
    int count = 0;
    for (const auto& picture : pictures) {
        if (!picture || picture->identical) continue;
        sum.y += picture->y;
        sum.u += picture->u;
        sum.v += picture->v;
        sum.all += picture->all;
        ++count;
    }
    if (count == 0) return std::nullopt;
    return PicturePsnr{false, sum.y / count, sum.u / count, sum.v / count, sum.all / count};
}

std::optional<std::pair<int, PicturePsnr>> StreamPsnr::minimum() const {
    std::optional<std::pair<int, PicturePsnr>> lowest;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const auto& picture = pictures[i];
        if (!picture || picture->identical) continue;
        if (!lowest || picture->all < lowest->second.all)
            lowest = std::make_pair(static_cast<int>(i) + 1, *picture);
    }
    return lowest;
}

int StreamPsnr::compared() const {
    int count = 0;
    for (const auto& picture : pictures) count += picture ? 1 : 0;
    return count;
}

int StreamPsnr::identical() const {
    int count = 0;
    for (const auto& picture : pictures) count += picture && picture->identical ? 1 : 0;
    return count;
}

std::string psnr_value(double db) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", db);
    return text;
}

}  // namespace tavimor
