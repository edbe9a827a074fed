#include "vp8module/ivf_reader.h"

#include <cstring>

namespace tavimor {

namespace {

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

IvfReader::~IvfReader() {
    close();
}

bool IvfReader::open(const std::string& path) {
    close();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    uint8_t bytes[kIvfFileHeaderSize];
    if (std::fread(bytes, 1, sizeof(bytes), file) != sizeof(bytes) ||
        std::memcmp(bytes, "DKIF", 4) != 0) {
        std::fclose(file);
        return false;
    }
    header_.version = le16(bytes + 4);
    header_.header_size = le16(bytes + 6);
    header_.fourcc = le32(bytes + 8);
    header_.width = le16(bytes + 12);
    header_.height = le16(bytes + 14);
    header_.rate = le32(bytes + 16);
    header_.scale = le32(bytes + 20);
    header_.frame_count = le32(bytes + 24);
    std::fseek(file, 0, SEEK_END);
    file_size_ = std::ftell(file);
    std::fseek(file, kIvfFileHeaderSize, SEEK_SET);
    file_ = file;
    return true;
}

void IvfReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    file_size_ = 0;
    header_ = {};
}

IvfStatus IvfReader::read_frame(std::vector<uint8_t>& data, uint64_t* timestamp) {
    if (!file_) return IvfStatus::kEnd;
    uint8_t bytes[kIvfFrameHeaderSize];
    const size_t got = std::fread(bytes, 1, sizeof(bytes), file_);
    if (got == 0) return IvfStatus::kEnd;
    if (got != sizeof(bytes)) return IvfStatus::kHeaderCut;
    const uint32_t size = le32(bytes);
    if (timestamp)
        *timestamp =
            static_cast<uint64_t>(le32(bytes + 4)) | (static_cast<uint64_t>(le32(bytes + 8)) << 32);
    const int64_t remaining = file_size_ - std::ftell(file_);
    if (static_cast<int64_t>(size) > remaining) return IvfStatus::kTruncated;
    data.resize(size);
    if (size && std::fread(data.data(), 1, size, file_) != size) return IvfStatus::kTruncated;
    return IvfStatus::kFrame;
}

int64_t IvfReader::position() const {
    return file_ ? std::ftell(file_) : 0;
}

bool IvfReader::seek(int64_t position) {
    return file_ && std::fseek(file_, static_cast<long>(position), SEEK_SET) == 0;
}

bool is_ivf_file(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char signature[4] = {};
    const bool ok =
        std::fread(signature, 1, 4, file) == 4 && std::memcmp(signature, "DKIF", 4) == 0;
    std::fclose(file);
    return ok;
}

}  // namespace tavimor
