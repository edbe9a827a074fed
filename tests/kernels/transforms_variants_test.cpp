// The inverse transforms and dequantisation of every instruction set against
// the plain ones, on coefficients across the whole int16 range (where the
// plain version's 16-bit intermediate values wrap) and on sparse blocks.
#include "tests/kernels/kernel_check.h"

namespace vp8::test {
namespace {

constexpr int kCases = 4000;

// Coefficients as the transforms see them: dense across int16, or mostly zero.
std::vector<int16_t> coefficients(Inputs& in) {
    std::vector<int16_t> values = in.values(16);
    if (in.chance(30))
        for (int16_t& v : values)
            if (in.chance(75)) v = 0;
    return values;
}

// An output block of four rows of four values at the given pitch, with the
// values between rows filled so that stray writes show.
struct OutputBlock {
    OutputBlock(const FencedBytes& memory, const FencedBytes& plain_memory, int pitch, Inputs& in,
                FencedBytes::Flush flush)
        : pitch(pitch),
          values(memory, static_cast<size_t>(3 * pitch + 4), flush),
          plain_values(plain_memory, static_cast<size_t>(3 * pitch + 4), flush) {
        const std::vector<int16_t> before = in.values(static_cast<size_t>(3 * pitch + 4));
        values.fill(before);
        plain_values.fill(before);
    }

    int pitch;
    FencedValues values, plain_values;
};

struct TransformMemory {
    FencedBytes in{64}, plain_in{64}, factors{64};
    FencedBytes out{256}, plain_out{256};
};

int random_pitch(Inputs& in) {
    static constexpr int kPitches[] = {4, 8, 16, 5, 11};
    return kPitches[in.uniform(0, 4)];
}

// One case's levels and factors in fenced memory, the same levels for both
// variants. Factors as the decoder's tables hold them (up to 157 * 155 / 100)
// half of the time, any values otherwise.
struct ScalingCase {
    ScalingCase(const TransformMemory& memory, Inputs& in, FencedBytes::Flush flush)
        : input(coefficients(in)),
          factor_values(factor_draw(in)),
          factors(memory.factors, 16, flush),
          levels(memory.in, 16, flush),
          plain_levels(memory.plain_in, 16, flush) {
        factors.fill(factor_values);
        levels.fill(input), plain_levels.fill(input);
    }

    static std::vector<int16_t> factor_draw(Inputs& in) {
        std::vector<int16_t> values = in.values(16);
        if (in.chance(50))
            for (int16_t& f : values) f = static_cast<int16_t>(in.uniform(4, 250));
        return values;
    }

