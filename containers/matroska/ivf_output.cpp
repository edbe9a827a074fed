#include "containers/matroska/ivf_output.h"

#include <cmath>
#include <cstring>
#include <numeric>

namespace tavimor::matroska {

namespace {

void put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool close_to(double value, double target) {
    return std::fabs(value - target) <= target * 1e-4;
}

}  // namespace

std::array<uint8_t, 32> ivf_file_header(const IvfStreamInfo& info) {
    std::array<uint8_t, 32> header{};
    std::memcpy(header.data(), "DKIF", 4);
    put16(header.data() + 4, 0);
    put16(header.data() + 6, 32);
    std::memcpy(header.data() + 8, "VP80", 4);
    put16(header.data() + 12, info.width);
    put16(header.data() + 14, info.height);
    put32(header.data() + 16, info.rate);
    put32(header.data() + 20, info.scale);
    put32(header.data() + 24, info.frame_count);
    return header;
}

std::array<uint8_t, 12> ivf_frame_header(uint32_t frame_size, uint64_t timestamp) {
    std::array<uint8_t, 12> header{};
    put32(header.data(), frame_size);
    put32(header.data() + 4, static_cast<uint32_t>(timestamp));
    put32(header.data() + 8, static_cast<uint32_t>(timestamp >> 32));
    return header;
}

FrameRate frame_rate_of(double frame_nanoseconds) {
    if (!(frame_nanoseconds > 0)) return {};
    const double fps = 1e9 / frame_nanoseconds;
    constexpr double kLargest = 4294967295.0;
    const double whole = std::round(fps);
    if (whole >= 1 && whole <= kLargest && close_to(fps, whole))
        return {static_cast<uint32_t>(whole), 1};
    const double ntsc = std::round(fps * 1.001);
    if (ntsc >= 1 && ntsc * 1000 <= kLargest && close_to(fps, ntsc * 1000 / 1001))
        return {static_cast<uint32_t>(ntsc * 1000), 1001};
    const double thousandths = std::round(fps * 1000);
    if (thousandths < 1) {
        // Slower than a frame in a thousand seconds: one frame per so many seconds.
        return {1, static_cast<uint32_t>(std::fmin(std::round(1 / fps), kLargest))};
    }
    if (thousandths > kLargest) return {static_cast<uint32_t>(std::fmin(whole, kLargest)), 1};
    const uint32_t rate = static_cast<uint32_t>(thousandths);
    const uint32_t common = std::gcd(rate, 1000u);
    return {rate / common, 1000 / common};
}

}  // namespace tavimor::matroska
