// The IVF layout a VP8 track is written in: a 32-byte file header, then per
// frame a 12-byte header and the frame's bytes.
#pragma once

#include <array>
#include <cstdint>

namespace tavimor::matroska {

struct IvfStreamInfo {
    uint16_t width = 0;
    uint16_t height = 0;
    uint32_t rate = 0;  // frames per second as rate / scale
    uint32_t scale = 0;
    uint32_t frame_count = 0;
};

// "DKIF", version 0, header size 32, "VP80", then the fields above
// (little-endian), the last four bytes zero.
std::array<uint8_t, 32> ivf_file_header(const IvfStreamInfo& info);

// The frame's size (32 bits) and time stamp (64 bits), little-endian.
std::array<uint8_t, 12> ivf_frame_header(uint32_t frame_size, uint64_t timestamp);

struct FrameRate {
    uint32_t rate = 0;
    uint32_t scale = 0;
};

// The rate and scale of frames lasting the given nanoseconds: a whole number
// of frames per second, or the NTSC-style n * 1000 / 1001, where the
// duration is that within a ten-thousandth (durations are stored rounded to
// whole nanoseconds or milliseconds); otherwise thousandths of frames per
// second. Nothing (0 / 0) for a duration that is not positive.
FrameRate frame_rate_of(double frame_nanoseconds);

}  // namespace tavimor::matroska
