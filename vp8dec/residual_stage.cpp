// Dequantisation, inverse transforms and the coefficient dump of one macroblock.
#include "vp8dec/residual_stage.h"

#include <cstdio>
#include <cstring>

#include "vp8dec/analysis_context.h"
#include "vp8dec/decoder_instance.h"
#include "vp8dec/mb_modes.h"

namespace vp8 {

namespace {

// Collects the 24 coefficient records of one macroblock before they are written.
class CoefDump {
  public:
    explicit CoefDump(const DecoderInstance& instance)
        : file_(instance.analysis ? instance.analysis->coef_file : nullptr) {}

    bool active() const { return file_ != nullptr; }

    // A record of the non-zero values among the 16 (raster positions).
    void block(const int16_t* values) {
        if (!file_) return;
        uint8_t& count = bytes_[size_++];
        count = 0;
        for (int pos = 0; pos < 16; ++pos) {
            if (values[pos] == 0) continue;
            bytes_[size_++] = static_cast<uint8_t>(pos);
            const auto v = static_cast<uint16_t>(values[pos]);
            bytes_[size_++] = static_cast<uint8_t>(v & 0xff);
            bytes_[size_++] = static_cast<uint8_t>(v >> 8);
            ++count;
        }
    }

    // A record holding at most the DC value.
    void dc_only(int16_t dc) {
        int16_t values[16] = {dc};
        block(values);
    }

    ~CoefDump() {
        if (file_ && size_) std::fwrite(bytes_, 1, size_, file_);
    }

  private:
    std::FILE* file_;
    uint8_t bytes_[24 * 49];
    size_t size_ = 0;
};

int16_t* luma_residual(MacroblockContext& mb, int b) {
    return mb.residual + (b >> 2) * 4 * 16 + (b & 3) * 4;
}

int16_t* chroma_residual(MacroblockContext& mb, int b) {
    const int k = (b - 16) & 3;
    const int plane_offset = b < 20 ? 256 : 320;
    return mb.residual + plane_offset + (k >> 1) * 4 * 8 + (k & 1) * 4;
}

// A block without a second-order DC: DC-only short cut below end position 2.
void plain_block(DecoderInstance& instance, MacroblockContext& mb, int b, const int16_t* factors,
                 int16_t* out, int pitch, CoefDump& dump) {
    int16_t* levels = mb.coefs + b * 16;
    if (mb.eob[b] < 2) {
        const auto dc = static_cast<int16_t>(levels[0] * factors[0]);
        dump.dc_only(dc);
        instance.kernels.inverse_dct_dc(dc, out, pitch);
        levels[0] = levels[1] = 0;
        return;
    }
    if (dump.active()) {
        int16_t values[16];
        instance.scaling.scale_block(levels, factors, values);
        dump.block(values);
    }
    instance.scaling.scale_and_inverse_dct(levels, factors, out, pitch);
}

void luma_with_y2(DecoderInstance& instance, MacroblockContext& mb, CoefDump& dump) {
    int16_t* y2_levels = mb.coefs + 24 * 16;
    int16_t* dc_values = mb.residual + 384;
    instance.scaling.scale_block(y2_levels, mb.y2_factors, mb.dequant_y2);
    if (mb.eob[24] < 2) {
        instance.kernels.inverse_wht_dc(mb.dequant_y2, dc_values);
        y2_levels[0] = y2_levels[1] = 0;
    } else {
        instance.kernels.inverse_wht_4x4(mb.dequant_y2, dc_values);
        std::memset(y2_levels, 0, 16 * sizeof(int16_t));
    }
    for (int b = 0; b < 16; ++b) {
        const int16_t dc = dc_values[b];
        int16_t* out = luma_residual(mb, b);
        if (mb.eob[b] < 2) {
            dump.dc_only(dc);
            instance.kernels.inverse_dct_dc(dc, out, 16);
            continue;
        }
        int16_t* levels = mb.coefs + b * 16;
        if (dump.active()) {
            int16_t values[16];
            instance.scaling.scale_block(levels, mb.y1_factors, values);
            values[0] = dc;
            dump.block(values);
        }
        instance.scaling.scale_and_inverse_dct_with_dc(levels, mb.y1_factors, out, 16, dc);
    }
}

}  // namespace

void residual_stage(DecoderInstance& instance, MacroblockContext& mb) {
    CoefDump dump(instance);
    if (has_y2_block(mb.record->mode)) {
        luma_with_y2(instance, mb, dump);
    } else {
        for (int b = 0; b < 16; ++b)
            plain_block(instance, mb, b, mb.y1_factors, luma_residual(mb, b), 16, dump);
    }
    for (int b = 16; b < 24; ++b)
        plain_block(instance, mb, b, mb.uv_factors, chroma_residual(mb, b), 8, dump);
}

void write_empty_coef_records(DecoderInstance& instance) {
    if (!instance.analysis || !instance.analysis->coef_file) return;
    static const uint8_t kEmpty[24] = {};
    std::fwrite(kEmpty, 1, sizeof(kEmpty), instance.analysis->coef_file);
}

}  // namespace vp8
