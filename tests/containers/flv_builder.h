// FLV files made byte by byte: the file header, tags, and the AVC packets
// with their decoder configuration record and length-prefixed NAL units.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavimor::flv_build {

// A big-endian number of count bytes.
inline std::string be(uint64_t value, int count) {
    std::string bytes;
    for (int i = count - 1; i >= 0; --i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// "FLV", the version, the flags (5: audio and video) and the data offset.
inline std::string file_header(uint8_t flags = 5, uint32_t data_offset = 9, uint8_t version = 1) {
    return "FLV" + std::string(1, static_cast<char>(version)) +
           std::string(1, static_cast<char>(flags)) + be(data_offset, 4);
}

struct Tag {
    uint8_t type = 9;
    std::string data;
    uint32_t timestamp = 0;
    uint8_t timestamp_extended = 0;
    uint32_t stream_id = 0;
    // The data size the header gives; -1: the data's own.
    int64_t data_size = -1;
};

// A tag's 11-byte header and its data (without the size field before it).
inline std::string tag_bytes(const Tag& tag) {
    const uint64_t size =
        tag.data_size >= 0 ? static_cast<uint64_t>(tag.data_size) : tag.data.size();
    return std::string(1, static_cast<char>(tag.type)) + be(size, 3) + be(tag.timestamp, 3) +
           std::string(1, static_cast<char>(tag.timestamp_extended)) + be(tag.stream_id, 3) +
           tag.data;
}

// The tags after the file header, each after the previous tag's size (0
// before the first), and the last tag's size at the end.
inline std::string tags(const std::vector<Tag>& list, bool last_size = true) {
    std::string bytes;
    uint32_t previous = 0;
    for (const Tag& tag : list) {
        const std::string one = tag_bytes(tag);
        bytes += be(previous, 4) + one;
        previous = static_cast<uint32_t>(one.size());
    }
    if (last_size) bytes += be(previous, 4);
    return bytes;
}

// Video data: frame type and codec, and for AVC the packet type and the
// composition time before the payload.
inline std::string video_data(uint8_t frame_type, uint8_t codec, const std::string& rest) {
    return std::string(1, static_cast<char>((frame_type << 4) | codec)) + rest;
}

inline std::string avc_data(uint8_t packet_type, uint32_t composition_time,
                            const std::string& payload, uint8_t frame_type = 1) {
    return video_data(
        frame_type, 7,
        std::string(1, static_cast<char>(packet_type)) + be(composition_time, 3) + payload);
}

inline Tag video_tag(const std::string& data, uint32_t timestamp = 0) {
    return Tag{9, data, timestamp};
}
inline Tag audio_tag(const std::string& data, uint32_t timestamp = 0) {
    return Tag{8, data, timestamp};
}
inline Tag script_tag(const std::string& data) {
    return Tag{18, data};
}

// An AVC decoder configuration record with the given NAL length size.
inline std::string avc_record(int nal_length_size, const std::vector<std::string>& sequence_sets,
                              const std::vector<std::string>& picture_sets) {
    std::string record("\x01\x64\x00\x1E", 4);
    record += static_cast<char>(0xFC | (nal_length_size - 1));
    record += static_cast<char>(0xE0 | sequence_sets.size());
    for (const std::string& set : sequence_sets) record += be(set.size(), 2) + set;
    record += static_cast<char>(picture_sets.size());
    for (const std::string& set : picture_sets) record += be(set.size(), 2) + set;
    return record;
}

// NAL units, each after its length in length_size bytes.
inline std::string length_prefixed(int length_size, const std::vector<std::string>& units) {
    std::string bytes;
    for (const std::string& unit : units) bytes += be(unit.size(), length_size) + unit;
    return bytes;
}

// The same units as an Annex B stream.
inline std::string annex_b(const std::vector<std::string>& units) {
    std::string bytes;
    for (const std::string& unit : units) bytes += std::string("\0\0\0\1", 4) + unit;
    return bytes;
}

// A NAL unit of the given size whose bytes show its number.
inline std::string nal_unit(size_t size, int number, uint8_t header = 0x65) {
    std::string unit(size, '\0');
    if (size > 0) unit[0] = static_cast<char>(header);
    for (size_t i = 1; i < size; ++i) unit[i] = static_cast<char>((number * 31 + i * 7) & 0xFF);
    return unit;
}

}  // namespace tavimor::flv_build
