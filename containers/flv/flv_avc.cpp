// Video tags: the frame type and codec, and for H.264 the AVC packet, whose
// parameter sets and NAL units go to the output, each after a start code.
// Every length the file gives is honoured only as far as the tag and the
// file reach.
#include <algorithm>

#include "containers/flv/flv_state.h"

namespace tavimor::flv {

namespace {

constexpr uint8_t kCodecAvc = 7;
constexpr uint8_t kSequenceHeader = 0;
constexpr uint8_t kNalUnits = 1;
constexpr uint8_t kEndOfSequence = 2;
// NAL units split before any sequence header gave their length size.
constexpr int kDefaultNalLengthSize = 4;
// NAL units are copied in pieces of at most this size, whatever their length.
constexpr size_t kCopyPiece = 64 * 1024;

constexpr uint8_t kStartCode[] = {0, 0, 0, 1};

void write_unit(DemuxerContext& context, const uint8_t* bytes, size_t size) {
    std::fwrite(kStartCode, 1, sizeof kStartCode, context.raw_output);
    std::fwrite(bytes, 1, size, context.raw_output);
}

// Writes count parameter sets, each stored after its 16-bit length, from
// offset at of the record on; false (with nothing more written) when one
// runs past the record's end.
bool write_parameter_sets(DemuxerContext& context, const uint8_t* record, size_t size, size_t& at,
                          int count) {
    for (int i = 0; i < count; ++i) {
        if (size - at < 2) return false;
        const size_t length = big_endian(record + at, 2);
        at += 2;
        if (size - at < length) return false;
        write_unit(context, record + at, length);
        at += length;
    }
    return true;
}

// An AVC decoder configuration record: the NAL length size and the
// parameter sets, sequence sets first.
void read_sequence_header(DemuxerContext& context, FlvState& state, FlvInput& input,
                          uint64_t data_end) {
    // No more than the file still holds is allocated, whatever the tag claims.
    const uint64_t wanted = std::min(data_end - input.position(), input.left());
    const size_t size = static_cast<size_t>(wanted);
    if (state.buffer.size() < size) state.buffer = std::vector<uint8_t>(size);
    const uint64_t before = input.position();
    input.read(state.buffer.data(), size);
    const size_t got = static_cast<size_t>(input.position() - before);
    const uint8_t* record = state.buffer.data();
    if (got < 5) return;
    state.nal_length_size = (record[4] & 3) + 1;
    size_t at = 5;
    if (got - at < 1) return;
    const int sequence_sets = record[at++] & 0x1F;
    if (!write_parameter_sets(context, record, got, at, sequence_sets)) return;
    if (got - at < 1) return;
    const int picture_sets = record[at++];
    write_parameter_sets(context, record, got, at, picture_sets);
}

// Length-prefixed NAL units up to the end of the tag. A unit whose length
// reaches past the tag or the file ends the tag's units: none is written
// in part.
void copy_nal_units(DemuxerContext& context, FlvState& state, FlvInput& input, uint64_t data_end) {
    const int length_size = state.nal_length_size ? state.nal_length_size : kDefaultNalLengthSize;
    while (input.position() < data_end) {
        const uint64_t room = std::min(data_end - input.position(), input.left());
        if (room < static_cast<uint64_t>(length_size)) return;
        uint8_t prefix[4];
        if (!input.read(prefix, static_cast<size_t>(length_size))) return;
        const uint32_t length = big_endian(prefix, length_size);
        if (length > room - static_cast<uint64_t>(length_size)) return;
        // Large units in large pieces: the work buffer grows once, to a bounded size.
        if (state.buffer.size() < kCopyPiece && length > state.buffer.size())
            state.buffer = std::vector<uint8_t>(kCopyPiece);
        std::fwrite(kStartCode, 1, sizeof kStartCode, context.raw_output);
        if (!input.copy_to(context.raw_output, length, state.buffer)) return;
    }
}

}  // namespace

bool handle_video_tag(DemuxerContext& context, FlvState& state, FlvInput& input,
                      uint64_t data_end) {
    uint8_t first = 0;
    if (input.position() >= data_end || !input.read(&first, 1)) return true;
    const uint8_t codec = first & 0x0F;
    structure_line(context, "\t\tFrameType = %d\n", first >> 4);
    structure_line(context, "\t\tCodecIC = %d\n", codec);
    if (codec != kCodecAvc) {
        structure_line(context, "\t\tVIDEOPACKET(Not H.264/AVC)\n");
        if (!state.codec_warned) {
            state.codec_warned = true;
            warn_codec(context, "Unsupported codec, skipping");
        }
        return true;
    }
    if (ask_output_once() && !switch_to_codec_output(context, kFoundH264)) return false;
    structure_line(context, "\t\tAVCVIDEOPACKET\n");
    // The packet type and the composition time, when the tag holds them.
    uint8_t packet[4];
    if (data_end - input.position() < sizeof packet || !input.read(packet, sizeof packet))
        return true;
    const uint8_t packet_type = packet[0];
    structure_line(context, "\t\t\tAVCPacketType = %d\n", packet_type);
    if (packet_type == kSequenceHeader) {
        structure_line(context, "\t\t\t\tseqence header\n");
        read_sequence_header(context, state, input, data_end);
    } else if (packet_type == kNalUnits) {
        structure_line(context, "\t\t\t\tNALU\n");
        copy_nal_units(context, state, input, data_end);
    } else if (packet_type == kEndOfSequence) {
        structure_line(context, "\t\t\t\tend of sequence\n");
    }
    structure_line(context, "\t\t\tCompositionTime = %u\n", big_endian(packet + 1, 3));
    return true;
}

}  // namespace tavimor::flv
