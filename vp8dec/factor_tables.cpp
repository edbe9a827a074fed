// Dequantisation factor tables and the per-macroblock choice of rows.
#include "vp8dec/factor_tables.h"

#include <algorithm>

#include "vp8dec/decoder_instance.h"
#include "vp8dec/tables.h"

namespace vp8 {

namespace {

int dc_lookup(int index) {
    return kDcQuantLookup[std::clamp(index, 0, kQuantIndices - 1)];
}
int ac_lookup(int index) {
    return kAcQuantLookup[std::clamp(index, 0, kQuantIndices - 1)];
}

void fill_row(int16_t* row, int dc, int ac) {
    row[0] = static_cast<int16_t>(dc);
    for (int i = 1; i < 16; ++i) row[i] = static_cast<int16_t>(ac);
}

void select_rows(DecoderInstance& instance, MacroblockContext& mb, int index) {
    mb.y1_factors = instance.factors.y1[index];
    mb.y2_factors = instance.factors.y2[index];
    mb.uv_factors = instance.factors.uv[index];
}

}  // namespace

void build_factor_tables(FactorTables& tables, const QuantHeader& quant) {
    for (int q = 0; q < kQuantIndices; ++q) {
        fill_row(tables.y1[q], dc_lookup(q + quant.y1dc_delta), ac_lookup(q));
        fill_row(tables.y2[q], 2 * dc_lookup(q + quant.y2dc_delta),
                 std::max(ac_lookup(q + quant.y2ac_delta) * 155 / 100, 8));
        fill_row(tables.uv[q], std::min(dc_lookup(q + quant.uvdc_delta), 132),
                 ac_lookup(q + quant.uvac_delta));
    }
}

void select_frame_factors(DecoderInstance& instance) {
    select_rows(instance, instance.mb, instance.quant.base_index);
}

void select_mb_factors(DecoderInstance& instance, MacroblockContext& mb) {
    const SegmentationState& seg = instance.segmentation;
    int index = instance.quant.base_index;
    if (seg.enabled) {
        const int value = seg.feature_data[0][mb.record->segment_id & 3];
        // An absolute value outside the table is held at its nearest row.
        index = seg.abs_delta ? value : index + value;
        index = std::clamp(index, 0, kQuantIndices - 1);
    }
    select_rows(instance, mb, index);
}

}  // namespace vp8
