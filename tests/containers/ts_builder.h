// Transport streams built byte by byte for the MPEG-2 TS parser's tests:
// packets with their adaptation fields, program table sections with their
// CRC, PES packets with time stamps, and a run of the parser over them.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "containers/extraction_run.h"
#include "containers/ts/section_assembler.h"
#include "containers/ts/ts_format.h"

namespace tavimor::ts_test {

using Bytes = std::string;

inline Bytes be16(int value) {
    return {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

struct Packet {
    int pid = 0;
    bool unit_start = false;
    int continuity = 0;
    int control = 1;             // adaptation_field_control
    Bytes adaptation = {};       // the adaptation field after its length byte
    int adaptation_length = -1;  // the length byte; -1: the size of `adaptation`
    Bytes payload = {};          // filled up with 0xFF to the end of the packet
    int error = 0;
    int priority = 0;
    int scrambling = 0;
};

inline Bytes packet(const Packet& p) {
    Bytes bytes;
    bytes += '\x47';
    bytes += static_cast<char>((p.error << 7) | (p.unit_start << 6) | (p.priority << 5) |
                               ((p.pid >> 8) & 0x1F));
    bytes += static_cast<char>(p.pid & 0xFF);
    bytes += static_cast<char>((p.scrambling << 6) | (p.control << 4) | (p.continuity & 0x0F));
    if (p.control & 2) {
        bytes += static_cast<char>(
            p.adaptation_length >= 0 ? p.adaptation_length : static_cast<int>(p.adaptation.size()));
        bytes += p.adaptation;
    }
    if (p.control & 1) bytes += p.payload;
    bytes.resize(188, '\xFF');
    return bytes;
}

// A long section: syntax indicator set, the length from the body, the CRC
// after it (or a wrong one).
inline Bytes section(int table_id, int extension, const Bytes& tail, int version = 0,
                     bool right_crc = true) {
    Bytes body = be16(extension) + static_cast<char>(0xC1 | (version << 1)) + '\0' + '\0' + tail;
    Bytes bytes =
        static_cast<char>(table_id) + be16(0xB000 | static_cast<int>(body.size() + 4)) + body;
    uint32_t crc = ts::section_crc32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!right_crc) crc ^= 1;
    return bytes + be16(static_cast<int>(crc >> 16)) + be16(static_cast<int>(crc & 0xFFFF));
}

inline Bytes pat(const std::vector<std::pair<int, int>>& programs, int version = 0) {
    Bytes tail;
    for (const auto& [program, pid] : programs) tail += be16(program) + be16(0xE000 | pid);
    return section(0x00, 1, tail, version);
}

// PMT with its streams (stream type, PID), each with `info` bytes of descriptors.
inline Bytes pmt(int pcr_pid, const std::vector<std::pair<int, int>>& streams,
                 bool right_crc = true, size_t info = 0) {
    Bytes tail = be16(0xE000 | pcr_pid) + be16(0xF000);
    for (const auto& [type, pid] : streams)
        tail += static_cast<char>(type) + be16(0xE000 | pid) +
                be16(0xF000 | static_cast<int>(info)) + Bytes(info, '\x0A');
    return section(0x02, 1, tail, 0, right_crc);
}

// The sections after a pointer field of 0, in as many packets as they need.
inline Bytes psi_packets(int pid, const Bytes& sections, int& continuity) {
    Bytes bytes;
    Bytes rest = '\0' + sections;
    for (bool first = true; first || !rest.empty(); first = false) {
        bytes += packet({.pid = pid,
                         .unit_start = first,
                         .continuity = continuity++,
                         .payload = rest.substr(0, 184)});
        rest.erase(0, std::min<size_t>(184, rest.size()));
    }
    return bytes;
}

// A 33-bit time stamp in its five bytes behind the four-bit prefix.
inline Bytes timestamp(int prefix, int64_t value) {
    return {static_cast<char>((prefix << 4) | ((value >> 29) & 0x0E) | 1),
            static_cast<char>((value >> 22) & 0xFF), static_cast<char>(((value >> 14) & 0xFE) | 1),
            static_cast<char>((value >> 7) & 0xFF), static_cast<char>(((value << 1) & 0xFE) | 1)};
}

// A PES packet: start code, stream id, length 0, '10' flags and the time stamps.
inline Bytes pes(int stream_id, const Bytes& data, int64_t pts = -1, int64_t dts = -1) {
    Bytes stamps;
    int flags = 0;
    if (pts >= 0 && dts >= 0) {
        flags = 3;
        stamps = timestamp(3, pts) + timestamp(1, dts);
    } else if (pts >= 0) {
        flags = 2;
        stamps = timestamp(2, pts);
    }
    return Bytes("\0\0\1", 3) + static_cast<char>(stream_id) + be16(0) + '\x84' +
           static_cast<char>(flags << 6) + static_cast<char>(stamps.size()) + stamps + data;
}

// The PES packet in packets of 184 payload bytes, the last one filled up by
// an adaptation field of stuffing.
inline Bytes pes_packets(int pid, const Bytes& pes_bytes, int& continuity) {
    Bytes bytes;
    for (size_t at = 0; at < pes_bytes.size(); at += 184) {
        const Bytes part = pes_bytes.substr(at, 184);
        Packet p{.pid = pid, .unit_start = at == 0, .continuity = continuity++, .payload = part};
        if (part.size() < 184) {
            p.control = 3;
            const size_t length = 183 - part.size();
            p.adaptation = length > 0 ? '\0' + Bytes(length - 1, '\xFF') : Bytes();
        }
        bytes += packet(p);
    }
    return bytes;
}

// A folder of its own, removed afterwards.
class Folder {
  public:
    Folder() {
        char pattern[] = "/tmp/tavimor-ts-test-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    std::string path(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline Bytes contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// How often `what` occurs in the text.
inline size_t count(const Bytes& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != Bytes::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// What a run over a stream gave.
struct TsRun {
    ExtractionResult result;
    std::vector<int> asked;  // the codec-found callback's types
    Bytes structure;
    Bytes pes;
    Bytes video;  // the output the callback named
    Bytes raw;    // the raw output
};

// Runs the parser over the stream; the codec-found callback names "out.264"
// (or declines). The output path is asked for as in a fresh process unless
// `as_later_run`.
inline TsRun run_ts(const Bytes& stream, bool as_later_run = false, bool decline = false) {
    if (!as_later_run) ts::forget_output_asked();
    Folder folder;
    std::ofstream(folder.path("in.ts"), std::ios::binary) << stream;
    ExtractionRequest request;
    request.input_path = folder.path("in.ts");
    request.raw_output_path = folder.path("tmp.raw");
    request.structure_path = folder.path("filestruct.txt");
    request.pes_path = folder.path("pes.txt");
    request.message_path = folder.path("messages.txt");
    request.container_kind = kContainerTs;
    TsRun run;
    request.codec_found = [&](int type, const std::string&) -> std::optional<std::string> {
        run.asked.push_back(type);
        if (decline) return std::nullopt;
        return folder.path("out.264");
    };
    run.result = run_extraction(request);
    run.structure = contents(folder.path("filestruct.txt"));
    run.pes = contents(folder.path("pes.txt"));
    run.video = contents(folder.path("out.264"));
    run.raw = contents(folder.path("tmp.raw"));
    return run;
}

}  // namespace tavimor::ts_test
