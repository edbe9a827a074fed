// MP4/3GP files built byte by byte for the parser's tests and seeds, and a
// run of the parser that collects everything it wrote.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "containers/extraction_run.h"
#include "containers/mp4/mp4_format.h"

namespace tavimor::test::mp4 {

inline std::string be(uint64_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}
inline std::string u8(uint64_t v) {
    return be(v, 1);
}
inline std::string u16(uint64_t v) {
    return be(v, 2);
}
inline std::string u32(uint64_t v) {
    return be(v, 4);
}
inline std::string u64(uint64_t v) {
    return be(v, 8);
}

inline std::string box(const std::string& type, const std::string& content) {
    return u32(8 + content.size()) + type + content;
}
// Version and flags of a full box.
inline std::string full(unsigned version, uint32_t flags = 0) {
    return u8(version) + be(flags, 3);
}

inline std::string ftyp(const std::string& brand = "isom") {
    return box("ftyp", brand + u32(512) + "isomavc1");
}
inline std::string hdlr(const std::string& handler, const std::string& name) {
    return box("hdlr", full(0) + u32(0) + handler + std::string(12, '\0') + name + '\0');
}
inline std::string mdhd() {
    return box("mdhd", full(0) + u32(1) + u32(2) + u32(25000) + u32(50000) + u16(0x15C7) + u16(0));
}
// A table box: its count, then the entries.
inline std::string table(const std::string& type, const std::vector<std::string>& entries) {
    std::string content = full(0) + u32(entries.size());
    for (const std::string& entry : entries) content += entry;
    return box(type, content);
}
inline std::string avcc(int length_size, const std::vector<std::string>& sequence_sets,
                        const std::vector<std::string>& picture_sets) {
    std::string content = u8(1) + u8(100) + u8(0) + u8(31) + u8(0xFC | (length_size - 1)) +
                          u8(0xE0 | sequence_sets.size());
    for (const std::string& set : sequence_sets) content += u16(set.size()) + set;
    content += u8(picture_sets.size());
    for (const std::string& set : picture_sets) content += u16(set.size()) + set;
    return box("avcC", content);
}
// A visual sample entry (avc1, mp4v, s263) and its boxes.
inline std::string visual_entry(const std::string& type, const std::string& boxes) {
    const std::string name =
        "\x0A"
        "AVC Coding" +
        std::string(21, '\0');
    return box(type, std::string(6, '\0') + u16(1) + std::string(16, '\0') + u16(176) + u16(144) +
                         u32(0x480000) + u32(0x480000) + u32(0) + u16(1) + name + u16(24) +
                         u16(0xFFFF) + boxes);
}
// An audio sample entry (samr, mp4a) and its boxes.
inline std::string audio_entry(const std::string& type, const std::string& boxes) {
    return box(type, std::string(6, '\0') + u16(1) + std::string(8, '\0') + u16(1) + u16(16) +
                         u32(0) + u32(8000u << 16) + boxes);
}
inline std::string stsd(const std::vector<std::string>& entries) {
    return table("stsd", entries);
}
inline std::string stsz(const std::vector<uint32_t>& sizes) {
    std::string content = full(0) + u32(0) + u32(sizes.size());
    for (uint32_t size : sizes) content += u32(size);
    return box("stsz", content);
}

// A track of the handler whose sample table holds the given boxes.
inline std::string trak(const std::string& handler, const std::string& stbl_boxes) {
    return box("trak", box("mdia", mdhd() + hdlr(handler, "Handler") +
                                       box("minf", box("stbl", stbl_boxes))));
}

// Bytes as written, zero bytes included.
template <size_t n>
std::string bytes(const char (&text)[n]) {
    return std::string(text, n - 1);
}

const std::string kSequenceSet = bytes("\x67\x64\x00\x1F");

// An H.264 track's samples (each its NAL units with length prefixes) in
// chunks of the given numbers of samples; `gap` lies between the chunks.
struct H264Layout {
    std::vector<std::string> samples;
    std::vector<uint32_t> chunks;
    std::string avcc = mp4::avcc(4, {kSequenceSet}, {"\x68\xEB"});
    std::string gap;
    std::string extra_tracks;  // whole trak boxes after the video track
    uint32_t fixed_size = 0;   // nonzero: the sample size box gives one size for all
    bool media_first = false;  // the media data box before the movie box
};

// NAL units with lengths of `size` bytes before each.
inline std::string units(const std::vector<std::string>& nals, int size = 4) {
    std::string out;
    for (const std::string& nal : nals) out += be(nal.size(), size) + nal;
    return out;
}

inline std::string h264_file(const H264Layout& layout) {
    std::vector<uint32_t> sizes;
    std::vector<std::string> runs;
    for (const std::string& sample : layout.samples) sizes.push_back(sample.size());
    for (size_t i = 0; i < layout.chunks.size(); ++i)
        if (i == 0 || layout.chunks[i] != layout.chunks[i - 1])
            runs.push_back(u32(i + 1) + u32(layout.chunks[i]) + u32(1));
    auto moov = [&](uint64_t mdat_start) {
        std::vector<std::string> offsets;
        std::string data;
        size_t sample = 0;
        for (uint32_t count : layout.chunks) {
            offsets.push_back(u32(mdat_start + 8 + data.size()));
            for (uint32_t i = 0; i < count && sample < layout.samples.size(); ++i)
                data += layout.samples[sample++];
            data += layout.gap;
        }
        const std::string sample_sizes =
            layout.fixed_size ? box("stsz", full(0) + u32(layout.fixed_size) + u32(sizes.size()))
                              : stsz(sizes);
        const std::string stbl = stsd({visual_entry("avc1", layout.avcc)}) + sample_sizes +
                                 table("stsc", runs) + table("stco", offsets);
        return std::make_pair(box("moov", trak("vide", stbl) + layout.extra_tracks), data);
    };
    if (layout.media_first) {
        const auto [movie, data] = moov(ftyp().size());
        return ftyp() + box("mdat", data) + movie;
    }
    const auto [movie, data] = moov(ftyp().size() + moov(0).first.size());
    return ftyp() + movie + box("mdat", data);
}

// What one run of the parser wrote.
struct Mp4Run {
    ExtractionResult result;
    std::string structure;
    std::string messages;
    std::string output;              // the file the codec-found step named
    std::string raw;                 // the raw output
    std::vector<std::string> calls;  // "type:text" of each codec-found call
};

inline std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs the bytes as an MP4 file; with `first`, as the program's first H.264
// file. `write` may make the input file itself in place of the bytes.
inline Mp4Run run_mp4(const std::string& bytes, bool first = true,
                      void (*write)(const std::string& path) = nullptr) {
    char pattern[] = "/tmp/tavimor-mp4-test-XXXXXX";
    const std::filesystem::path folder = mkdtemp(pattern);
    if (write)
        write(folder / "in.mp4");
    else
        std::ofstream(folder / "in.mp4", std::ios::binary) << bytes;
    if (first) tavimor::mp4::reset_output_question();
    Mp4Run run;
    ExtractionRequest request;
    request.input_path = folder / "in.mp4";
    request.raw_output_path = folder / "tmp.raw";
    request.structure_path = folder / "filestruct.txt";
    request.message_path = folder / "messages.txt";
    request.container_kind = kContainerMp4;
    request.codec_found = [&](int type, const std::string& text) {
        run.calls.push_back(std::to_string(type) + ":" + text);
        return std::optional<std::string>(folder / "out.264");
    };
    run.result = run_extraction(request);
    run.structure = contents(folder / "filestruct.txt");
    run.messages = contents(folder / "messages.txt");
    run.output = contents(folder / "out.264");
    run.raw = contents(folder / "tmp.raw");
    std::filesystem::remove_all(folder);
    return run;
}

}  // namespace tavimor::test::mp4
