// The FLV/F4V parser's own state and the pieces its tag loop and its AVC
// video handling share.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "containers/demuxer_context.h"

namespace tavimor::flv {

// The container file as the parser reads it: each read knows where it ends
// up, so that every tag is left at the end its data size gives.
class FlvInput {
  public:
    // Reading goes on from the file's current position.
    FlvInput(std::FILE* file, uint64_t size);

    uint64_t position() const { return position_; }
    // Bytes from the position to the end of the file as measured when the
    // run opened it (0 past it).
    uint64_t left() const { return position_ < size_ ? size_ - position_ : 0; }
    // Reads count bytes; false when the file ends first (the bytes read
    // are consumed all the same).
    bool read(uint8_t* bytes, size_t count);
    // Moves to an absolute position; past the end of the file is allowed,
    // reads there fail. False when the file cannot be positioned.
    bool seek(uint64_t position);
    // Copies count bytes to the output through the buffer; false when the
    // file ends first. A failing write shows in the output's error flag.
    bool copy_to(std::FILE* output, uint64_t count, std::vector<uint8_t>& buffer);

  private:
    std::FILE* file_;
    uint64_t size_;
    uint64_t position_;
};

// The header fields of a tag, as read.
struct TagHeader {
    uint32_t previous_tag_size = 0;
    uint8_t type = 0;
    uint32_t data_size = 0;
    uint32_t timestamp = 0;
    uint8_t timestamp_extended = 0;
    uint32_t stream_id = 0;
};

inline constexpr size_t kWorkBufferSize = 4096;

// A big-endian number of count bytes (at most 4).
inline uint32_t big_endian(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
    return value;
}

struct FlvState : FormatState {
    // Holds an AVC decoder configuration record, and NAL units on their way
    // to the output: 4096 bytes at setup, grown for a larger record.
    std::vector<uint8_t> buffer;
    // Bytes of each NAL unit's length, from the last AVC sequence header;
    // 0 until one has been read.
    int nal_length_size = 0;
    TagHeader tag;
    bool codec_warned = false;  // "Unsupported codec, skipping" was shown in this run
};

// Writes one line of the structure text, when the run has one.
void structure_line(DemuxerContext& context, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// True the first time in the process, when the output path is to be asked
// for; false ever after.
bool ask_output_once();

// Handles the data of a video tag, which ends at data_end (an absolute
// position): the frame type and codec lines, and for AVC the packet with its
// parameter sets or NAL units into the output. The caller moves to data_end
// afterwards. False when the run must stop (the output could not be set up).
bool handle_video_tag(DemuxerContext& context, FlvState& state, FlvInput& input, uint64_t data_end);

}  // namespace tavimor::flv
