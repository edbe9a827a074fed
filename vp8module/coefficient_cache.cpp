#include "vp8module/coefficient_cache.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "shell/view_state.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

constexpr int kMbArea = 256;
constexpr int kEntryBytes = 3;  // position, value low byte, value high byte

// Reads the picture's part of the coefficient file into the cache.
bool fill_cache(Vp8ModuleState& state, int macroblocks) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(state.analysis_paths[3].c_str(), "rb"), std::fclose);
    if (!file || !state.record) return false;
    const int64_t length = state.record->coef_length;
    if (length < 0 || std::fseek(file.get(), state.record->coef_position, SEEK_SET) != 0)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    parse_coefficients(bytes.data(), bytes.size(), macroblocks, state.coefficient_cache);
    state.coefficient_cache_mbs = macroblocks;
    state.coefficient_cache_flag |= 1;
    return true;
}

}  // namespace

bool parse_coefficients(const uint8_t* bytes, size_t size, int macroblocks,
                        std::vector<int16_t>& values) {
    values.assign(static_cast<size_t>(std::max(macroblocks, 0)) * kCoefficientsPerMb, 0);
    size_t at = 0;
    for (size_t block = 0; block < values.size() / 16; ++block) {
        if (at >= size) return false;
        const int count = bytes[at++];
        if (count > 16 || at + static_cast<size_t>(count) * kEntryBytes > size) return false;
        for (int i = 0; i < count; ++i, at += kEntryBytes) {
            const int position = bytes[at];
            if (position > 15) return false;
            values[block * 16 + position] =
                static_cast<int16_t>(bytes[at + 1] | (bytes[at + 2] << 8));
        }
    }
    return true;
}

std::optional<MbCoefficients> mb_coefficients(Vp8ModuleState& state, int n) {
    const ViewState& view = view_state();
    const int macroblocks = view.picture_width * view.picture_height / kMbArea;
    if (!(state.coefficient_cache_flag & 1) && !fill_cache(state, macroblocks)) return std::nullopt;
    if (n < 0 || n >= state.coefficient_cache_mbs) return std::nullopt;
    MbCoefficients out;
    std::copy_n(state.coefficient_cache.begin() + static_cast<size_t>(n) * kCoefficientsPerMb,
                kCoefficientsPerMb, out.begin());
    return out;
}

}  // namespace tavimor
