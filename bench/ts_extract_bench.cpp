// Speed of the MPEG-2 TS extraction: writes a transport stream of H.264-like
// video and audio PES packets with program tables (256 MB unless a size in MB
// is given), reads it once so that it sits in the page cache, then runs the
// extraction over it several times and prints MB/s of input, without texts
// and with both texts. Files go to a folder of its own (in /dev/shm when
// there is one, so that the disk's write-back does not set the pace),
// removed at the end.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "containers/extraction_run.h"
#include "containers/ts/section_assembler.h"
#include "containers/ts/ts_format.h"

namespace {

using Bytes = std::string;

void put16(Bytes& bytes, int value) {
    bytes += static_cast<char>((value >> 8) & 0xFF);
    bytes += static_cast<char>(value & 0xFF);
}

Bytes with_crc(Bytes section) {
    const uint32_t crc = tavimor::ts::section_crc32(
        reinterpret_cast<const uint8_t*>(section.data()), section.size());
    for (int shift = 24; shift >= 0; shift -= 8) section += static_cast<char>(crc >> shift);
    return section;
}

// Packets of one PID carrying the bytes; a unit starts in the first one, the
// last is filled up with adaptation field stuffing.
void add_packets(Bytes& stream, int pid, const Bytes& unit, int& continuity) {
    for (size_t at = 0; at < unit.size(); at += 184) {
        const size_t part = std::min<size_t>(184, unit.size() - at);
        Bytes packet = {'\x47', static_cast<char>((at == 0 ? 0x40 : 0) | (pid >> 8)),
                        static_cast<char>(pid & 0xFF)};
        if (part == 184) {
            packet += static_cast<char>(0x10 | (continuity++ & 0x0F));
        } else {
            packet += static_cast<char>(0x30 | (continuity++ & 0x0F));
            const size_t length = 183 - part;
            packet += static_cast<char>(length);
            if (length > 0) packet += '\0' + Bytes(length - 1, '\xFF');
        }
        stream += packet + unit.substr(at, part);
    }
}

Bytes program_tables(int& pat_cc, int& pmt_cc) {
    Bytes pat = {'\x00', '\xB0', '\x0D', '\x00', '\x01', '\xC1', '\x00', '\x00'};
    put16(pat, 1);
    put16(pat, 0xF000);
    Bytes pmt = {'\x02', '\xB0', '\x17', '\x00', '\x01', '\xC1', '\x00', '\x00'};
    put16(pmt, 0xE100);
    put16(pmt, 0xF000);
    for (const auto& [type, pid] : {std::pair{0x1B, 0x100}, std::pair{0x0F, 0x101}}) {
        pmt += static_cast<char>(type);
        put16(pmt, 0xE000 | pid);
        put16(pmt, 0xF000);
    }
    Bytes stream;
    add_packets(stream, 0, '\0' + with_crc(pat), pat_cc);
    add_packets(stream, 0x1000, '\0' + with_crc(pmt), pmt_cc);
    return stream;
}

Bytes pes(int stream_id, const Bytes& data) {
    return Bytes("\0\0\1", 3) + static_cast<char>(stream_id) + Bytes("\0\0\x84\x00\x00", 5) + data;
}

void write_stream(const std::string& path, size_t megabytes) {
    std::ofstream out(path, std::ios::binary);
    int pat_cc = 0, pmt_cc = 0, video_cc = 0, audio_cc = 0;
    uint32_t seed = 1;
    Bytes picture;
    for (size_t written = 0, n = 0; written < megabytes << 20; ++n) {
        Bytes stream = program_tables(pat_cc, pmt_cc);
        picture.assign("\0\0\0\1\x09\x10\0\0\0\1\x41", 11);
        const size_t size = 4000 + (n % 7) * 5000;
        while (picture.size() < size) {
            seed = seed * 1103515245u + 12345u;
            picture += static_cast<char>(seed >> 24);
        }
        add_packets(stream, 0x100, pes(0xE0, picture), video_cc);
        add_packets(stream, 0x101, pes(0xC0, Bytes(600, 'a')), audio_cc);
        out << stream;
        written += stream.size();
    }
}

struct Took {
    double wall;  // seconds
    double cpu;   // seconds of the process's processor time, user and system
};

// One run; the video into a file of the folder, or into /dev/null.
Took run_once(const std::string& folder, bool texts, bool to_null) {
    tavimor::ExtractionRequest request;
    request.input_path = folder + "/stream.ts";
    request.raw_output_path = folder + "/tmp.raw";
    request.message_path = folder + "/messages.txt";
    if (texts) {
        request.structure_path = folder + "/filestruct.txt";
        request.pes_path = folder + "/pes.txt";
    }
    request.container_kind = tavimor::kContainerTs;
    request.codec_found = [&](int, const std::string&) {
        return std::optional<std::string>(to_null ? "/dev/null" : folder + "/video.264");
    };
    tavimor::ts::forget_output_asked();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    const tavimor::ExtractionResult result = tavimor::run_extraction(request);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const double cpu = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    if (!result.ok || !result.codec_found) {
        std::fprintf(stderr, "ts_extract_bench: the run failed: %s\n", result.failure.c_str());
        exit(1);
    }
    return {wall.count(), cpu};
}

void report(const char* what, std::vector<double> rates) {
    std::sort(rates.begin(), rates.end());
    std::printf("%-44s MB/s  min %7.1f  median %7.1f  max %7.1f\n", what, rates.front(),
                rates[rates.size() / 2], rates.back());
}

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const int runs = 5;
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    pattern += "/tavimor-ts-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) return 1;
    const std::string folder = pattern;
    write_stream(folder + "/stream.ts", megabytes);
    const double size_mb =
        static_cast<double>(std::filesystem::file_size(folder + "/stream.ts")) / (1 << 20);
    {
        // Into the page cache.
        std::ifstream in(folder + "/stream.ts", std::ios::binary);
        std::vector<char> block(1 << 20);
        while (in.read(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }
    std::printf("input: %.1f MB, %d runs each\n", size_mb, runs);
    struct Mode {
        const char* name;
        bool texts;
        bool to_null;
    };
    for (const Mode& mode :
         {Mode{"extraction", false, false}, Mode{"extraction into /dev/null", false, true},
          Mode{"extraction with both texts", true, false}}) {
        std::vector<double> by_wall;
        std::vector<double> by_cpu;
        for (int i = 0; i < runs; ++i) {
            const Took took = run_once(folder, mode.texts, mode.to_null);
            by_wall.push_back(size_mb / took.wall);
            by_cpu.push_back(size_mb / std::max(took.cpu, 1e-6));
        }
        report((std::string(mode.name) + ", wall clock").c_str(), by_wall);
        report((std::string(mode.name) + ", processor time").c_str(), by_cpu);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
