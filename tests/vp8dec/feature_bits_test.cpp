// The environment decides which kernel variants an instance uses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "vp8dec/kernels/kernel_table.h"

namespace vp8 {
namespace {

class FeatureBits : public ::testing::Test {
  protected:
    void TearDown() override {
        unsetenv("TAVIMOR_SIMD_CAPS");
        unsetenv("TAVIMOR_SIMD_CAPS_MASK");
    }
};

TEST_F(FeatureBits, ForcedValueIsTakenAsItIsInAnyBase) {
    setenv("TAVIMOR_SIMD_CAPS", "0", 1);
    EXPECT_EQ(feature_bits(), 0);
    setenv("TAVIMOR_SIMD_CAPS", "0x14", 1);
    EXPECT_EQ(feature_bits(), 20);
    setenv("TAVIMOR_SIMD_CAPS", "017", 1);
    EXPECT_EQ(feature_bits(), 15);
    setenv("TAVIMOR_SIMD_CAPS", "4", 1);
    setenv("TAVIMOR_SIMD_CAPS_MASK", "1", 1);
    EXPECT_EQ(feature_bits(), 4) << "a forced value ignores the mask";
    setenv("TAVIMOR_SIMD_CAPS", "sse2", 1);
    EXPECT_EQ(feature_bits(), 0) << "a value that does not convert means plain kernels";
}

TEST_F(FeatureBits, MaskRestrictsTheProcessorsFeatures) {
    const int all = feature_bits();
    EXPECT_NE(all & kFeatureSse2, 0) << "every x86-64 processor has SSE2";
    setenv("TAVIMOR_SIMD_CAPS_MASK", "1", 1);
    EXPECT_EQ(feature_bits(), all & 1);
    setenv("TAVIMOR_SIMD_CAPS_MASK", "", 1);
    EXPECT_EQ(feature_bits(), all) << "an empty mask is no mask";
    setenv("TAVIMOR_SIMD_CAPS", "", 1);
    EXPECT_EQ(feature_bits(), all) << "an empty forced value is no forced value";
}

TEST_F(FeatureBits, LeadingZeroCountOnlyWhenAskedForAndRun) {
    EXPECT_FALSE(leading_zero_count_usable(0));
    EXPECT_FALSE(leading_zero_count_usable(~kFeatureLzcnt));
    // A forced bit never makes a processor without the instruction use it.
    EXPECT_EQ(leading_zero_count_usable(kFeatureLzcnt), __builtin_cpu_supports("lzcnt") != 0);
}

TEST_F(FeatureBits, NoFeaturesMeansThePlainTable) {
    KernelTable filled{}, plain{};
    fill_kernel_table(filled, 0);
    fill_plain_kernels(plain);
    EXPECT_EQ(std::memcmp(&filled, &plain, sizeof(filled)), 0);
    ScalingTable scaling{}, plain_scaling{};
    fill_scaling_table(scaling, 0);
    fill_plain_scaling(plain_scaling);
    EXPECT_EQ(std::memcmp(&scaling, &plain_scaling, sizeof(scaling)), 0);
}

}  // namespace
}  // namespace vp8
