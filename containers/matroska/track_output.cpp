// The video track: which track entry is selected, its codec configuration,
// its blocks, and the IVF or Annex B output they are written to.
#include <sys/types.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "containers/matroska/matroska_state.h"

namespace tavimor::matroska {

namespace {

int low32(uint64_t value) {
    return static_cast<int>(static_cast<uint32_t>(value));
}

constexpr uint8_t kStartCode[4] = {0, 0, 0, 1};

// The block's lacing type in its flags (bits 1 and 2).
constexpr int kXiphLacing = 1;
constexpr int kEbmlLacing = 3;

}  // namespace

void MatroskaState::begin_track_entry() {
    ++entry_depth_;
    entry_ = TrackFacts{};
}

void MatroskaState::end_track_entry() {
    --entry_depth_;
    // The entry's number counts where it came, before or after its codec.
    if (entry_.selected) selected_ = entry_;
    entry_ = TrackFacts{};
}

void MatroskaState::codec_id(const char* value) {
    int code = 0;
    if (std::strcmp(value, "V_MPEG4/ISO/AVC") == 0)
        code = kFoundH264;
    else if (std::strcmp(value, "V_VP8") == 0)
        code = kFoundVp8;
    if (code == 0 || entry_depth_ == 0) return;
    // This entry's track is the one extracted now; a later one that matches
    // takes its place and starts the output again.
    entry_.selected = true;
    selected_ = entry_;
    codec_found_ = false;
    ivf_header_written_ = false;
    frames_ = 0;
    nal_length_size_ = 4;  // until the codec private says otherwise
    if (!switch_to_codec_output(*context_, code)) {
        stopped_ = true;
        return;
    }
    codec_found_ = true;
    codec_ = code;
    // A codec private read before the codec was known is written now.
    if (code == kFoundH264 && entry_.has_codec_private) {
        EbmlInput& in = *input_;
        const uint64_t back = in.position();
        write_parameter_sets(entry_.codec_private_start, entry_.codec_private_end);
        in.seek(back);
    }
}

void MatroskaState::codec_private(const Element& element) {
    const ElementDescriptor& descriptor = *element.descriptor;
    if (entry_depth_ > 0) {
        entry_.has_codec_private = true;
        entry_.codec_private_start = element.start;
        entry_.codec_private_end = element.end;
    }
    if (entry_depth_ > 0 && entry_.selected && codec_found_ && codec_ == kFoundH264) {
        write_parameter_sets(element.start, element.end);
        text("%s%s(parsed %d bytes)\n", tabs(element.depth), descriptor.name, low32(element.size));
    } else {
        text("%s%s(skipped %d bytes)\n", tabs(element.depth), descriptor.name, low32(element.size));
    }
}

void MatroskaState::write_parameter_sets(uint64_t start, uint64_t end) {
    // The record: version, profile, compatibility, level, the NAL length
    // size less one (low 2 bits), the number of sequence parameter sets (low
    // 5 bits), each with its 16-bit length; then the number of picture
    // parameter sets and each with its length.
    EbmlInput& in = *input_;
    in.seek(start);
    std::FILE* out = context_->raw_output;
    uint8_t head[6];
    if (end - start < sizeof head || in.read(head, sizeof head) != sizeof head) {
        message("error in reading codec private @ %d: %llu bytes are too few\n", low32(start),
                static_cast<unsigned long long>(end - start));
        return;
    }
    nal_length_size_ = (head[4] & 3) + 1;
    int count = head[5] & 0x1F;
    for (int list = 0; list < 2; ++list) {
        if (list == 1) {
            uint8_t pictures = 0;
            if (in.position() >= end || !in.read_byte(pictures)) break;
            count = pictures;
        }
        for (int i = 0; i < count; ++i) {
            uint8_t length_bytes[2];
            if (end - in.position() < 2 || in.read(length_bytes, 2) != 2) {
                message("error in reading parameter set length @ %d\n", position32());
                return;
            }
            const uint64_t length = (length_bytes[0] << 8) | length_bytes[1];
            if (length > end - in.position()) {
                message("parameter set of %llu bytes @ %d runs past the codec private\n",
                        static_cast<unsigned long long>(length), position32());
                return;
            }
            std::fwrite(kStartCode, 1, sizeof kStartCode, out);
            in.copy_to(out, length);
        }
    }
}

void MatroskaState::block(const Element& element) {
    EbmlInput& in = *input_;
    const char* t = tabs(element.depth);
    text("%s%s\n", t, element.descriptor->name);
    const uint64_t end = element.end;
    Vint track;
    if (in.position() >= end || read_vint(in, 8, false, context_->messages, track) != kVintOk ||
        in.position() > end) {
        message("error in reading element tracknum @ %d\n", position32());
        error_ = kVintEnd;
        return;
    }
    text("%s\tTrackNumber = %d\n", t, low32(track.value));
    uint8_t time_bytes[2];
    if (end - in.position() < 2 || in.read(time_bytes, 2) != 2) {
        message("ID read error - res %d\n", kVintEnd);
        message("error in reading element timecode@ %d\n", position32());
        error_ = kVintEnd;
        return;
    }
    const int16_t time_code = static_cast<int16_t>((time_bytes[0] << 8) | time_bytes[1]);
    text("%s\tTime Code = %d\n", t, time_code);
    uint8_t flags = 0;
    if (in.position() >= end || !in.read_byte(flags)) {
        message("ID read error - res %d\n", kVintEnd);
        message("error in reading element flags@ %d\n", position32());
        error_ = kVintEnd;
        return;
    }
    text("%s\tFlags = 0x%02x\n", t, flags);
    if (!codec_found_ || track.value != selected_.number) {
        text("%s\tSkipped %d bytes\n", t, low32(end - in.position()));
        return;
    }
    if (!read_lacing(flags, end)) return;
    const uint64_t size = end - in.position();
    text("%s\tData(%d bytes)\n", t, low32(size));
    if (codec_ == kFoundVp8)
        write_vp8_frame(size, static_cast<int64_t>(cluster_time_) + time_code);
    else
        write_h264_units(size);
}

bool MatroskaState::read_lacing(uint8_t flags, uint64_t end) {
    if ((flags & 6) == 0) return true;
    EbmlInput& in = *input_;
    uint8_t count = 0;
    if (in.position() >= end || !in.read_byte(count)) {
        message("ID read error - res %d\n", kVintEnd);
        message("error in reading element frame_count@ %d\n", position32());
        error_ = kVintEnd;
        return false;
    }
    // The laced frames stay together as one frame; only their sizes go.
    const int type = (flags >> 1) & 3;
    for (int i = 0; i < count && (type == kEbmlLacing || type == kXiphLacing); ++i) {
        bool read = true;
        if (type == kEbmlLacing) {
            Vint size;
            read = in.position() < end &&
                   read_vint(in, 8, false, context_->messages, size) == kVintOk &&
                   in.position() <= end;
        } else {
            // Each size is a run of bytes, 255 meaning more follow.
            uint8_t byte = 255;
            while (read && byte == 255) read = in.position() < end && in.read_byte(byte);
        }
        if (!read) {
            message("ID read error - res %d\n", kVintEnd);
            message("error in reading element size@ %d\n", position32());
            error_ = kVintEnd;
            return false;
        }
    }
    return true;
}

void MatroskaState::write_vp8_frame(uint64_t size, int64_t time) {
    std::FILE* out = context_->raw_output;
    if (size > UINT32_MAX) {
        message("frame of %llu bytes @ %d does not fit an IVF frame: left out\n",
                static_cast<unsigned long long>(size), position32());
        note(Problem::kTooLarge, input_->position());
        return;
    }
    if (!ivf_header_written_) {
        const auto header = ivf_file_header(stream_info());
        std::fwrite(header.data(), 1, header.size(), out);
        ivf_header_written_ = true;
    }
    const auto frame_header = ivf_frame_header(static_cast<uint32_t>(size), 0);
    std::fwrite(frame_header.data(), 1, frame_header.size(), out);
    if (input_->copy_to(out, size) < size) note(Problem::kCut, input_->position());
    first_time_ = frames_ == 0 ? time : std::min(first_time_, time);
    last_time_ = frames_ == 0 ? time : std::max(last_time_, time);
    ++frames_;
}

void MatroskaState::write_h264_units(uint64_t size) {
    EbmlInput& in = *input_;
    std::FILE* out = context_->raw_output;
    const uint64_t end = in.position() + size;
    while (in.position() < end) {
        uint8_t length_bytes[4];
        const size_t length_size = static_cast<size_t>(nal_length_size_);
        if (end - in.position() < length_size ||
            in.read(length_bytes, length_size) != length_size) {
            message("error in reading NAL unit length @ %d\n", position32());
            return;
        }
        uint64_t length = 0;
        for (size_t i = 0; i < length_size; ++i) length = (length << 8) | length_bytes[i];
        if (length > end - in.position()) {
            message("NAL unit of %llu bytes @ %d runs past its block\n",
                    static_cast<unsigned long long>(length), position32());
            return;
        }
        std::fwrite(kStartCode, 1, sizeof kStartCode, out);
        in.copy_to(out, length);
    }
}

IvfStreamInfo MatroskaState::stream_info() const {
    IvfStreamInfo info;
    info.width = static_cast<uint16_t>(std::min<uint64_t>(selected_.width, UINT16_MAX));
    info.height = static_cast<uint16_t>(std::min<uint64_t>(selected_.height, UINT16_MAX));
    // The frame rate: the track's frame duration, else what the frames'
    // times show (in timecode-scale units), else 30 frames a second.
    FrameRate rate;
    if (selected_.default_duration > 0) {
        rate = frame_rate_of(static_cast<double>(selected_.default_duration));
    } else if (frames_ >= 2 && last_time_ > first_time_) {
        rate = frame_rate_of(static_cast<double>(last_time_ - first_time_) *
                             static_cast<double>(timecode_scale_) / (frames_ - 1));
    }
    if (rate.rate == 0 || rate.scale == 0) rate = {30, 1};
    info.rate = rate.rate;
    info.scale = rate.scale;
    info.frame_count = frames_;
    return info;
}

void MatroskaState::finish_output() {
    std::FILE* out = context_->raw_output;
    if (!ivf_header_written_ || !out) return;
    // The header again, now that the frames are counted; an output that
    // cannot seek keeps the first one.
    if (fseeko(out, 0, SEEK_SET) != 0) return;
    const auto header = ivf_file_header(stream_info());
    std::fwrite(header.data(), 1, header.size(), out);
    fseeko(out, 0, SEEK_END);
}

void MatroskaState::report_problems() {
    if (problems_ == 0) return;
    const std::string at = std::to_string(first_problem_at_);
    std::string text;
    switch (first_problem_) {
        case Problem::kCut:
            text = "the file is cut off: it ends at byte " + std::to_string(input_->size()) +
                   " inside the element starting at byte " + at +
                   "; everything before the cut was read";
            break;
        case Problem::kOversize:
            text = "the file is damaged at byte " + at +
                   ": an element is larger than the element holding it; the rest of that "
                   "holder was skipped";
            break;
        case Problem::kUnreadable:
            text = "the file is damaged at byte " + at +
                   ": no element can be read there; the rest of the element holding it was "
                   "skipped";
            break;
        case Problem::kTooDeep:
            text = "the file nests elements more than " + std::to_string(kMaxMasterDepth) +
                   " levels deep at byte " + at + "; the deeper ones were skipped";
            break;
        case Problem::kTooLarge:
            text = "a frame near byte " + at + " is too large for an IVF file and was left out";
            break;
        case Problem::kNone:
            break;
    }
    if (problems_ > 1) text += " (" + std::to_string(problems_ - 1) + " more problems follow it)";
    warn_codec(*context_, text);
}

}  // namespace tavimor::matroska
