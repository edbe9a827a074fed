// Speed of every kernel under each feature setting the processor runs: the
// plain version, then SSE2, SSSE3 over SSE2, and AVX2 over both, as the
// decoder's tables install them. Inputs are random samples in a plane with
// borders, every fraction pair in turn, and a mid-range filter level.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "vp8dec/decoder_instance.h"
#include "vp8dec/kernels/kernel_table.h"
#include "vp8dec/loop_filter.h"

namespace {

using vp8::KernelTable;
using vp8::ScalingTable;

struct Setting {
    const char* name;
    int bits;
    bool runs;
};

std::vector<Setting> settings() {
    return {
        {"plain", 0, true},
        {"sse2", vp8::kFeatureSse2, __builtin_cpu_supports("sse2") != 0},
        {"ssse3", vp8::kFeatureSse2 | vp8::kFeatureSsse3, __builtin_cpu_supports("ssse3") != 0},
        {"avx2", vp8::kFeatureSse2 | vp8::kFeatureSsse3 | vp8::kFeatureAvx2,
         __builtin_cpu_supports("avx2") != 0},
    };
}

// A 64x64 plane with a 32-sample border, and its chroma planes.
struct Planes {
    static constexpr int kStride = 128, kUvStride = 64;
    std::vector<uint8_t> y = random_bytes(kStride * 128), u = random_bytes(kUvStride * 64),
                         v = random_bytes(kUvStride * 64);
    uint8_t* y_at() { return y.data() + 32 * kStride + 32; }
    uint8_t* u_at() { return u.data() + 16 * kUvStride + 16; }
    uint8_t* v_at() { return v.data() + 16 * kUvStride + 16; }

