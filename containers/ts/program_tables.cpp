// The program tables: PAT, PMT and NIT sections, which give the PMT PID, the
// video, audio and PCR PIDs, and for one-segment broadcasts the PMT PID of
// the service.
#include <algorithm>
#include <new>

#include "containers/ts/ts_state.h"

namespace tavimor::ts {

namespace {

constexpr uint8_t kPatTable = 0x00;
constexpr uint8_t kPmtTable = 0x02;
constexpr uint8_t kNitTable = 0x40;
constexpr uint8_t kServiceListDescriptor = 0x41;
// section_length of a PMT is at most 1021 bytes.
constexpr size_t kMaxPmtSize = 3 + 1021;
constexpr int kMaxServices = 8;
// The first PMT PID of the one-segment services; the service's number picks one of eight.
constexpr int kOneSegmentPmtPid = 0x1FC8;
constexpr size_t kCrcSize = 4;

int pid_at(const uint8_t* bytes) {
    return ((bytes[0] & 0x1F) << 8) | bytes[1];
}
size_t length_at(const uint8_t* bytes) {
    return (static_cast<size_t>(bytes[0] & 0x0F) << 8) | bytes[1];
}

// PAT, when its version changes: program 0 names the network PID, the first
// other program the PMT PID.
void handle_pat(TsState& state, const uint8_t* section, size_t size) {
    if (size < 8 + kCrcSize) return;
    const int version = (section[5] >> 1) & 0x1F;
    if (version == state.pat_version) return;
    state.pat_version = version;
    bool program_found = false;
    for (size_t at = 8; at + 4 <= size - kCrcSize; at += 4) {
        const int program = (section[at] << 8) | section[at + 1];
        const int pid = pid_at(section + at + 2);
        if (program == 0) {
            state.network_pid = pid;
            add_assembler(state, pid);
        } else if (!program_found) {
            program_found = true;
            state.program_number = program;
            state.pmt_pid = pid;
            add_assembler(state, pid);
        }
    }
}

// PMT: an H.264 stream gives the video PID, the last stream the audio PID.
void handle_pmt(TsState& state, const uint8_t* section, size_t size) {
    if (size > kMaxPmtSize || size < 12 + kCrcSize) return;
    state.pcr_pid = pid_at(section + 8);
    const size_t end = size - kCrcSize;
    size_t at = 12 + length_at(section + 10);
    while (at + 5 <= end) {
        const size_t entry_end = at + 5 + length_at(section + at + 3);
        if (entry_end > end) break;
        const int stream_type = section[at];
        const int pid = pid_at(section + at + 1);
        if (stream_type == kH264StreamType) state.video_pid = pid;
        state.audio_pid = pid;
        state.audio_stream_type = stream_type;
        at = entry_end;
    }
}

// The service identifiers of the service list descriptors among the descriptors.
void collect_services(const uint8_t* descriptors, size_t size, int* services, int& count) {
    size_t at = 0;
    while (at + 2 <= size) {
        const size_t end = at + 2 + descriptors[at + 1];
        if (end > size) return;
        if (descriptors[at] == kServiceListDescriptor)
            for (size_t entry = at + 2; entry + 3 <= end && count < kMaxServices; entry += 3)
                services[count++] = (descriptors[entry] << 8) | descriptors[entry + 1];
        at = end;
    }
}

// NIT: when none of its services is the program the PAT gave (nor has the
// PMT PID in use), the stream follows the one-segment layout: the first
// service's PMT PID is taken and the PMT is read there.
void handle_nit(TsState& state, const uint8_t* section, size_t size) {
    if (size < 12 + kCrcSize) return;
    const size_t end = size - kCrcSize;
    int services[kMaxServices];
    int count = 0;
    size_t at = 10;
    const size_t network_end = at + length_at(section + 8);
    if (network_end + 2 > end) return;
    collect_services(section + at, network_end - at, services, count);
    at = network_end + 2;
    const size_t loop_end = std::min(end, at + length_at(section + network_end));
    while (at + 6 <= loop_end) {
        const size_t entry_end = at + 6 + length_at(section + at + 4);
        if (entry_end > loop_end) break;
        collect_services(section + at + 6, entry_end - at - 6, services, count);
        at = entry_end;
    }
    if (count == 0) return;
    for (int i = 0; i < count; ++i) {
        if (services[i] == state.program_number) return;
        if ((kOneSegmentPmtPid | (services[i] & 0x07)) == state.pmt_pid) return;
    }
    state.pmt_pid = kOneSegmentPmtPid | (services[0] & 0x07);
    add_assembler(state, state.pmt_pid);
}

void handle_section(TsState& state, int pid, const uint8_t* section, size_t size) {
    switch (section[0]) {
        case kPatTable:
            if (pid == 0) handle_pat(state, section, size);
            break;
        case kPmtTable:
            handle_pmt(state, section, size);
            break;
        case kNitTable:
            handle_nit(state, section, size);
            break;
        default:
            break;
    }
}

}  // namespace

bool add_assembler(TsState& state, int pid) {
    if (pid < 0 || pid >= kNoPid) return false;
    if (state.assembler_of[pid] >= 0) return true;
    if (state.assemblers.size() >= kMaxAssemblers) return false;
    std::unique_ptr<SectionAssembler> assembler(new (std::nothrow) SectionAssembler);
    if (!assembler) return false;
    state.assembler_of[pid] = static_cast<int8_t>(state.assemblers.size());
    state.assemblers.push_back(std::move(assembler));
    return true;
}

void feed_program_tables(TsState& state, int pid, bool unit_start, int continuity,
                         const uint8_t* payload, size_t size) {
    if (pid < 0 || pid >= kNoPid) return;
    if (state.assembler_of[pid] >= 0) {
        state.assemblers[state.assembler_of[pid]]->feed(
            unit_start, continuity, payload, size,
            [&](const uint8_t* section, size_t section_size) {
                handle_section(state, pid, section, section_size);
            });
        return;
    }
    if (state.pmt_pid != kNoPid || !unit_start || !state.trial) return;
    // No PAT has named the PMT PID yet: a PMT in this packet names it.
    state.trial->reset();
    state.trial->feed(unit_start, continuity, payload, size,
                      [&](const uint8_t* section, size_t section_size) {
                          if (section[0] != kPmtTable || state.pmt_pid != kNoPid) return;
                          if (!add_assembler(state, pid)) return;
                          state.pmt_pid = pid;
                          handle_pmt(state, section, section_size);
                      });
}

}  // namespace tavimor::ts
