#include "containers/file_kind.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "containers/extraction_request.h"

namespace tavimor {

namespace {

struct KnownExtension {
    std::string_view extension;
    int kind;
};

// In the order they are tested; each kind's upper- and lower-case spellings.
constexpr KnownExtension kExtensions[] = {
    {".mp4", kStreamMp4}, {".MP4", kStreamMp4}, {".3gp", kStreamMp4},  {".3GP", kStreamMp4},
    {".ts", kStreamTs},   {".TS", kStreamTs},   {".trp", kStreamTs},   {".TRP", kStreamTs},
    {".flv", kStreamFlv}, {".FLV", kStreamFlv}, {".F4V", kStreamFlv},  {".f4v", kStreamFlv},
    {".mkv", kStreamMkv}, {".MKV", kStreamMkv}, {".webm", kStreamMkv}, {".WEBM", kStreamMkv},
    {".yuv", kStreamYuv}, {".YUV", kStreamYuv}, {".vp8", kStreamVp8},  {".VP8", kStreamVp8},
    {".IVF", kStreamVp8}, {".ivf", kStreamVp8},
};

constexpr size_t kSniffBytes = 12;
constexpr uint8_t kTsSync = 0x47;
constexpr size_t kTsPacket = 188;

bool starts_with(const std::array<uint8_t, kSniffBytes>& bytes, size_t offset,
                 std::string_view text) {
    return std::memcmp(bytes.data() + offset, text.data(), text.size()) == 0;
}

}  // namespace

int container_kind_of(int stream_kind) {
    switch (stream_kind) {
        case kStreamMp4:
            return kContainerMp4;
        case kStreamTs:
            return kContainerTs;
        case kStreamFlv:
            return kContainerFlv;
        case kStreamMkv:
            return kContainerMkv;
        default:
            return -1;
    }
}

int stream_kind_from_extension(std::string_view path) {
    const size_t name = path.find_last_of('/');
    const std::string_view file = name == std::string_view::npos ? path : path.substr(name + 1);
    const size_t dot = file.find_last_of('.');
    if (dot == std::string_view::npos) return kStreamH264AnnexB;
    const std::string_view extension = file.substr(dot);
    for (const KnownExtension& known : kExtensions)
        if (known.extension == extension) return known.kind;
    return kStreamH264AnnexB;
}

int stream_kind_from_content(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    if (!file) return -1;
    std::array<uint8_t, kSniffBytes> bytes{};
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return -1;
    if (starts_with(bytes, 0, "DKIF")) return kStreamVp8;
    if (starts_with(bytes, 0, "\x1A\x45\xDF\xA3")) return kStreamMkv;
    if (starts_with(bytes, 4, "ftyp")) return kStreamMp4;
    if (starts_with(bytes, 0, "FLV")) return kStreamFlv;
    if (bytes[0] == kTsSync && std::fseek(file.get(), kTsPacket, SEEK_SET) == 0 &&
        std::fgetc(file.get()) == kTsSync)
        return kStreamTs;
    return -1;
}

int detect_stream_kind(const std::string& path) {
    const int by_name = stream_kind_from_extension(path);
    if (by_name != kStreamH264AnnexB) return by_name;
    const int by_content = stream_kind_from_content(path);
    return by_content >= 0 ? by_content : by_name;
}

}  // namespace tavimor
