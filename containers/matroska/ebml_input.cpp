#include "containers/matroska/ebml_input.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>

namespace tavimor::matroska {

namespace {

constexpr size_t kBufferSize = 256 * 1024;

}  // namespace

EbmlInput::EbmlInput(std::FILE* file, uint64_t size) : file_(file), size_(size) {
    // A fill never reads past the file's end: a small file needs no more than its size.
    buffer_.resize(
        static_cast<size_t>(std::min<uint64_t>(kBufferSize, std::max<uint64_t>(size, 1))));
}

bool EbmlInput::at_end() {
    if (position() >= size_) return true;
    return buffer_pos_ >= buffer_length_ && !fill();
}

bool EbmlInput::fill() {
    const uint64_t at = position();
    buffer_start_ = at;
    buffer_pos_ = buffer_length_ = 0;
    if (!file_ || at >= size_) return false;
    if (file_pos_ != at) {
        if (fseeko(file_, static_cast<off_t>(at), SEEK_SET) != 0) return false;
        file_pos_ = at;
        file_ended_ = false;
    }
    if (file_ended_) return false;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(buffer_.size(), size_ - at));
    buffer_length_ = std::fread(buffer_.data(), 1, wanted, file_);
    file_pos_ += buffer_length_;
    if (buffer_length_ < wanted) file_ended_ = true;
    return buffer_length_ > 0;
}

bool EbmlInput::read_byte(uint8_t& byte) {
    if (buffer_pos_ >= buffer_length_ && !fill()) return false;
    byte = buffer_[buffer_pos_++];
    return true;
}

size_t EbmlInput::read(uint8_t* bytes, size_t count) {
    size_t done = 0;
    while (done < count) {
        if (buffer_pos_ >= buffer_length_ && !fill()) break;
        const size_t part = std::min(count - done, buffer_length_ - buffer_pos_);
        std::memcpy(bytes + done, buffer_.data() + buffer_pos_, part);
        buffer_pos_ += part;
        done += part;
    }
    return done;
}

uint64_t EbmlInput::copy_to(std::FILE* output, uint64_t count) {
    uint64_t done = 0;
    while (done < count) {
        if (buffer_pos_ >= buffer_length_ && !fill()) break;
        const size_t part =
            static_cast<size_t>(std::min<uint64_t>(count - done, buffer_length_ - buffer_pos_));
        if (output) std::fwrite(buffer_.data() + buffer_pos_, 1, part, output);
        buffer_pos_ += part;
        done += part;
    }
    return done;
}

void EbmlInput::seek(uint64_t target) {
    target = std::min(target, size_);
    if (target >= buffer_start_ && target - buffer_start_ <= buffer_length_) {
        buffer_pos_ = static_cast<size_t>(target - buffer_start_);
        return;
    }
    // Outside the buffer: the next read seeks there.
    buffer_start_ = target;
    buffer_pos_ = buffer_length_ = 0;
}

int read_vint(EbmlInput& input, int max_length, bool keep_marker, std::FILE* messages, Vint& vint) {
    const uint64_t start = input.position();
    uint8_t first = 0;
    if (!input.read_byte(first)) {
        std::fputs("End in read num\n", messages);
        return kVintEnd;
    }
    int length = 1;
    uint8_t marker = 0x80;
    while (length <= max_length && !(first & marker)) {
        ++length;
        marker >>= 1;
    }
    if (length > max_length) {
        // The offset given is that of the byte without a marker.
        std::fprintf(messages,
                     "Possible bitstream corruption [read ebml num: %d max: %d FilePos: %llu]\n",
                     max_length + 1, max_length, static_cast<unsigned long long>(start));
        return kVintCorrupt;
    }
    uint64_t value = keep_marker ? first : (first & (marker - 1));
    for (int i = 1; i < length; ++i) {
        uint8_t next = 0;
        if (!input.read_byte(next)) {
            std::fputs("End of pipe in read num extended\n", messages);
            return kVintEndInside;
        }
        value = (value << 8) | next;
    }
    vint.value = value;
    vint.length = length;
    return kVintOk;
}

}  // namespace tavimor::matroska
