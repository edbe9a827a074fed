// The container file as the Matroska walk reads it: a buffered reader that
// knows its absolute position, and the EBML variable-length integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace tavimor::matroska {

// Reads the file through a buffer of its own: the walk's many small reads
// cost no library call each, a skip inside the buffer costs no seek, and a
// skip past it costs one seek and no reading, so that memory stays the same
// whatever the file's size.
class EbmlInput {
  public:
    // Reading starts at the file's start. The size is the file's as measured
    // when it was opened; reading also stops where the file really ends,
    // should it be shorter.
    EbmlInput(std::FILE* file, uint64_t size);

    uint64_t position() const { return buffer_start_ + buffer_pos_; }
    uint64_t size() const { return size_; }
    // Whether no byte is left to read.
    bool at_end();

    bool read_byte(uint8_t& byte);
    // Reads up to count bytes; fewer only at the end of the file.
    size_t read(uint8_t* bytes, size_t count);
    // Copies up to count bytes to the output; fewer only at the end of the
    // file. A failing write shows in the output's error flag.
    uint64_t copy_to(std::FILE* output, uint64_t count);
    // Moves to an absolute position; past the end of the file means the end.
    void seek(uint64_t position);

  private:
    bool fill();

    std::FILE* file_;
    uint64_t size_;
    std::vector<uint8_t> buffer_;
    uint64_t buffer_start_ = 0;  // file position of buffer_[0]
    size_t buffer_length_ = 0;
    size_t buffer_pos_ = 0;
    uint64_t file_pos_ = UINT64_MAX;  // where the file's next read starts (unknown at first)
    bool file_ended_ = false;         // a read came back short: nothing lies beyond
};

// Results of reading a variable-length integer.
inline constexpr int kVintOk = 0;
inline constexpr int kVintEnd = -1;        // no byte left
inline constexpr int kVintEndInside = -2;  // the file ends inside it
inline constexpr int kVintCorrupt = -3;    // no marker bit within the allowed length

struct Vint {
    uint64_t value = 0;
    int length = 0;
};

// Reads one integer of at most max_length bytes: the first byte's highest
// set bit gives the length; identifiers keep that marker bit (so they equal
// their stored bytes), sizes and track numbers do not. On failure the reason
// is written to the messages and one of the codes above returned; the
// position is then past what was read.
int read_vint(EbmlInput& input, int max_length, bool keep_marker, std::FILE* messages, Vint& vint);

// Whether a size has all its value bits set: an element of unknown size.
inline bool is_unknown_size(const Vint& size) {
    return size.length >= 1 && size.length <= 8 &&
           size.value == (uint64_t{1} << (7 * size.length)) - 1;
}

}  // namespace tavimor::matroska
