#include "vp8module/reference_video.h"

#include <cstring>
#include <sstream>

namespace tavimor {

namespace {

constexpr const char* kY4mMagic = "YUV4MPEG2";
constexpr size_t kMaxHeaderLine = 1024;

// One header line (without its line break); false when there is none within
// the limit.
bool read_line(std::FILE* file, std::string& line) {
    line.clear();
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (c == '\n') return true;
        if (line.size() == kMaxHeaderLine) return false;
        line.push_back(static_cast<char>(c));
    }
    return false;
}

// The YUV4MPEG2 colour spaces of 8-bit 4:2:0 pictures (they differ only in
// where the chroma samples sit).
bool is_eight_bit_420(const std::string& colour_space) {
    for (const char* name : {"420", "420jpeg", "420paldv", "420mpeg2", "420p"})
        if (colour_space == name) return true;
    return false;
}

std::string size_text(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

size_t ReferenceVideo::picture_bytes() const {
    const size_t chroma = static_cast<size_t>((width_ + 1) / 2) * ((height_ + 1) / 2);
    return static_cast<size_t>(width_) * height_ + 2 * chroma;
}

std::unique_ptr<ReferenceVideo> ReferenceVideo::open(const std::string& path, int width, int height,
                                                     std::string& failure) {
    std::unique_ptr<ReferenceVideo> video(new ReferenceVideo());
    video->file_.reset(std::fopen(path.c_str(), "rb"));
    if (!video->file_ || width <= 0 || height <= 0) {
        failure = "the file " + path + " cannot be read";
        return nullptr;
    }
    std::FILE* file = video->file_.get();
    std::fseek(file, 0, SEEK_END);
    video->size_ = std::ftell(file);
    std::rewind(file);
    char magic[9] = {};
    const bool y4m = std::fread(magic, 1, 9, file) == 9 && std::memcmp(magic, kY4mMagic, 9) == 0;
    std::rewind(file);
    video->width_ = width;
    video->height_ = height;
    if (y4m) {
        if (!video->index_y4m(failure)) return nullptr;
        if (video->width_ != width || video->height_ != height) {
            failure = "the original is " + size_text(video->width_, video->height_) +
                      ", the stream " + size_text(width, height);
            return nullptr;
        }
    } else {
        if (video->size_ % static_cast<int64_t>(video->picture_bytes()) != 0) {
            failure = "the file's size is no whole number of " + size_text(width, height) +
                      " I420 pictures";
            return nullptr;
        }
        video->index_raw();
    }
    if (video->pictures() == 0) {
        failure = "the file holds no picture";
        return nullptr;
    }
    return video;
}

void ReferenceVideo::index_raw() {
    const int64_t bytes = static_cast<int64_t>(picture_bytes());
    for (int64_t at = 0; at + bytes <= size_; at += bytes) offsets_.push_back(at);
}

bool ReferenceVideo::index_y4m(std::string& failure) {
    std::FILE* file = file_.get();
    std::string line;
    if (!read_line(file, line)) {
        failure = "the YUV4MPEG2 header cannot be read";
        return false;
    }
    std::istringstream fields(line.substr(std::strlen(kY4mMagic)));
    std::string field;
    width_ = height_ = 0;
    while (fields >> field) {
        if (field[0] == 'W') width_ = std::atoi(field.c_str() + 1);
        if (field[0] == 'H') height_ = std::atoi(field.c_str() + 1);
        if (field[0] == 'F') {
            const int numerator = std::atoi(field.c_str() + 1);
            const size_t colon = field.find(':');
            const int denominator =
                colon == std::string::npos ? 0 : std::atoi(field.c_str() + colon + 1);
            if (numerator > 0 && denominator > 0) frame_rate_ = double(numerator) / denominator;
        }
        if (field[0] == 'C' && !is_eight_bit_420(field.substr(1))) {
            failure = "the original's pictures are " + field.substr(1) + ", not 4:2:0";
            return false;
        }
    }
    if (width_ <= 0 || height_ <= 0) {
        failure = "the YUV4MPEG2 header gives no picture size";
        return false;
    }
    const int64_t bytes = static_cast<int64_t>(picture_bytes());
    while (read_line(file, line) && line.compare(0, 5, "FRAME") == 0) {
        const int64_t at = std::ftell(file);
        if (at + bytes > size_) break;  // a picture cut short is no picture
        offsets_.push_back(at);
        if (std::fseek(file, bytes, SEEK_CUR) != 0) break;
    }
    return true;
}

bool ReferenceVideo::read(int n, vp8::PlanarPicture& picture) {
    if (n < 0 || n >= pictures() || picture.width < width_ || picture.height < height_ ||
        !picture.chroma_rows)
        return false;
    std::FILE* file = file_.get();
    if (std::fseek(file, offsets_[n], SEEK_SET) != 0) return false;
    bool whole = true;
    for (int r = 0; r < height_; ++r)
        whole &= std::fread(picture.luma_rows[r], 1, width_, file) == static_cast<size_t>(width_);
    const int chroma_width = (width_ + 1) / 2, chroma_height = (height_ + 1) / 2;
    for (int plane = 0; plane < 2; ++plane)
        for (int r = 0; r < chroma_height; ++r)
            whole &= std::fread(picture.chroma_rows[plane][r], 1, chroma_width, file) ==
                     static_cast<size_t>(chroma_width);
    return whole;
}

}  // namespace tavimor
