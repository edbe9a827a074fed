// The prediction-plus-residual kernels of every instruction set against the
// plain ones: residual values across the int16 range, where the sums leave
// 0..255 by far, and small ones around predictions near 0 and 255.
#include "tests/kernels/kernel_check.h"

namespace vp8::test {
namespace {

constexpr int kCases = 4000;

struct ResidualKernel {
    const char* name;
    AddResidualFn KernelTable::*member;
    int width, pitch;  // the prediction and residual pitch
};

const ResidualKernel kResidualKernels[] = {
    {"add_residual_4x4", &KernelTable::add_residual_4x4, 4, 16},
    {"add_residual_8x4", &KernelTable::add_residual_8x4, 8, 8},
    {"add_residual_16x4", &KernelTable::add_residual_16x4, 16, 16},
};

std::vector<int16_t> residual_values(Inputs& in, size_t count) {
    if (in.chance(50)) return in.values(count);
    std::vector<int16_t> values(count);
    for (int16_t& v : values) v = static_cast<int16_t>(in.uniform(-300, 300));
    return values;
}

class ReconstructionVariants : public VariantTest {};

TEST_P(ReconstructionVariants, AddResidualClampsLikeThePlainOne) {
    const FencedBytes prediction_memory(64), residual_memory(128);
    const FencedBytes dst_memory(16 * 64), plain_dst_memory(16 * 64);
    uint32_t seed = 0xadd;
    for (const ResidualKernel& kernel : kResidualKernels) {
        SCOPED_TRACE(kernel.name);
        Inputs in(seed++);
        // Four rows of `width` at the kernel's pitch.
        const Window block{0, 4, 0, kernel.width};
        const auto span = static_cast<size_t>(3 * kernel.pitch + kernel.width);
        for (int c = 0; c < kCases; ++c) {
            const FencedBytes::Flush flush = flush_for_case(c);
            FencedPlane prediction(prediction_memory, block, kernel.pitch, flush);
            FencedValues residual(residual_memory, span, flush);
            const int stride = kernel.width + in.uniform(0, 40);
            FencedPlane dst(dst_memory, block, stride, flush);
            FencedPlane plain_dst(plain_dst_memory, block, stride, flush);
            prediction.fill(in.pixels(span));
            residual.fill(residual_values(in, span));
            const std::vector<uint8_t> before = in.pixels(dst.size());
            dst.fill(before), plain_dst.fill(before);

            (plain_.*kernel.member)(prediction.at(), residual.data(), plain_dst.at(), stride);
            (variants_.*kernel.member)(prediction.at(), residual.data(), dst.at(), stride);
            ASSERT_EQ(dst.bytes(), plain_dst.bytes()) << "case " << c;
        }
    }
}

// A DC value added to samples in the frame: any int (the kernel keeps 16 bits
// of it), or small ones around samples near 0 and 255.
TEST_P(ReconstructionVariants, AddingADcValueClampsLikeThePlainOne) {
    const FencedBytes dst_memory(16 * 64), plain_dst_memory(16 * 64);
    const Window block{0, 4, 0, 4};
    Inputs in(0xadd0dc);
    for (int c = 0; c < kCases; ++c) {
        const FencedBytes::Flush flush = flush_for_case(c);
        const int stride = 4 + in.uniform(0, 40);
        FencedPlane dst(dst_memory, block, stride, flush);
        FencedPlane plain_dst(plain_dst_memory, block, stride, flush);
        const std::vector<uint8_t> before = in.pixels(dst.size());
        dst.fill(before), plain_dst.fill(before);
        const int dc = in.chance(50) ? in.uniform(-2100, 2100) : in.uniform(-70000, 70000);

        plain_.add_dc_4x4(dc, plain_dst.at(), stride);
        variants_.add_dc_4x4(dc, dst.at(), stride);
        ASSERT_EQ(dst.bytes(), plain_dst.bytes()) << "DC " << dc;
    }
}

// Four blocks side by side, each with its own DC value: any 16-bit value, or
// small ones, so that one row mixes blocks that saturate with blocks that do not.
TEST_P(ReconstructionVariants, AddingFourDcValuesClampsLikeThePlainOne) {
    const FencedBytes dst_memory(16 * 64), plain_dst_memory(16 * 64);
    const Window row{0, 4, 0, 16};
    Inputs in(0xadd4dc);
    for (int c = 0; c < kCases; ++c) {
        const FencedBytes::Flush flush = flush_for_case(c);
        const int stride = 16 + in.uniform(0, 40);
        FencedPlane dst(dst_memory, row, stride, flush);
        FencedPlane plain_dst(plain_dst_memory, row, stride, flush);
        const std::vector<uint8_t> before = in.pixels(dst.size());
        dst.fill(before), plain_dst.fill(before);
        alignas(16) int16_t dc[4];
        for (int16_t& value : dc)
            value = static_cast<int16_t>(in.chance(50) ? in.uniform(-2100, 2100)
                                                       : in.uniform(-32768, 32767));

        plain_.add_dc_16x4(dc, plain_dst.at(), stride);
        variants_.add_dc_16x4(dc, dst.at(), stride);
        ASSERT_EQ(dst.bytes(), plain_dst.bytes())
            << "DC " << dc[0] << " " << dc[1] << " " << dc[2] << " " << dc[3];
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, ReconstructionVariants, testing::ValuesIn(feature_sets()),
                         feature_set_name);

}  // namespace
}  // namespace vp8::test
