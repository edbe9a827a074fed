// The PES packets of the video and audio PIDs: each header's text in the PES
// text, the payloads after the headers into the outputs.
#include <cstdio>

#include "containers/ts/text_lines.h"
#include "containers/ts/ts_state.h"

namespace tavimor::ts {

namespace {

constexpr size_t kShortHeader = 6;  // start code, stream_id and PES_packet_length
constexpr size_t kFlagsHeader = 9;  // with the two flag bytes and PES_header_data_length
constexpr size_t kTimestampSize = 5;

// Stream ids whose PES packets have no flags and optional fields after the length.
bool has_flags(int stream_id) {
    switch (stream_id) {
        case 0xBC:  // program stream map
        case 0xBE:  // padding
        case 0xBF:  // private stream 2
        case 0xF0:  // ECM
        case 0xF1:  // EMM
        case 0xF2:  // DSM-CC
        case 0xF8:  // H.222.1 type E
        case 0xFF:  // program stream directory
            return false;
        default:
            return true;
    }
}

// A 33-bit time stamp in five bytes: the four-bit prefix, then 3, 15 and 15
// bits, each part followed by a marker bit of 1. False when the prefix or a
// marker is wrong.
bool read_timestamp(const uint8_t* bytes, int prefix, int64_t& value) {
    if ((bytes[0] >> 4) != prefix || !(bytes[0] & 1) || !(bytes[2] & 1) || !(bytes[4] & 1))
        return false;
    value = (static_cast<int64_t>((bytes[0] >> 1) & 0x07) << 30) |
            (static_cast<int64_t>(bytes[1]) << 22) | (static_cast<int64_t>(bytes[2] >> 1) << 15) |
            (static_cast<int64_t>(bytes[3]) << 7) | (bytes[4] >> 1);
    return true;
}

// The PTS (and DTS) the flags announce, inside the header's size, with their
// lines; false when one does not fit or its prefix or a marker bit is wrong.
bool read_time_stamps(const uint8_t* header, size_t header_size, int pts_dts_flags,
                      TextLines& lines) {
    const uint8_t* stamp = header + kFlagsHeader;
    int64_t value = 0;
    if (pts_dts_flags & 2) {
        if (header_size < kFlagsHeader + kTimestampSize ||
            !read_timestamp(stamp, pts_dts_flags == 3 ? 3 : 2, value))
            return false;
        lines.add("\tPTS = ", value, "\n");
    }
    if (pts_dts_flags == 3) {
        if (header_size < kFlagsHeader + 2 * kTimestampSize ||
            !read_timestamp(stamp + kTimestampSize, 1, value))
            return false;
        lines.add("\tDTS = ", value, "\n");
    }
    return true;
}

// Reads the PES header at the start of the payload and writes its text; the
// header's size, or 0 when the packet is dropped.
size_t read_header(TsState& state, int pid, const uint8_t* payload, size_t size) {
    if (size < kShortHeader || payload[0] != 0 || payload[1] != 0 || payload[2] != 1) return 0;
    const int stream_id = payload[3];
    const bool flags = has_flags(stream_id);
    // The header's fixed part must lie in this packet.
    if (flags && size < kFlagsHeader) return 0;

    TextLines lines;
    if (state.pes_bytes != 0) lines.add("\tPES_packet_data_byte(", state.pes_bytes, "bytes)\n");
    state.pes_bytes = 0;
    lines.add("PES_packet(PID=", pid,
              ")\n\tpacket_start_code_prefix = 0x001\n\tstream_id = ", stream_id,
              "\n\tPES_packet_length = ", (payload[4] << 8) | payload[5], "\n");
    if (!flags) {
        lines.write_to(state.pes_text);
        return kShortHeader;
    }
    const uint8_t first = payload[6];
    const uint8_t second = payload[7];
    const int pts_dts_flags = second >> 6;
    const size_t header_size = kFlagsHeader + payload[8];
    lines.add("\t'10'\n\tPES_scrambling_control = ", (first >> 4) & 3,
              "\n\tPES_priority = ", (first >> 3) & 1,
              "\n\tdata_alignment_indicator = ", (first >> 2) & 1,
              "\n\tcopyright = ", (first >> 1) & 1, "\n\toriginal_or_copy = ", first & 1, "\n");
    lines.add("\tPTS_DTS_flags = ", pts_dts_flags, "\n\tESCR_flag = ", (second >> 5) & 1,
              "\n\tES_rate_flag = ", (second >> 4) & 1,
              "\n\tDSM_trick_mode_flag = ", (second >> 3) & 1,
              "\n\tadditional_copy_info_flag = ", (second >> 2) & 1,
              "\n\tPES_CRC_flag = ", (second >> 1) & 1, "\n\tPES_extension_flag = ", second & 1,
              "\n\tPES_header_data_length = ", payload[8], "\n");

    const bool taken = (first >> 6) == 2 && header_size <= size &&
                       read_time_stamps(payload, header_size, pts_dts_flags, lines);
    lines.write_to(state.pes_text);
    return taken ? header_size : 0;
}

}  // namespace

void pes_step(DemuxerContext& context, TsState& state, int pid, bool unit_start,
              const uint8_t* payload, size_t size) {
    const bool video = pid == state.video_pid;
    PesStream& stream = video ? state.video : state.audio;
    if (unit_start) {
        const size_t header = read_header(state, pid, payload, size);
        stream.pid = pid;
        stream.open = header != 0;
        payload += header;
        size -= header;
    }
    // A packet continuing a PES packet whose header was not taken (or of
    // which the stream shows no start) has nothing to add.
    if (!stream.open || stream.pid != pid) return;
    state.pes_bytes += static_cast<int64_t>(size);
    std::FILE* output = video ? context.raw_output : context.second_output;
    if (output && size > 0) std::fwrite(payload, 1, size, output);
}

}  // namespace tavimor::ts
