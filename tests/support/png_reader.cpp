#include "tests/support/png_reader.h"

#include <zlib.h>

#include <cstdlib>

namespace tavimor::test {

namespace {

uint32_t big_endian(const std::string& bytes, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3]));
}

int paeth(int left, int above, int corner) {
    const int estimate = left + above - corner;
    const int to_left = std::abs(estimate - left), to_above = std::abs(estimate - above),
              to_corner = std::abs(estimate - corner);
    if (to_left <= to_above && to_left <= to_corner) return left;
    return to_above <= to_corner ? above : corner;
}

}  // namespace

std::optional<PngPicture> read_png(const std::string& bytes) {
    if (bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0) return std::nullopt;
    PngPicture picture;
    int channels = 0;
    std::string compressed;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = big_endian(bytes, at);
        const std::string type = bytes.substr(at + 4, 4);
        if (at + 12 + length > bytes.size()) return std::nullopt;
        const std::string data = bytes.substr(at + 8, length);
        if (type == "IHDR") {
            if (length != 13 || data[8] != 8 || data[12] != 0) return std::nullopt;
            picture.width = static_cast<int>(big_endian(data, 0));
            picture.height = static_cast<int>(big_endian(data, 4));
            channels = data[9] == 2 ? 3 : data[9] == 6 ? 4 : 0;
        } else if (type == "IDAT") {
            compressed += data;
        } else if (type == "IEND") {
            break;
        }
        at += 12 + length;
    }
    if (channels == 0 || picture.width < 1 || picture.height < 1) return std::nullopt;
    const size_t stride = static_cast<size_t>(picture.width) * channels;
    std::vector<uint8_t> raw((stride + 1) * picture.height);
    uLongf size = raw.size();
    if (uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(compressed.data()),
                   compressed.size()) != Z_OK ||
        size != raw.size())
        return std::nullopt;
    std::vector<uint8_t> previous(stride, 0), row(stride);
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* line = raw.data() + y * (stride + 1);
        for (size_t i = 0; i < stride; ++i) {
            const int left = i >= static_cast<size_t>(channels) ? row[i - channels] : 0;
            const int above = previous[i];
            const int corner = i >= static_cast<size_t>(channels) ? previous[i - channels] : 0;
            int predicted = 0;
            switch (line[0]) {
                case 0:
                    predicted = 0;
                    break;
                case 1:
                    predicted = left;
                    break;
                case 2:
                    predicted = above;
                    break;
                case 3:
                    predicted = (left + above) / 2;
                    break;
                case 4:
                    predicted = paeth(left, above, corner);
                    break;
                default:
                    return std::nullopt;
            }
            row[i] = static_cast<uint8_t>(line[1 + i] + predicted);
        }
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = row.data() + static_cast<size_t>(x) * channels;
            picture.pixels.push_back(static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]);
        }
        previous = row;
    }
    return picture;
}

}  // namespace tavimor::test
