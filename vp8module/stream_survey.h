// The whole stream at a glance, for the stream graph and the comparison with
// an original: the bits of every shown picture (with the frames decoded but
// not shown before it), which are key frames, the frame rate, and the PSNR of
// every picture against an original.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vp8module/picture_psnr.h"

namespace tavimor {

class ReferenceVideo;

struct PictureBits {
    int bits = 0;      // of the picture's frame and the invisible frames before it
    bool key = false;  // a key frame among them
};

struct StreamSurvey {
    std::vector<PictureBits> pictures;
    double frame_rate = 0;  // from the IVF header; 0 when it gives none
};

// Reads the frames' headers of the IVF stream (no decoding); empty when the
// file is no readable IVF stream.
StreamSurvey survey_stream(const std::string& ivf_path);

// The display size of the stream's first key frame; nothing when the file
// is no readable IVF stream or holds no key frame.
std::optional<std::pair<int, int>> first_picture_size(const std::string& ivf_path);

// Decodes the stream and compares each shown picture with the original's
// picture of the same number.
StreamPsnr compare_stream(const std::string& ivf_path, ReferenceVideo& original);

}  // namespace tavimor
