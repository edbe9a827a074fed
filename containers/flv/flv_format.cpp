#include "containers/flv/flv_format.h"

#include <atomic>
#include <cstdarg>
#include <cstring>
#include <memory>

#include "containers/flv/flv_state.h"

namespace tavimor::flv {

namespace {

std::atomic<int64_t> next_tag{0};
std::atomic<bool> output_asked{false};

constexpr size_t kFileHeaderSize = 9;
constexpr size_t kTagHeaderSize = 15;  // with the previous tag's size before it
constexpr uint8_t kAudioAndVideo = 5;

constexpr uint8_t kTagAudio = 8;
constexpr uint8_t kTagVideo = 9;
constexpr uint8_t kTagScript = 18;

FlvState& state_of(DemuxerContext& context) {
    return static_cast<FlvState&>(*context.state);
}

std::unique_ptr<FormatState> make_state() {
    return std::make_unique<FlvState>();
}

int setup(DemuxerContext& context) {
    state_of(context).buffer.assign(kWorkBufferSize, 0);
    return kFormatOk;
}

// The file header, written only for a file with both audio and video; the
// tags then start at its data offset, else right after the bytes read.
int header(DemuxerContext& context) {
    std::FILE* input = context.input;
    if (std::fseek(input, 0, SEEK_SET) != 0) return kFormatOk;
    uint8_t bytes[kFileHeaderSize];
    if (std::fread(bytes, 1, sizeof bytes, input) != sizeof bytes ||
        std::memcmp(bytes, "FLV", 3) != 0)
        return kFormatOk;
    const uint8_t flags = bytes[4];
    if (flags != kAudioAndVideo) return kFormatOk;
    const uint32_t data_offset = big_endian(bytes + 5, 4);
    structure_line(context, "FLV header\n");
    structure_line(context, "\tSignature   -> FLV\n");
    structure_line(context, "\tVersion = %d\n", bytes[3]);
    structure_line(context, "\tTypeFlagsReserved = %d\n", static_cast<int8_t>(flags) >> 3);
    structure_line(context, "\tTypeFlagsAudio = %d\n", (flags >> 2) & 1);
    structure_line(context, "\tTypeFlagsReserved = %d\n", (flags >> 1) & 1);
    structure_line(context, "\tTypeFlagsVideo = %d\n", flags & 1);
    structure_line(context, "\tDataOffset = %u\n", data_offset);
    // An offset past the end leaves no tag to read.
    std::fseek(input, static_cast<long>(data_offset), SEEK_SET);
    return kFormatOk;
}

TagHeader parse_tag_header(const uint8_t* bytes) {
    TagHeader tag;
    tag.previous_tag_size = big_endian(bytes, 4);
    tag.type = bytes[4];
    tag.data_size = big_endian(bytes + 5, 3);
    tag.timestamp = big_endian(bytes + 8, 3);
    tag.timestamp_extended = bytes[11];
    tag.stream_id = big_endian(bytes + 12, 3);
    return tag;
}

// Every tag until the file ends: its header lines, its kind, and for video
// the codec and the AVC packet. Whatever a tag's data holds, the next tag is
// read where its data size says the data ends. A file's last 4 bytes (the
// last tag's size) are too few for a tag and end the loop.
int body(DemuxerContext& context) {
    FlvState& state = state_of(context);
    const long start = std::ftell(context.input);
    if (start < 0) return kFormatOk;
    FlvInput input(context.input, static_cast<uint64_t>(context.input_size));
    if (!input.seek(static_cast<uint64_t>(start))) return kFormatOk;
    uint8_t bytes[kTagHeaderSize];
    while (input.read(bytes, sizeof bytes)) {
        const TagHeader tag = parse_tag_header(bytes);
        state.tag = tag;
        structure_line(context, "tag %lld\n", static_cast<long long>(next_tag.fetch_add(1)));
        structure_line(context, "\tPreviousTagSize = %u\n", tag.previous_tag_size);
        structure_line(context, "\tTagType = %d\n", tag.type);
        structure_line(context, "\tDataSize = %u\n", tag.data_size);
        structure_line(context, "\tTimestamp = %u\n", tag.timestamp);
        structure_line(context, "\tTimestampExtended = %d\n", tag.timestamp_extended);
        structure_line(context, "\tStreamID = %u\n", tag.stream_id);
        const uint64_t data_end = input.position() + tag.data_size;
        if (tag.type == kTagAudio) {
            structure_line(context, "\tAudio Data\n");
        } else if (tag.type == kTagScript) {
            structure_line(context, "\tMeta Data\n");
        } else if (tag.type == kTagVideo) {
            structure_line(context, "\tVideo Data\n");
            if (!handle_video_tag(context, state, input, data_end)) return kFormatFailed;
        }
        if (!input.seek(data_end)) break;
    }
    return kFormatOk;
}

int cleanup(DemuxerContext& context) {
    std::vector<uint8_t>().swap(state_of(context).buffer);
    return kFormatOk;
}

}  // namespace

FlvInput::FlvInput(std::FILE* file, uint64_t size) : file_(file), size_(size), position_(0) {}

bool FlvInput::read(uint8_t* bytes, size_t count) {
    const size_t got = std::fread(bytes, 1, count, file_);
    position_ += got;
    return got == count;
}

bool FlvInput::seek(uint64_t position) {
    if (position == position_) return true;
    if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) return false;
    position_ = position;
    return true;
}

bool FlvInput::copy_to(std::FILE* output, uint64_t count, std::vector<uint8_t>& buffer) {
    while (count > 0) {
        const size_t chunk = count < buffer.size() ? static_cast<size_t>(count) : buffer.size();
        const size_t got = std::fread(buffer.data(), 1, chunk, file_);
        position_ += got;
        std::fwrite(buffer.data(), 1, got, output);
        if (got != chunk) return false;
        count -= got;
    }
    return true;
}

void structure_line(DemuxerContext& context, const char* format, ...) {
    if (!context.structure_text) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(context.structure_text, format, arguments);
    va_end(arguments);
}

bool ask_output_once() {
    return !output_asked.exchange(true);
}

FlvSession flv_session() {
    return {next_tag.load(), output_asked.load()};
}

void set_flv_session(const FlvSession& session) {
    next_tag = session.next_tag;
    output_asked = session.output_asked;
}

// No middle step: the header reads the file header, the body the tags.
const FormatOperations kFlvFormat = {"FLV/F4V", make_state, setup, header, nullptr, body, cleanup};

}  // namespace tavimor::flv
