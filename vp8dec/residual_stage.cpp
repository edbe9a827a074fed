// Dequantisation, inverse transforms added into the frame, and the coefficient
// dump of one macroblock.
#include "vp8dec/residual_stage.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "vp8dec/analysis_context.h"

namespace vp8 {

namespace {

uint8_t* luma_at(const MacroblockContext& mb, int b) {
    return mb.dst_y + (b >> 2) * 4 * mb.dst_y_stride + (b & 3) * 4;
}

uint8_t* chroma_at(const MacroblockContext& mb, int b) {
    const int k = (b - 16) & 3;
    uint8_t* plane = b < 20 ? mb.dst_u : mb.dst_v;
    return plane + (k >> 1) * 4 * mb.dst_uv_stride + (k & 1) * 4;
}

// A DC value whose inverse transform is all zeros ((dc + 4) >> 3 == 0) leaves
// the prediction as it is.
bool changes_samples(int16_t dc) {
    return static_cast<unsigned>(dc + 4) >= 8;
}

}  // namespace

MacroblockResidual::MacroblockResidual(DecoderInstance& instance, MacroblockContext& mb,
                                       MacroblockLevels& levels)
    : instance_(instance),
      mb_(mb),
      levels_(levels),
      dump_file_(instance.analysis ? instance.analysis->coef_file : nullptr) {}

MacroblockResidual::~MacroblockResidual() {
    if (dump_file_ && dump_size_) instance_.coef_dump.append(dump_file_, dump_bytes_, dump_size_);
}

// A record of the non-zero values among the 16 (raster positions). The
// positions come from a mask of the non-zero values, so that the loop runs
// once per value instead of branching on each of the 16.
void MacroblockResidual::dump_block(const int16_t* values) {
    unsigned nonzero = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + 8));
    const __m128i zeros = _mm_packs_epi16(_mm_cmpeq_epi16(low, zero), _mm_cmpeq_epi16(high, zero));
    nonzero = ~static_cast<unsigned>(_mm_movemask_epi8(zeros)) & 0xffff;
#else
    for (int pos = 0; pos < 16; ++pos) nonzero |= static_cast<unsigned>(values[pos] != 0) << pos;
#endif
    // The count goes first; it is known once the values are written (the
    // loop counts them: a population count is a library call on the
    // baseline instruction set).
    uint8_t* const count = dump_bytes_ + dump_size_++;
    *count = 0;
    for (; nonzero != 0; nonzero &= nonzero - 1) {
        const int pos = std::countr_zero(nonzero);
        const auto v = static_cast<uint16_t>(values[pos]);
        uint8_t* entry = dump_bytes_ + dump_size_;
        entry[0] = static_cast<uint8_t>(pos);
        entry[1] = static_cast<uint8_t>(v & 0xff);
        entry[2] = static_cast<uint8_t>(v >> 8);
        dump_size_ += 3;
        ++*count;
    }
}

// A record holding at most the DC value, written without scanning 16 values.
void MacroblockResidual::dump_dc_only(int16_t dc) {
    if (!dump_file_) return;
    if (dc == 0) {
        dump_bytes_[dump_size_++] = 0;
        return;
    }
    const auto v = static_cast<uint16_t>(dc);
    uint8_t* record = dump_bytes_ + dump_size_;
    record[0] = 1;  // one value, at position 0
    record[1] = 0;
    record[2] = static_cast<uint8_t>(v & 0xff);
    record[3] = static_cast<uint8_t>(v >> 8);
    dump_size_ += 4;
}

// A block without a second-order DC: nothing to add below end position 1, the
// DC alone below 2, else the full transform.
void MacroblockResidual::add_plain_block(int b, const int16_t* factors, uint8_t* dst, int stride) {
    int16_t* levels = levels_.coefs + b * 16;
    const int end = levels_.eob[b];
    if (end == 0) {
        dump_dc_only(0);
        return;
    }
    const auto dc = static_cast<int16_t>(levels[0] * factors[0]);
    if (end < 2) {
        dump_dc_only(dc);
        levels[0] = levels[1] = 0;
        if (changes_samples(dc)) instance_.kernels.add_dc_4x4(dc, dst, stride);
        return;
    }
    if (dump_file_) {
        int16_t values[16];
        instance_.scaling.scale_block(levels, factors, values);
        dump_block(values);
    }
    instance_.scaling.scale_inverse_dct_add(levels, factors, dc, dst, stride);
}

void MacroblockResidual::add_luma_with_y2() {
    int16_t* y2_levels = levels_.coefs + 24 * 16;
    alignas(16) int16_t dc_values[16];
    instance_.scaling.scale_block(y2_levels, mb_.y2_factors, mb_.dequant_y2);
    if (levels_.eob[24] < 2) {
        instance_.kernels.inverse_wht_dc(mb_.dequant_y2, dc_values);
        y2_levels[0] = y2_levels[1] = 0;
    } else {
        instance_.kernels.inverse_wht_4x4(mb_.dequant_y2, dc_values);
        std::memset(y2_levels, 0, 16 * sizeof(int16_t));
    }
    for (int first = 0; first < 16; first += 4) {
        // A row of four blocks without levels of their own takes its DC
        // values in one call.
        uint32_t ends;
        std::memcpy(&ends, levels_.eob + first, 4);
        if ((ends & 0xfefefefe) == 0) {
            bool changes = false;
            for (int b = first; b < first + 4; ++b) {
                dump_dc_only(dc_values[b]);
                changes |= changes_samples(dc_values[b]);
            }
            if (changes)
                instance_.kernels.add_dc_16x4(dc_values + first, luma_at(mb_, first),
                                              mb_.dst_y_stride);
            continue;
        }
        for (int b = first; b < first + 4; ++b) add_block_with_dc(b, dc_values[b]);
    }
}

void MacroblockResidual::add_block_with_dc(int b, int16_t dc) {
    uint8_t* dst = luma_at(mb_, b);
    if (levels_.eob[b] < 2) {
        dump_dc_only(dc);
        if (changes_samples(dc)) instance_.kernels.add_dc_4x4(dc, dst, mb_.dst_y_stride);
        return;
    }
    int16_t* levels = levels_.coefs + b * 16;
    if (dump_file_) {
        int16_t values[16];
        instance_.scaling.scale_block(levels, mb_.y1_factors, values);
        values[0] = dc;
        dump_block(values);
    }
    instance_.scaling.scale_inverse_dct_add(levels, mb_.y1_factors, dc, dst, mb_.dst_y_stride);
}

void MacroblockResidual::add_luma_block(int b) {
    add_plain_block(b, mb_.y1_factors, luma_at(mb_, b), mb_.dst_y_stride);
}

void MacroblockResidual::add_luma_blocks() {
    for (int b = 0; b < 16; ++b) add_luma_block(b);
}

void MacroblockResidual::add_chroma() {
    for (int b = 16; b < 24; ++b)
        add_plain_block(b, mb_.uv_factors, chroma_at(mb_, b), mb_.dst_uv_stride);
}

void write_empty_coef_records(DecoderInstance& instance) {
    if (!instance.analysis || !instance.analysis->coef_file) return;
    static const uint8_t kEmpty[24] = {};
    instance.coef_dump.append(instance.analysis->coef_file, kEmpty, sizeof(kEmpty));
}

}  // namespace vp8
