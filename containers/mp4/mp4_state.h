// What the MP4/3GP parser keeps of a file: the brands and movie header, and
// for each of the first ten tracks its handler, sample entry, AVC
// configuration and sample tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "containers/demuxer_context.h"

namespace tavimor::mp4 {

inline constexpr int kMaxTracks = 10;
inline constexpr size_t kMaxBrands = 32;

// Four-character codes as big-endian numbers.
constexpr uint32_t fourcc(const char (&text)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[3]));
}

// The kind of a track's sample entry.
enum class EntryKind { kNone, kH264, kMpeg4Visual, kAudio };

// The video codec the header decided on.
enum class CodecKind { kNone, kH264, kMpeg4Visual };

struct TimeToSample {
    uint32_t sample_count = 0;
    uint32_t sample_delta = 0;
};

struct CompositionOffset {
    uint32_t sample_count = 0;
    uint32_t sample_offset = 0;
};

struct ChunkRun {
    uint32_t first_chunk = 0;
    uint32_t samples_per_chunk = 0;
    uint32_t sample_description_index = 0;
};

struct Track {
    uint32_t handler_type = 0;
    std::string language;  // three letters from the media header
    std::string title;     // the handler's name
    EntryKind entry_kind = EntryKind::kNone;

    // Visual sample entry.
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t horizontal_resolution = 0;  // 16.16 dots per inch
    uint32_t vertical_resolution = 0;
    std::string compressor;

    // AVC configuration.
    uint32_t profile = 0;
    uint32_t profile_compatibility = 0;
    uint32_t level = 0;
    int nal_length_size = 4;
    std::vector<std::vector<uint8_t>> sequence_parameter_sets;
    std::vector<std::vector<uint8_t>> picture_parameter_sets;

    // Audio sample entry and its elementary stream descriptor.
    uint32_t channels = 0;
    uint32_t sample_rate = 0;  // 16.16 Hz
    uint32_t buffer_size = 0;
    uint32_t max_bitrate = 0;
    uint32_t average_bitrate = 0;

    // Sample tables.
    std::vector<TimeToSample> time_to_sample;
    std::vector<CompositionOffset> composition_offsets;
    uint32_t sample_size = 0;  // nonzero: every sample has this size
    uint32_t sample_count = 0;
    std::vector<uint32_t> sample_sizes;  // one a sample when sample_size is 0
    std::vector<ChunkRun> sample_to_chunk;
    std::vector<uint32_t> chunk_offsets;
    std::vector<uint32_t> sync_samples;
    std::vector<uint8_t> dependency_flags;
};

struct Mp4State : FormatState {
    uint32_t major_brand = 0;
    uint32_t minor_version = 0;
    std::vector<uint32_t> compatible_brands;  // at most kMaxBrands
    uint32_t timescale = 0;
    uint64_t duration = 0;

    std::array<Track, kMaxTracks> tracks;
    int track_count = 0;
    Track ignored_track;  // receives the tables of tracks beyond the tenth
    int video_track = -1;
    CodecKind codec = CodecKind::kNone;

    std::vector<uint8_t> content;  // the box being parsed, grown as needed
};

}  // namespace tavimor::mp4
