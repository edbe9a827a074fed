#include "containers/ts/ts_format.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "containers/ts/text_lines.h"
#include "containers/ts/ts_state.h"

namespace tavimor::ts {

namespace {

// Whether the output path has been asked for in this process.
bool output_asked = false;

struct AdaptationField {
    int length = 0;
    bool has_flags = false;  // a nonzero length that fits the packet
    uint8_t flags = 0;
    bool has_pcr = false;
    int64_t pcr_base = 0;
    int pcr_extension = 0;
    bool has_opcr = false;
    int64_t opcr_base = 0;
    int opcr_extension = 0;
    bool has_splice_countdown = false;
    int splice_countdown = 0;
    bool has_private_data = false;
    int private_data_length = 0;
    bool has_private_byte = false;
    int private_byte = 0;
};

struct Packet {
    bool sync = false;
    int transport_error = 0;
    int unit_start = 0;
    int priority = 0;
    int pid = kNoPid;
    int scrambling = 0;
    int adaptation_control = 0;
    int continuity = 0;
    AdaptationField adaptation;
    size_t payload_offset = 0;  // 0: no payload
};

// A 33-bit base and 9-bit extension in six bytes, with six reserved bits between.
void read_clock(const uint8_t* bytes, int64_t& base, int& extension) {
    base = (static_cast<int64_t>(bytes[0]) << 25) | (static_cast<int64_t>(bytes[1]) << 17) |
           (static_cast<int64_t>(bytes[2]) << 9) | (static_cast<int64_t>(bytes[3]) << 1) |
           (bytes[4] >> 7);
    extension = ((bytes[4] & 1) << 8) | bytes[5];
}

// The fields of the adaptation field that lie inside its length.
void read_adaptation_field(const uint8_t* packet, AdaptationField& field) {
    field.length = packet[4];
    if (field.length == 0 || field.length > 183) return;
    field.has_flags = true;
    field.flags = packet[5];
    size_t at = 6;
    const size_t end = 5 + static_cast<size_t>(field.length);
    if (field.flags & 0x10) {
        if (at + 6 > end) return;
        field.has_pcr = true;
        read_clock(packet + at, field.pcr_base, field.pcr_extension);
        at += 6;
    }
    if (field.flags & 0x08) {
        if (at + 6 > end) return;
        field.has_opcr = true;
        read_clock(packet + at, field.opcr_base, field.opcr_extension);
        at += 6;
    }
    if (field.flags & 0x04) {
        if (at + 1 > end) return;
        field.has_splice_countdown = true;
        field.splice_countdown = static_cast<int8_t>(packet[at]);
        at += 1;
    }
    if (field.flags & 0x02) {
        if (at + 1 > end) return;
        field.has_private_data = true;
        field.private_data_length = packet[at];
        at += 1;
        if (field.private_data_length > 0 && at < end) {
            field.has_private_byte = true;
            field.private_byte = packet[at];
        }
    }
}

Packet read_packet(const uint8_t* bytes) {
    Packet packet;
    packet.sync = bytes[0] == kSyncByte;
    packet.transport_error = bytes[1] >> 7;
    packet.unit_start = (bytes[1] >> 6) & 1;
    packet.priority = (bytes[1] >> 5) & 1;
    packet.pid = packet.sync ? ((bytes[1] & 0x1F) << 8) | bytes[2] : kNoPid;
    packet.scrambling = bytes[3] >> 6;
    packet.adaptation_control = (bytes[3] >> 4) & 3;
    packet.continuity = bytes[3] & 0x0F;
    if (packet.adaptation_control & 2) read_adaptation_field(bytes, packet.adaptation);
    if (packet.adaptation_control == 1)
        packet.payload_offset = 4;
    else if (packet.adaptation_control == 3 && packet.adaptation.length <= 182)
        packet.payload_offset = 5 + static_cast<size_t>(packet.adaptation.length);
    return packet;
}

const char* pid_label(const TsState& state, int pid) {
    if (pid == kNoPid) return "";
    if (pid == state.video_pid) return "(Video)";
    if (pid == state.audio_pid) return "(Audio)";
    switch (pid) {
        case 0:
            return "(PAT)";
        case 1:
            return "(CAT)";
        case 2:
            return "(TDT)";
        default:
            return "";
    }
}

void write_packet_text(const TsState& state, const Packet& packet, int64_t offset) {
    TextLines lines;
    lines.add("transport_packet(pos=0x");
    lines.hex(static_cast<uint64_t>(offset), 8);
    lines.add(")\n\tsync_byte = 0x47\n\ttransport_error_indicator = ", packet.transport_error,
              "\n\tpayload_unit_start_indicator = ", packet.unit_start,
              "\n\ttransport_priority = ", packet.priority, "\n\tPID = ", packet.pid,
              pid_label(state, packet.pid),
              "\n\ttransport_scrambling_control = ", packet.scrambling,
              "\n\tcontinuity_counter = ", packet.continuity, "\n");
    if (packet.adaptation_control & 2) {
        const AdaptationField& field = packet.adaptation;
        lines.add("\tadaptation_field()\n\t\tadaptation_field_length = ", field.length, "\n");
        if (field.has_flags) {
            const int flags = field.flags;
            lines.add("\t\tdiscontinuity_indicator = ", flags >> 7,
                      "\n\t\trandom_access_indicator = ", (flags >> 6) & 1,
                      "\n\t\telementary_stream_priority_indicator = ", (flags >> 5) & 1,
                      "\n\t\tPCR_flag = ", (flags >> 4) & 1, "\n\t\tOPCR_flag = ", (flags >> 3) & 1,
                      "\n\t\tsplicing_point_flag = ", (flags >> 2) & 1,
                      "\n\t\ttransport_private_data_flag = ", (flags >> 1) & 1,
                      "\n\t\tadaptation_field_extension_flag = ", flags & 1, "\n");
        }
        if (field.has_pcr)
            lines.add("\t\tprogram_clock_reference_base = ", field.pcr_base,
                      "\n\t\tprogram_clock_reference_extension = ", field.pcr_extension, "\n");
        if (field.has_opcr)
            lines.add("\t\toriginal_program_clock_reference_base = ", field.opcr_base,
                      "\n\t\toriginal_program_clock_reference_extension = ", field.opcr_extension,
                      "\n");
        if (field.has_splice_countdown)
            lines.add("\t\tsplice_countdown = ", field.splice_countdown, "\n");
        if (field.has_private_data) {
            lines.add("\t\ttransport_private_data_length = ", field.private_data_length, "\n");
            if (field.has_private_byte)
                lines.add("\t\tprivate_data_byte = ", field.private_byte, "\n");
        }
    }
    if (packet.payload_offset != 0)
        lines.add("\tdata_byte  /*", kPacketSize - packet.payload_offset, " bytes*/\n");
    lines.write_to(state.structure_text);
}

// Whether the packet is parsed beyond its text.
bool usable(const Packet& packet) {
    const int pid = packet.pid;
    if (!packet.sync || packet.transport_error) return false;
    if (packet.unit_start && pid == kNoPid) return false;
    if (packet.adaptation_control == 0) return false;
    if (pid == kNoPid && packet.adaptation_control != 1) return false;
    if (packet.scrambling != 0 && (pid == 0 || pid == 1 || pid == kNoPid)) return false;
    if (packet.adaptation_control == 3 && packet.adaptation.length > 182) return false;
    if (packet.adaptation_control == 2 && packet.adaptation.length != 183) return false;
    return true;
}

// The video goes out in 184-byte pieces: a large buffer keeps the writes
// few. Called before anything is written to the raw output; the state, and
// with it the buffer, outlives the file.
void use_output_buffer(DemuxerContext& context, TsState& state) {
    if (context.raw_output)
        std::setvbuf(context.raw_output, state.output_buffer.data(), _IOFBF,
                     state.output_buffer.size());
}

// One packet; false when the run must stop (the output could not be switched).
bool handle_packet(DemuxerContext& context, TsState& state, const uint8_t* bytes, int64_t offset) {
    const Packet packet = read_packet(bytes);
    if (state.structure_text) write_packet_text(state, packet, offset);
    if (!usable(packet)) return true;

    // The video PID is known: the video goes to the output the user names.
    if (state.video_pid != kNoPid && !output_asked) {
        output_asked = true;
        if (!switch_to_codec_output(context, kFoundH264)) return false;
        use_output_buffer(context, state);
    }

    const int pid = packet.pid;
    if (pid == kNoPid) return true;  // null packets carry nothing
    if (pid == state.pcr_pid && packet.adaptation.has_pcr)
        state.last_pcr = packet.adaptation.pcr_base * 300 + packet.adaptation.pcr_extension;
    if (packet.payload_offset == 0) return true;
    const uint8_t* payload = bytes + packet.payload_offset;
    const size_t size = kPacketSize - packet.payload_offset;
    if (pid == state.video_pid || pid == state.audio_pid)
        pes_step(context, state, pid, packet.unit_start != 0, payload, size);
    else
        feed_program_tables(state, pid, packet.unit_start != 0, packet.continuity, payload, size);
    return true;
}

std::unique_ptr<FormatState> make_state() {
    return std::make_unique<TsState>();
}

int setup(DemuxerContext& context) {
    TsState& state = ts_state(context);
    state.structure_text = context.structure_text;
    state.pes_text = context.pes_text;
    state.buffer.resize(kReadSize + kPacketSize);
    // The video written never exceeds the file: a buffer beyond the file's size stays unused.
    const int64_t output_buffer_size =
        std::clamp<int64_t>(context.input_size, BUFSIZ, static_cast<int64_t>(kOutputBufferSize));
    state.output_buffer.resize(static_cast<size_t>(output_buffer_size));
    use_output_buffer(context, state);
    state.assembler_of.fill(-1);
    state.trial = std::make_unique<SectionAssembler>();
    add_assembler(state, 0);  // the PAT's
    return kFormatOk;
}

// Reads the file in large blocks and walks them packet by packet. Where a
// block does not show the sync byte, the next one found starts a packet; a
// packet cut by the end of a block is completed from the next block, one cut
// by the end of the file is left out.
int body(DemuxerContext& context) {
    TsState& state = ts_state(context);
    uint8_t* buffer = state.buffer.data();
    size_t held = 0;     // bytes in the buffer
    int64_t offset = 0;  // the file offset of buffer[0]
    for (;;) {
        const size_t read = std::fread(buffer + held, 1, kReadSize, context.input);
        if (read == 0) break;
        held += read;
        size_t at = 0;
        while (at < held) {
            if (buffer[at] != kSyncByte) {
                const void* sync = std::memchr(buffer + at, kSyncByte, held - at);
                if (!sync) {
                    at = held;
                    break;
                }
                at = static_cast<size_t>(static_cast<const uint8_t*>(sync) - buffer);
            }
            if (held - at < kPacketSize) break;
            if (!handle_packet(context, state, buffer + at, offset + static_cast<int64_t>(at)))
                return kFormatFailed;
            at += kPacketSize;
        }
        std::memmove(buffer, buffer + at, held - at);
        offset += static_cast<int64_t>(at);
        held -= at;
    }
    if (std::ferror(context.input)) {
        context.failure = "the container file could not be read";
        return kFormatFailed;
    }
    return kFormatOk;
}

}  // namespace

// Setup installs the state; the body walks the packets; there is no header,
// middle or cleanup step.
const FormatOperations kTsFormat = {"MPEG-2 TS", make_state, setup,  nullptr,
                                    nullptr,     body,       nullptr};

void forget_output_asked() {
    output_asked = false;
}

}  // namespace tavimor::ts
