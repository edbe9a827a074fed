// Installing the vector variants over the plain kernels, one instruction set
// after another so that the widest one the feature bits allow wins.
#include "vp8dec/kernels/vector_kernels.h"

#include "vp8dec/kernels/vector_variants.h"

namespace vp8 {

namespace {

void install_sse2(KernelTable& t) {
    t.inverse_dct_dc = sse2::inverse_dct_dc;
    t.inverse_wht_dc = sse2::inverse_wht_dc;
    t.inverse_wht_4x4 = sse2::inverse_wht_4x4;
    t.add_residual_4x4 = sse2::add_residual_4x4;
    t.add_residual_8x4 = sse2::add_residual_8x4;
    t.add_residual_16x4 = sse2::add_residual_16x4;
    t.add_dc_4x4 = sse2::add_dc_4x4;
    t.add_dc_16x4 = sse2::add_dc_16x4;
    t.block_copy_16x16 = sse2::block_copy_16x16;
    t.block_copy_8x8 = sse2::block_copy_8x8;
    t.block_copy_8x4 = sse2::block_copy_8x4;
    t.six_tap_pred_16x16 = sse2::six_tap_pred_16x16;
    t.six_tap_pred_8x8 = sse2::six_tap_pred_8x8;
    t.six_tap_pred_chroma_8x8 = sse2::six_tap_pred_chroma_8x8;
    t.six_tap_pred_8x4 = sse2::six_tap_pred_8x4;
    t.six_tap_pred_4x4 = sse2::six_tap_pred_4x4;
    t.bilin_pred_16x16 = sse2::bilin_pred_16x16;
    t.bilin_pred_8x8 = sse2::bilin_pred_8x8;
    t.bilin_pred_8x4 = sse2::bilin_pred_8x4;
    t.bilin_pred_4x4 = sse2::bilin_pred_4x4;
    t.normal_mb_edge_left = sse2::normal_mb_edge_left;
    t.normal_inner_vertical = sse2::normal_inner_vertical;
    t.normal_mb_edge_top = sse2::normal_mb_edge_top;
    t.normal_inner_horizontal = sse2::normal_inner_horizontal;
    t.simple_mb_edge_left = sse2::simple_mb_edge_left;
    t.simple_inner_vertical = sse2::simple_inner_vertical;
    t.simple_mb_edge_top = sse2::simple_mb_edge_top;
    t.simple_inner_horizontal = sse2::simple_inner_horizontal;
    t.normal_vertical_edges = sse2::normal_vertical_edges;
    t.simple_vertical_edges = sse2::simple_vertical_edges;
}

void install_sse2_scaling(ScalingTable& t) {
    t.scale_block = sse2::scale_block;
    t.scale_and_inverse_dct = sse2::scale_and_inverse_dct;
    t.scale_and_inverse_dct_with_dc = sse2::scale_and_inverse_dct_with_dc;
    t.scale_inverse_dct_add = sse2::scale_inverse_dct_add;
}

void install_ssse3(KernelTable& t) {
    t.six_tap_pred_16x16 = ssse3::six_tap_pred_16x16;
    t.six_tap_pred_8x8 = ssse3::six_tap_pred_8x8;
    t.six_tap_pred_chroma_8x8 = ssse3::six_tap_pred_chroma_8x8;
    t.six_tap_pred_8x4 = ssse3::six_tap_pred_8x4;
    t.six_tap_pred_4x4 = ssse3::six_tap_pred_4x4;
    t.bilin_pred_16x16 = ssse3::bilin_pred_16x16;
    t.bilin_pred_8x8 = ssse3::bilin_pred_8x8;
    t.bilin_pred_8x4 = ssse3::bilin_pred_8x4;
    t.bilin_pred_4x4 = ssse3::bilin_pred_4x4;
}

void install_ssse3_scaling(ScalingTable&) {}

void install_avx2(KernelTable& t) {
    t.six_tap_pred_16x16 = avx2::six_tap_pred_16x16;
    t.six_tap_pred_8x8 = avx2::six_tap_pred_8x8;
    t.six_tap_pred_chroma_8x8 = avx2::six_tap_pred_chroma_8x8;
    t.six_tap_pred_8x4 = avx2::six_tap_pred_8x4;
    t.normal_mb_edge_left = avx2::normal_mb_edge_left;
    t.normal_inner_vertical = avx2::normal_inner_vertical;
    t.normal_mb_edge_top = avx2::normal_mb_edge_top;
    t.normal_inner_horizontal = avx2::normal_inner_horizontal;
    t.normal_vertical_edges = avx2::normal_vertical_edges;
}

void install_avx2_scaling(ScalingTable&) {}

// The forced feature value (TAVIMOR_SIMD_CAPS) may name instruction sets the
// processor lacks; their variants are never installed, since running them
// would stop the program.
bool processor_runs_sse2() {
    return __builtin_cpu_supports("sse2");
}
bool processor_runs_ssse3() {
    return __builtin_cpu_supports("ssse3");
}
bool processor_runs_avx2() {
    return __builtin_cpu_supports("avx2");
}

struct VariantSet {
    int feature;
    bool (*processor_runs)();
    void (*install)(KernelTable&);
    void (*install_scaling)(ScalingTable&);
};

// In order of preference, lowest first.
constexpr VariantSet kVariantSets[] = {
    {kFeatureSse2, processor_runs_sse2, install_sse2, install_sse2_scaling},
    {kFeatureSsse3, processor_runs_ssse3, install_ssse3, install_ssse3_scaling},
    {kFeatureAvx2, processor_runs_avx2, install_avx2, install_avx2_scaling},
};

bool usable(const VariantSet& set, int features) {
    return (features & set.feature) != 0 && set.processor_runs();
}

}  // namespace

void apply_vector_kernels(KernelTable& table, int features) {
    for (const VariantSet& set : kVariantSets)
        if (usable(set, features)) set.install(table);
}

void apply_vector_scaling(ScalingTable& table, int features) {
    for (const VariantSet& set : kVariantSets)
        if (usable(set, features)) set.install_scaling(table);
}

}  // namespace vp8
