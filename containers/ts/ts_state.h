// The MPEG-2 TS parser's state for one extraction run.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "containers/demuxer_context.h"
#include "containers/ts/section_assembler.h"

namespace tavimor::ts {

inline constexpr size_t kPacketSize = 188;
inline constexpr uint8_t kSyncByte = 0x47;
inline constexpr int kPidCount = 8192;
inline constexpr int kNoPid = 8191;  // the null packets' PID, also "none"
inline constexpr int kMaxAssemblers = 32;
inline constexpr int kH264StreamType = 0x1B;
// Bytes read from the input at a time, and the raw output's buffer.
inline constexpr size_t kReadSize = 64 * 1024;
inline constexpr size_t kOutputBufferSize = 256 * 1024;

// Where the PES packets of one PID stand: whether the last header was taken,
// so that the packets continuing it carry its payload.
struct PesStream {
    int pid = kNoPid;
    bool open = false;
};

struct TsState : FormatState {
    int video_pid = kNoPid;
    int audio_pid = kNoPid;
    int pcr_pid = kNoPid;
    int pmt_pid = kNoPid;
    int network_pid = kNoPid;
    int audio_stream_type = 192;
    int program_number = -1;  // the program whose PMT PID the PAT gave
    int pat_version = -1;     // -1 until a PAT has been read

    std::FILE* structure_text = nullptr;
    std::FILE* pes_text = nullptr;

    // The read buffer: what was read at a time and a partial packet kept from before.
    std::vector<uint8_t> buffer;
    std::vector<char> output_buffer;

    // Section assemblers of the PIDs carrying program tables, by PID (-1: none).
    std::array<int8_t, kPidCount> assembler_of{};
    std::vector<std::unique_ptr<SectionAssembler>> assemblers;
    // Tries a packet of a PID without an assembler while no PMT PID is known.
    std::unique_ptr<SectionAssembler> trial;

    int64_t last_pcr = -1;  // 27 MHz units
    // Payload bytes of the PES PIDs since the last PES header.
    int64_t pes_bytes = 0;
    PesStream video;
    PesStream audio;
};

inline TsState& ts_state(DemuxerContext& context) {
    return static_cast<TsState&>(*context.state);
}

// Creates the section assembler of the PID unless it has one; false when it
// cannot (the null PID, the limit of assemblers reached, no memory).
bool add_assembler(TsState& state, int pid);

// Feeds a packet of a PID that is not a PES PID to its section assembler and
// handles the complete tables: PAT, PMT and NIT. While no PMT PID is known, a
// packet of a PID without an assembler is tried on its own and its PID kept
// as the PMT PID when it holds a PMT.
void feed_program_tables(TsState& state, int pid, bool unit_start, int continuity,
                         const uint8_t* payload, size_t size);

// A packet of the video or audio PID: the PES header's text and the payload
// to the raw output (video) or the second output (audio).
void pes_step(DemuxerContext& context, TsState& state, int pid, bool unit_start,
              const uint8_t* payload, size_t size);

}  // namespace tavimor::ts
