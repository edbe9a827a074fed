// The sub-pixel predictors and block copies of every instruction set against
// the plain ones, at every pair of fractions, on random, two-valued (0 and
// 255, the sums that overshoot most) and smooth samples, with random strides.
#include <algorithm>

#include "tests/kernels/kernel_check.h"

namespace vp8::test {
namespace {

constexpr int kCasesPerFraction = 40;

struct PredictorKernel {
    const char* name;
    SubpixelFn KernelTable::*member;
    int width, height;
    Window source;  // what the plain version reads around its source pointer
};

constexpr Window six_tap_window(int w, int h) {
    return {-2, h + 5, -2, w + 5};
}
constexpr Window bilinear_window(int w, int h) {
    return {0, h + 1, 0, w + 1};
}

const PredictorKernel kPredictors[] = {
    {"six_tap_pred_16x16", &KernelTable::six_tap_pred_16x16, 16, 16, six_tap_window(16, 16)},
    {"six_tap_pred_8x8", &KernelTable::six_tap_pred_8x8, 8, 8, six_tap_window(8, 8)},
    {"six_tap_pred_8x4", &KernelTable::six_tap_pred_8x4, 8, 4, six_tap_window(8, 4)},
    {"six_tap_pred_4x4", &KernelTable::six_tap_pred_4x4, 4, 4, six_tap_window(4, 4)},
    {"bilin_pred_16x16", &KernelTable::bilin_pred_16x16, 16, 16, bilinear_window(16, 16)},
    {"bilin_pred_8x8", &KernelTable::bilin_pred_8x8, 8, 8, bilinear_window(8, 8)},
    {"bilin_pred_8x4", &KernelTable::bilin_pred_8x4, 8, 4, bilinear_window(8, 4)},
    {"bilin_pred_4x4", &KernelTable::bilin_pred_4x4, 4, 4, bilinear_window(4, 4)},
};

struct CopyKernel {
    const char* name;
    BlockCopyFn KernelTable::*member;
    int width, height;
};

const CopyKernel kCopies[] = {
    {"block_copy_16x16", &KernelTable::block_copy_16x16, 16, 16},
    {"block_copy_8x8", &KernelTable::block_copy_8x8, 8, 8},
    {"block_copy_8x4", &KernelTable::block_copy_8x4, 8, 4},
};

std::vector<uint8_t> source_samples(Inputs& in, size_t count) {
    std::vector<uint8_t> samples = in.pixels(count);
    const int kind = in.uniform(0, 2);
    if (kind == 1) {
        for (uint8_t& s : samples) s = in.chance(50) ? 255 : 0;
    } else if (kind == 2) {
        int value = in.uniform(0, 255);
        for (uint8_t& s : samples) {
            value = std::clamp(value + in.uniform(-6, 6), 0, 255);
            s = static_cast<uint8_t>(value);
        }
    }
    return samples;
}

// Memory for the source and destination of the plain run and the variant run.
struct PredictionMemory {
    FencedBytes source{64 * 24}, plain_source{64 * 24};
    FencedBytes dst{64 * 16}, plain_dst{64 * 16};
};

class SubpixelVariants : public VariantTest {};

TEST_P(SubpixelVariants, EveryPredictorMatchesThePlainOneAtEveryFraction) {
    const PredictionMemory memory;
    uint32_t seed = 0x5eed;
    for (const PredictorKernel& kernel : kPredictors) {
        SCOPED_TRACE(kernel.name);
        Inputs in(seed++);
        int c = 0;
        for (int frac_col = 0; frac_col < 8; ++frac_col)
            for (int frac_row = 0; frac_row < 8; ++frac_row)
                for (int n = 0; n < kCasesPerFraction; ++n, ++c) {
                    const int src_stride = kernel.source.cols + in.uniform(0, 40);
                    const int dst_pitch = kernel.width + in.uniform(0, 40);
                    const Window dst_window{0, kernel.height, 0, kernel.width};
                    const FencedBytes::Flush flush = flush_for_case(c);
                    FencedPlane src(memory.source, kernel.source, src_stride, flush);
                    FencedPlane plain_src(memory.plain_source, kernel.source, src_stride, flush);
                    FencedPlane dst(memory.dst, dst_window, dst_pitch, flush);
                    FencedPlane plain_dst(memory.plain_dst, dst_window, dst_pitch, flush);
                    const std::vector<uint8_t> samples = source_samples(in, src.size());
                    src.fill(samples), plain_src.fill(samples);
                    const std::vector<uint8_t> before = in.pixels(dst.size());
                    dst.fill(before), plain_dst.fill(before);

                    (plain_.*kernel.member)(plain_src.at(), src_stride, frac_col, frac_row,
                                            plain_dst.at(), dst_pitch);
                    (variants_.*kernel.member)(src.at(), src_stride, frac_col, frac_row, dst.at(),
                                               dst_pitch);
                    ASSERT_EQ(dst.bytes(), plain_dst.bytes())
                        << "fractions " << frac_col << "," << frac_row << ", case " << n;
                    ASSERT_EQ(src.bytes(), samples) << "the source is read only";
                }
    }
}

// The U and V blocks predicted in one call, each from its own plane, as the
// plain version predicts them one after the other.
TEST_P(SubpixelVariants, ChromaPairMatchesThePlainOneAtEveryFraction) {
    const PredictionMemory memory, second;
    Inputs in(0xc4a0);
    const Window source = six_tap_window(8, 8), block{0, 8, 0, 8};
    int c = 0;
    for (int frac_col = 0; frac_col < 8; ++frac_col)
        for (int frac_row = 0; frac_row < 8; ++frac_row)
            for (int n = 0; n < kCasesPerFraction; ++n, ++c) {
                const int src_stride = source.cols + in.uniform(0, 40);
                const int dst_pitch = 8 + in.uniform(0, 40);
                const FencedBytes::Flush flush = flush_for_case(c);
                FencedPlane u(memory.source, source, src_stride, flush);
                FencedPlane v(second.source, source, src_stride, flush);
                FencedPlane dst_u(memory.dst, block, dst_pitch, flush);
                FencedPlane dst_v(second.dst, block, dst_pitch, flush);
                FencedPlane plain_u(memory.plain_dst, block, dst_pitch, flush);
                FencedPlane plain_v(second.plain_dst, block, dst_pitch, flush);
                const std::vector<uint8_t> u_samples = source_samples(in, u.size());
                const std::vector<uint8_t> v_samples = source_samples(in, v.size());
                u.fill(u_samples), v.fill(v_samples);
                const std::vector<uint8_t> before = in.pixels(dst_u.size());
                dst_u.fill(before), dst_v.fill(before), plain_u.fill(before), plain_v.fill(before);

                plain_.six_tap_pred_chroma_8x8(u.at(), v.at(), src_stride, frac_col, frac_row,
                                               plain_u.at(), plain_v.at(), dst_pitch);
                variants_.six_tap_pred_chroma_8x8(u.at(), v.at(), src_stride, frac_col, frac_row,
                                                  dst_u.at(), dst_v.at(), dst_pitch);
                ASSERT_EQ(dst_u.bytes(), plain_u.bytes())
                    << "U, fractions " << frac_col << "," << frac_row << ", case " << n;
                ASSERT_EQ(dst_v.bytes(), plain_v.bytes())
                    << "V, fractions " << frac_col << "," << frac_row << ", case " << n;
                ASSERT_EQ(u.bytes(), u_samples) << "the sources are read only";
                ASSERT_EQ(v.bytes(), v_samples) << "the sources are read only";
            }
}

TEST_P(SubpixelVariants, EveryBlockCopyMatchesThePlainOne) {
    const PredictionMemory memory;
    Inputs in(0xc0b1);
    for (const CopyKernel& kernel : kCopies) {
        SCOPED_TRACE(kernel.name);
        const Window window{0, kernel.height, 0, kernel.width};
        for (int c = 0; c < 200; ++c) {
            const int src_stride = kernel.width + in.uniform(0, 40);
            const int dst_pitch = kernel.width + in.uniform(0, 40);
            const FencedBytes::Flush flush = flush_for_case(c);
            FencedPlane src(memory.source, window, src_stride, flush);
            FencedPlane dst(memory.dst, window, dst_pitch, flush);
            FencedPlane plain_dst(memory.plain_dst, window, dst_pitch, flush);
            src.fill(in.pixels(src.size()));
            const std::vector<uint8_t> before = in.pixels(dst.size());
            dst.fill(before), plain_dst.fill(before);

            (plain_.*kernel.member)(src.at(), src_stride, plain_dst.at(), dst_pitch);
            (variants_.*kernel.member)(src.at(), src_stride, dst.at(), dst_pitch);
            ASSERT_EQ(dst.bytes(), plain_dst.bytes()) << "case " << c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, SubpixelVariants, testing::ValuesIn(feature_sets()),
                         feature_set_name);

}  // namespace
}  // namespace vp8::test
