// Matroska/WebM files made in code, element by element, for the parser's
// tests, its benchmark and its fuzzing seeds.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace tavimor::mkv {

// A variable-length integer of the given length (the shortest that holds the
// value when 0).
inline std::string vint(uint64_t value, int length = 0) {
    if (length == 0) {
        length = 1;
        while (length < 8 && value >= (uint64_t{1} << (7 * length)) - 1) ++length;
    }
    std::string bytes(static_cast<size_t>(length), '\0');
    for (int i = length - 1; i >= 0; --i, value >>= 8)
        bytes[static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
    bytes[0] = static_cast<char>(bytes[0] | (0x80 >> (length - 1)));
    return bytes;
}

// An identifier as stored: its bytes without leading zeros.
inline std::string id_bytes(uint64_t id) {
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        if ((id >> shift) != 0 || shift == 0) bytes += static_cast<char>((id >> shift) & 0xFF);
    return bytes;
}

inline std::string element(uint64_t id, const std::string& content, int size_length = 0) {
    return id_bytes(id) + vint(content.size(), size_length) + content;
}

// An element whose size has all its value bits set (8 bytes): its end is
// not written down.
inline std::string unknown_size(uint64_t id) {
    return id_bytes(id) + std::string("\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8);
}

inline std::string big_endian(uint64_t value, int bytes) {
    std::string out(static_cast<size_t>(bytes), '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        out[static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
    return out;
}

inline std::string uint_element(uint64_t id, uint64_t value) {
    int bytes = 1;
    while (bytes < 8 && (value >> (8 * bytes)) != 0) ++bytes;
    return element(id, big_endian(value, bytes));
}

inline std::string float_element(uint64_t id, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return element(id, big_endian(bits, 8));
}

inline std::string string_element(uint64_t id, const std::string& text) {
    return element(id, text);
}

// Identifiers the tests build with.
inline constexpr uint64_t kEbml = 0x1A45DFA3, kDocType = 0x4282, kEbmlVersion = 0x4286,
                          kSegment = 0x18538067, kSeekHead = 0x114D9B74, kInfo = 0x1549A966,
                          kTimecodeScale = 0x2AD7B1, kDuration = 0x4489, kTracks = 0x1654AE6B,
                          kTrackEntry = 0xAE, kTrackNumber = 0xD7, kTrackType = 0x83,
                          kCodecId = 0x86, kCodecPrivate = 0x63A2, kDefaultDuration = 0x23E383,
                          kVideo = 0xE0, kAudio = 0xE1, kPixelWidth = 0xB0, kPixelHeight = 0xBA,
                          kCluster = 0x1F43B675, kTimecode = 0xE7, kSimpleBlock = 0xA3,
                          kBlockGroup = 0xA0, kBlock = 0xA1, kCues = 0x1C53BB6B, kCuePoint = 0xBB,
                          kCueTime = 0xB3, kVoid = 0xEC, kCrc32 = 0xBF, kTags = 0x1254C367;

inline std::string ebml_header(const std::string& doc_type = "webm") {
    return element(kEbml, uint_element(kEbmlVersion, 1) + string_element(kDocType, doc_type));
}

// A track entry: number, codec, the frame duration in nanoseconds (0:
// none) and, for video, the picture size.
inline std::string track_entry(uint64_t number, const std::string& codec,
                               uint64_t default_duration = 0, uint64_t width = 0,
                               uint64_t height = 0, const std::string& extra = "") {
    std::string content = uint_element(kTrackNumber, number) +
                          uint_element(kTrackType, width ? 1 : 2) + string_element(kCodecId, codec);
    if (default_duration) content += uint_element(kDefaultDuration, default_duration);
    if (width)
        content +=
            element(kVideo, uint_element(kPixelWidth, width) + uint_element(kPixelHeight, height));
    return element(kTrackEntry, content + extra);
}

// A block's content: track number, 16-bit time code, flags, the data.
inline std::string block_content(uint64_t track, int16_t time, uint8_t flags,
                                 const std::string& data) {
    return vint(track) + big_endian(static_cast<uint16_t>(time), 2) +
           std::string(1, static_cast<char>(flags)) + data;
}

inline std::string simple_block(uint64_t track, int16_t time, const std::string& data,
                                uint8_t flags = 0x80) {
    return element(kSimpleBlock, block_content(track, time, flags, data));
}

inline std::string block_group(uint64_t track, int16_t time, const std::string& data) {
    return element(kBlockGroup, element(kBlock, block_content(track, time, 0, data)));
}

inline std::string cluster(uint64_t time, const std::string& blocks) {
    return element(kCluster, uint_element(kTimecode, time) + blocks);
}

// Stand-in frame bytes: a pattern that tells frames apart.
inline std::string frame_bytes(size_t size, int seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + static_cast<size_t>(seed) * 17) & 0xFF);
    return bytes;
}

}  // namespace tavimor::mkv
