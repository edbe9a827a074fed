// An original video to compare the decoded pictures with: raw I420 at the
// stream's display size, or YUV4MPEG2 (4:2:0) whose header gives its size and
// frame rate.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "vp8dec/planar_picture.h"

namespace tavimor {

class ReferenceVideo {
  public:
    // Opens the file for pictures of width x height; on failure the text
    // says why (a size that does not match, a header that is not 4:2:0 YUV4MPEG2...).
    static std::unique_ptr<ReferenceVideo> open(const std::string& path, int width, int height,
                                                std::string& failure);

    int width() const { return width_; }
    int height() const { return height_; }
    int pictures() const { return static_cast<int>(offsets_.size()); }
    // Frames per second from a YUV4MPEG2 header; 0 when the file has none.
    double frame_rate() const { return frame_rate_; }

    // Reads picture n (from 0) into the picture, which must be at least the
    // video's size; false when the video has no picture n.
    bool read(int n, vp8::PlanarPicture& picture);

  private:
    ReferenceVideo() = default;
    bool index_y4m(std::string& failure);
    void index_raw();
    size_t picture_bytes() const;

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, std::fclose};
    int width_ = 0;
    int height_ = 0;
    double frame_rate_ = 0;
    int64_t size_ = 0;
    std::vector<int64_t> offsets_;  // of each picture's samples
};

}  // namespace tavimor
