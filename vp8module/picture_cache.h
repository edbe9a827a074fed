// The picture cache: three files (Final, Pre-LoopFilter, Predicted) holding
// pictures, each as its luma plane, then U, then V, without a header, at the
// offsets the working files' budget gives them.
#pragma once

#include <cstdint>
#include <string>

#include "vp8dec/planar_picture.h"
#include "vp8module/gathered_io.h"

namespace tavimor {

class PictureCache {
  public:
    PictureCache() = default;
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;
    ~PictureCache() { close(); }

    // Creates or truncates the three files "<folder>mbist_pic_<n>.bin".
    bool open(const std::string& folder);
    void close();
    bool is_open() const { return files_[0] >= 0; }

    // Writes the three pictures at the offsets, each straight from its rows.
    bool store(const vp8::PlanarPicture* const pictures[3], const int64_t offsets[3]);
    // Cuts the files to the lengths.
    bool truncate(const int64_t lengths[3]);
    // The bytes a picture takes in a file.
    static int64_t bytes_of(const vp8::PlanarPicture& picture);
    // Reads the three pictures stored at the offsets into pictures of the same size.
    bool recall(const int64_t offsets[3], vp8::PlanarPicture* const pictures[3]);

  private:
    int files_[3] = {-1, -1, -1};
    // The rows of the picture being written or read, kept from one picture
    // to the next.
    Pieces pieces_;
};

}  // namespace tavimor
