// Reading an IVF stream frame by frame: a 32-byte file header starting with
// "DKIF", then per frame a 12-byte header (32-bit size, 64-bit timestamp) and
// the frame's bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tavimor {

struct IvfFileHeader {
    uint16_t version;
    uint16_t header_size;
    uint32_t fourcc;
    uint16_t width;
    uint16_t height;
    uint32_t rate;   // frame rate numerator
    uint32_t scale;  // frame rate denominator
    uint32_t frame_count;
};

inline constexpr size_t kIvfFileHeaderSize = 32;
inline constexpr size_t kIvfFrameHeaderSize = 12;

enum class IvfStatus {
    kFrame,      // a whole frame was read
    kEnd,        // no further frame header
    kHeaderCut,  // a frame header ends early (no complete 12 bytes)
    kTruncated,  // a frame's data ends early
};

class IvfReader {
  public:
    IvfReader() = default;
    IvfReader(const IvfReader&) = delete;
    IvfReader& operator=(const IvfReader&) = delete;
    ~IvfReader();

    // Opens the file and reads its header; false when it cannot be opened or
    // does not start with "DKIF" (nothing stays open then).
    bool open(const std::string& path);
    void close();
    bool is_open() const { return file_ != nullptr; }

    const IvfFileHeader& header() const { return header_; }

    // Reads the next frame into data. A frame larger than what remains of the
    // file is reported as truncated before anything is allocated for it.
    IvfStatus read_frame(std::vector<uint8_t>& data, uint64_t* timestamp = nullptr);

    // Byte offset of the next frame header.
    int64_t position() const;
    bool seek(int64_t position);

  private:
    std::FILE* file_ = nullptr;
    int64_t file_size_ = 0;
    IvfFileHeader header_{};
};

// True when the file's first four bytes are "DKIF".
bool is_ivf_file(const std::string& path);

}  // namespace tavimor