    static std::vector<uint8_t> random_bytes(size_t n) {
        std::mt19937 engine(7);
        std::vector<uint8_t> bytes(n);
        // Smooth content, so that the loop filter's masks pass on many lines.
        int value = 128;
        for (uint8_t& b : bytes) {
            value = std::min(255, std::max(0, value + static_cast<int>(engine() % 9) - 4));
            b = static_cast<uint8_t>(value);
        }
        return bytes;
    }
};

vp8::FilterLevelEntry filter_entry(int level) {
    auto instance = std::make_unique<vp8::DecoderInstance>();
    instance->frame_type = 1;
    vp8::build_filter_levels(*instance);
    return instance->filter_levels[level];
}

void edge_filter(benchmark::State& state, vp8::EdgeFilterFn KernelTable::*member, int bits) {
    KernelTable table{};
    vp8::fill_kernel_table(table, bits);
    Planes planes;
    const vp8::FilterLevelEntry entry = filter_entry(32);
    for (auto _ : state) {
        (table.*member)(planes.y_at(), planes.u_at(), planes.v_at(), Planes::kStride,
                        Planes::kUvStride, entry);
        benchmark::ClobberMemory();
    }
}

void predictor(benchmark::State& state, vp8::SubpixelFn KernelTable::*member, int bits) {
    KernelTable table{};
    vp8::fill_kernel_table(table, bits);
    Planes planes;
    alignas(16) uint8_t dst[16 * 16];
    int pair = 0;
    for (auto _ : state) {
        // The 49 pairs of non-zero fractions, then the 14 with one whole-sample axis.
        const int frac_col = pair < 49 ? 1 + pair % 7 : (pair < 56 ? 0 : 1 + pair % 7);
        const int frac_row = pair < 49 ? 1 + pair / 7 : (pair < 56 ? 1 + pair % 7 : 0);
        (table.*member)(planes.y_at(), Planes::kStride, frac_col, frac_row, dst, 16);
        benchmark::DoNotOptimize(dst);
        pair = (pair + 1) % 63;
    }
}

// The U and V blocks in one call, fractions as above.
void chroma_pair(benchmark::State& state, int bits) {
    KernelTable table{};
    vp8::fill_kernel_table(table, bits);
    Planes planes;
    alignas(16) uint8_t dst_u[8 * 8], dst_v[8 * 8];
    int pair = 0;
    for (auto _ : state) {
        const int frac_col = pair < 49 ? 1 + pair % 7 : (pair < 56 ? 0 : 1 + pair % 7);
        const int frac_row = pair < 49 ? 1 + pair / 7 : (pair < 56 ? 1 + pair % 7 : 0);
        table.six_tap_pred_chroma_8x8(planes.u_at(), planes.v_at(), Planes::kUvStride, frac_col,
                                      frac_row, dst_u, dst_v, 8);
        benchmark::DoNotOptimize(dst_u);
        benchmark::DoNotOptimize(dst_v);
        pair = (pair + 1) % 63;
    }
}

void add_residual(benchmark::State& state, vp8::AddResidualFn KernelTable::*member, int bits) {
    KernelTable table{};
    vp8::fill_kernel_table(table, bits);
    Planes planes;
    std::vector<int16_t> residual(64);
    std::mt19937 engine(3);
    for (int16_t& r : residual) r = static_cast<int16_t>(static_cast<int>(engine() % 101) - 50);
    for (auto _ : state) {
        (table.*member)(planes.y.data(), residual.data(), planes.y_at(), Planes::kStride);
        benchmark::ClobberMemory();
    }
}

void scale_and_idct(benchmark::State& state, int bits) {
    ScalingTable table{};
    vp8::fill_scaling_table(table, bits);
    // Blocks of a few low-frequency levels, as most coded blocks are.
    std::mt19937 engine(5);
    std::vector<int16_t> blocks(64 * 16);
    for (size_t i = 0; i < blocks.size(); ++i)
        if (i % 16 < 6) blocks[i] = static_cast<int16_t>(static_cast<int>(engine() % 41) - 20);
    std::vector<int16_t> levels(16), factors(16, 60), out(64);
    size_t block = 0;
    for (auto _ : state) {
        std::copy(blocks.begin() + 16 * block, blocks.begin() + 16 * block + 16, levels.begin());
        table.scale_and_inverse_dct(levels.data(), factors.data(), out.data(), 16);
        benchmark::DoNotOptimize(out.data());
        block = (block + 1) % 64;
    }
}

void register_all() {
    struct Edge {
        const char* name;
        vp8::EdgeFilterFn KernelTable::*member;
    };
    static const Edge kEdges[] = {
        {"normal_mb_edge_left", &KernelTable::normal_mb_edge_left},
        {"normal_inner_vertical", &KernelTable::normal_inner_vertical},
        {"normal_mb_edge_top", &KernelTable::normal_mb_edge_top},
        {"normal_inner_horizontal", &KernelTable::normal_inner_horizontal},
        {"normal_vertical_edges", &KernelTable::normal_vertical_edges},
        {"simple_mb_edge_left", &KernelTable::simple_mb_edge_left},
        {"simple_inner_vertical", &KernelTable::simple_inner_vertical},
        {"simple_mb_edge_top", &KernelTable::simple_mb_edge_top},
        {"simple_inner_horizontal", &KernelTable::simple_inner_horizontal},
        {"simple_vertical_edges", &KernelTable::simple_vertical_edges},
    };
    struct Predictor {
        const char* name;
        vp8::SubpixelFn KernelTable::*member;
    };
    static const Predictor kPredictors[] = {
        {"six_tap_pred_16x16", &KernelTable::six_tap_pred_16x16},
        {"six_tap_pred_8x8", &KernelTable::six_tap_pred_8x8},
        {"six_tap_pred_8x4", &KernelTable::six_tap_pred_8x4},
        {"six_tap_pred_4x4", &KernelTable::six_tap_pred_4x4},
        {"bilin_pred_16x16", &KernelTable::bilin_pred_16x16},
        {"bilin_pred_8x8", &KernelTable::bilin_pred_8x8},
        {"bilin_pred_8x4", &KernelTable::bilin_pred_8x4},
        {"bilin_pred_4x4", &KernelTable::bilin_pred_4x4},
    };
    struct Residual {
        const char* name;
        vp8::AddResidualFn KernelTable::*member;
    };
    static const Residual kResiduals[] = {
        {"add_residual_4x4", &KernelTable::add_residual_4x4},
        {"add_residual_8x4", &KernelTable::add_residual_8x4},
        {"add_residual_16x4", &KernelTable::add_residual_16x4},
    };
    for (const Setting& setting : settings()) {
        if (!setting.runs) continue;
        const std::string suffix = std::string("/") + setting.name;
        for (const Edge& e : kEdges)
            benchmark::RegisterBenchmark((e.name + suffix).c_str(), edge_filter, e.member,
                                         setting.bits);
        for (const Predictor& p : kPredictors)
            benchmark::RegisterBenchmark((p.name + suffix).c_str(), predictor, p.member,
                                         setting.bits);
        benchmark::RegisterBenchmark(("six_tap_pred_chroma_8x8" + suffix).c_str(), chroma_pair,
                                     setting.bits);
        for (const Residual& r : kResiduals)
            benchmark::RegisterBenchmark((r.name + suffix).c_str(), add_residual, r.member,
                                         setting.bits);
        benchmark::RegisterBenchmark(("scale_and_inverse_dct" + suffix).c_str(), scale_and_idct,
                                     setting.bits);
    }
}

}  // namespace

int main(int argc, char** argv) {
    register_all();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
