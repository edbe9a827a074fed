// The body operation: the H.264 track as an Annex B byte stream. The
// parameter sets of the AVC configuration come first, each after a start
// code; then every sample in order, found through the sample-to-chunk runs
// and the chunk offsets, with each NAL unit's length replaced by a start
// code. Samples are copied through a fixed buffer, whatever their size.
#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "containers/mp4/mp4_parser.h"

namespace tavimor::mp4 {

namespace {

constexpr uint8_t kStartCode[4] = {0, 0, 0, 1};
constexpr size_t kCopyBuffer = 1 << 16;

class SampleWriter {
  public:
    SampleWriter(std::FILE* in, std::FILE* out, int length_size)
        : in_(in),
          out_(out),
          length_size_(static_cast<size_t>(length_size)),
          buffer_(kCopyBuffer) {}

    // False once the input has ended or the output failed.
    bool going() const { return going_; }

    void start_code() { write(kStartCode, sizeof kStartCode); }

    void unit(const std::vector<uint8_t>& bytes) {
        start_code();
        write(bytes.data(), bytes.size());
    }

    bool seek(int64_t offset) {
        if (going_ && fseeko(in_, static_cast<off_t>(offset), SEEK_SET) != 0) going_ = false;
        return going_;
    }

    // Copies the sample of `size` bytes at the input's position. A NAL unit
    // whose length runs past the sample ends with the sample; bytes too few
    // for a length at the end are passed over.
    void sample(uint64_t size) {
        uint64_t left = size;
        while (going_ && left > 0) {
            uint8_t prefix[4];
            const size_t length_size = static_cast<size_t>(std::min<uint64_t>(length_size_, left));
            if (!read(prefix, length_size)) return;
            left -= length_size;
            if (length_size < length_size_) return;
            uint64_t length = 0;
            for (size_t i = 0; i < length_size; ++i) length = length << 8 | prefix[i];
            length = std::min(length, left);
            start_code();
            copy(length);
            left -= length;
        }
    }

  private:
    bool read(uint8_t* bytes, size_t size) {
        if (std::fread(bytes, 1, size, in_) != size) going_ = false;
        return going_;
    }

    void write(const uint8_t* bytes, size_t size) {
        if (size != 0 && std::fwrite(bytes, 1, size, out_) != size) going_ = false;
    }

    // Input to output; what was read of a piece cut by the end of the input
    // is written before the copy stops.
    void copy(uint64_t size) {
        while (going_ && size > 0) {
            const size_t piece = static_cast<size_t>(std::min<uint64_t>(size, buffer_.size()));
            const size_t got = std::fread(buffer_.data(), 1, piece, in_);
            write(buffer_.data(), got);
            if (got != piece) going_ = false;
            size -= got;
        }
    }

    std::FILE* in_;
    std::FILE* out_;
    size_t length_size_;
    std::vector<uint8_t> buffer_;
    bool going_ = true;
};

// Samples per chunk of the 1-based chunk number: the run of the last entry
// starting at or before it.
uint32_t samples_in_chunk(const std::vector<ChunkRun>& runs, size_t& run, uint64_t chunk) {
    while (run + 1 < runs.size() && runs[run + 1].first_chunk <= chunk) ++run;
    return runs[run].first_chunk <= chunk ? runs[run].samples_per_chunk : 0;
}

}  // namespace

int extract_samples(DemuxerContext& context) {
    const auto& state = static_cast<const Mp4State&>(*context.state);
    if (state.codec != CodecKind::kH264) return kFormatOk;
    const Track& track = state.tracks[state.video_track];
    SampleWriter writer(context.input, context.raw_output, track.nal_length_size);
    for (const auto& set : track.sequence_parameter_sets) writer.unit(set);
    for (const auto& set : track.picture_parameter_sets) writer.unit(set);

    const std::vector<ChunkRun>& runs = track.sample_to_chunk;
    const std::vector<uint32_t>& offsets = track.chunk_offsets;
    if (runs.empty() || offsets.empty()) return kFormatOk;
    size_t run = 0;
    uint64_t chunk = 0;  // from 1; none yet
    uint64_t left_in_chunk = 0;
    for (uint32_t sample = 0; sample < track.sample_count && writer.going(); ++sample) {
        if (left_in_chunk == 0) {
            do {
                if (++chunk > offsets.size()) return kFormatOk;  // the runs are used up
                left_in_chunk = samples_in_chunk(runs, run, chunk);
            } while (left_in_chunk == 0);
            writer.seek(offsets[chunk - 1]);
        }
        --left_in_chunk;
        writer.sample(track.sample_size != 0 ? track.sample_size : track.sample_sizes[sample]);
    }
    return kFormatOk;
}

}  // namespace tavimor::mp4