    std::vector<int16_t> input, factor_values;
    FencedValues factors, levels, plain_levels;
};

class TransformVariants : public VariantTest {};

TEST_P(TransformVariants, InverseDctOfADcValueMatchesThePlainOne) {
    const TransformMemory memory;
    Inputs in(0x1d47);
    for (int c = 0; c < kCases; ++c) {
        const FencedBytes::Flush flush = flush_for_case(c);
        FencedValues coefs(memory.in, 16, flush);
        const std::vector<int16_t> input = coefficients(in);
        coefs.fill(input);
        OutputBlock out(memory.out, memory.plain_out, random_pitch(in), in, flush);

        const int dc = in.chance(90) ? input[0] : in.uniform(-70000, 70000);
        plain_.inverse_dct_dc(dc, out.plain_values.data(), out.pitch);
        variants_.inverse_dct_dc(dc, out.values.data(), out.pitch);
        ASSERT_EQ(out.values.values(), out.plain_values.values()) << "DC " << dc;
        ASSERT_EQ(coefs.values(), input) << "the coefficients are read only";
    }
}

TEST_P(TransformVariants, InverseWhtMatchesThePlainOne) {
    const TransformMemory memory;
    Inputs in(0x3417);
    for (int c = 0; c < kCases; ++c) {
        const FencedBytes::Flush flush = flush_for_case(c);
        FencedValues coefs(memory.in, 16, flush);
        FencedValues out(memory.out, 16, flush), plain_out(memory.plain_out, 16, flush);
        const std::vector<int16_t> input = coefficients(in);
        coefs.fill(input);
        const std::vector<int16_t> before = in.values(16);
        out.fill(before), plain_out.fill(before);

        plain_.inverse_wht_4x4(input.data(), plain_out.data());
        variants_.inverse_wht_4x4(coefs.data(), out.data());
        ASSERT_EQ(out.values(), plain_out.values()) << "case " << c;

        plain_.inverse_wht_dc(input.data(), plain_out.data());
        variants_.inverse_wht_dc(coefs.data(), out.data());
        ASSERT_EQ(out.values(), plain_out.values()) << "DC only, case " << c;
    }
}

TEST_P(TransformVariants, DequantisationWrapsAndClearsTheLevelsLikeThePlainOne) {
    const TransformMemory memory;
    Inputs in(0x5ca1e);
    for (int c = 0; c < kCases; ++c) {
        const FencedBytes::Flush flush = flush_for_case(c);
        ScalingCase scaling(memory, in, flush);
        const std::vector<int16_t>& input = scaling.input;
        const FencedValues &factors = scaling.factors, &levels = scaling.levels,
                           &plain_levels = scaling.plain_levels;

        {
            FencedValues out(memory.out, 16, flush), plain_out(memory.plain_out, 16, flush);
            const std::vector<int16_t> before = in.values(16);
            out.fill(before), plain_out.fill(before);
            plain_scaling_.scale_block(plain_levels.data(), factors.data(), plain_out.data());
            variant_scaling_.scale_block(levels.data(), factors.data(), out.data());
            ASSERT_EQ(out.values(), plain_out.values()) << "scale_block, case " << c;
            ASSERT_EQ(levels.values(), input) << "scale_block leaves the levels";
        }

        OutputBlock out(memory.out, memory.plain_out, random_pitch(in), in, flush);
        if (in.chance(50)) {
            plain_scaling_.scale_and_inverse_dct(plain_levels.data(), factors.data(),
                                                 out.plain_values.data(), out.pitch);
            variant_scaling_.scale_and_inverse_dct(levels.data(), factors.data(), out.values.data(),
                                                   out.pitch);
        } else {
            const int dc = in.values(1)[0];
            plain_scaling_.scale_and_inverse_dct_with_dc(plain_levels.data(), factors.data(),
                                                         out.plain_values.data(), out.pitch, dc);
            variant_scaling_.scale_and_inverse_dct_with_dc(levels.data(), factors.data(),
                                                           out.values.data(), out.pitch, dc);
        }
        ASSERT_EQ(out.values.values(), out.plain_values.values()) << "case " << c;
        ASSERT_EQ(levels.values(), plain_levels.values()) << "levels cleared, case " << c;
        ASSERT_EQ(levels.values(), std::vector<int16_t>(16, 0));
    }
}

// Dequantisation, inverse DCT and the sum with the samples in the frame in one
// step: 16-bit wrapping on the way, clamping at the end, levels cleared.
TEST_P(TransformVariants, InverseDctAddedToSamplesMatchesThePlainOne) {
    const TransformMemory memory;
    const FencedBytes dst_memory(16 * 64), plain_dst_memory(16 * 64);
    const Window block{0, 4, 0, 4};
    Inputs in(0xf05ed);
    for (int c = 0; c < kCases; ++c) {
        const FencedBytes::Flush flush = flush_for_case(c);
        ScalingCase scaling(memory, in, flush);
        const std::vector<int16_t>&input = scaling.input, &factor_values = scaling.factor_values;
        const FencedValues &factors = scaling.factors, &levels = scaling.levels,
                           &plain_levels = scaling.plain_levels;
        const int stride = 4 + in.uniform(0, 40);
        FencedPlane dst(dst_memory, block, stride, flush);
        FencedPlane plain_dst(plain_dst_memory, block, stride, flush);
        const std::vector<uint8_t> before = in.pixels(dst.size());
        dst.fill(before), plain_dst.fill(before);
        const int dc = in.chance(50) ? input[0] * factor_values[0] : in.values(1)[0];

        plain_scaling_.scale_inverse_dct_add(plain_levels.data(), factors.data(), dc,
                                             plain_dst.at(), stride);
        variant_scaling_.scale_inverse_dct_add(levels.data(), factors.data(), dc, dst.at(), stride);
        ASSERT_EQ(dst.bytes(), plain_dst.bytes()) << "case " << c;
        ASSERT_EQ(levels.values(), std::vector<int16_t>(16, 0)) << "levels cleared, case " << c;
        ASSERT_EQ(plain_levels.values(), std::vector<int16_t>(16, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, TransformVariants, testing::ValuesIn(feature_sets()),
                         feature_set_name);

}  // namespace
}  // namespace vp8::test
