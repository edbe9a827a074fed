// Which variant each feature setting installs: SSE2 replaces every plain
// kernel, and each wider instruction set wins over the narrower ones for the
// kernels it has, whatever other bits are set.
#include <cstdint>
#include <cstring>

#include "tests/kernels/kernel_check.h"
#include "vp8dec/kernels/vector_variants.h"

namespace vp8::test {
namespace {

// The table's entries as addresses, in order.
template <class Table>
std::vector<uintptr_t> entries(const Table& table) {
    std::vector<uintptr_t> addresses(sizeof(Table) / sizeof(uintptr_t));
    std::memcpy(addresses.data(), &table, sizeof(Table));
    return addresses;
}

TEST(KernelDispatch, Sse2ReplacesEveryPlainKernel) {
    KernelTable plain{}, sse2{};
    fill_plain_kernels(plain);
    fill_kernel_table(sse2, kFeatureSse2);
    const std::vector<uintptr_t> plain_entries = entries(plain), sse2_entries = entries(sse2);
    for (size_t i = 0; i < plain_entries.size(); ++i)
        EXPECT_NE(plain_entries[i], sse2_entries[i]) << "kernel table entry " << i;
    ScalingTable plain_scaling{}, sse2_scaling{};
    fill_plain_scaling(plain_scaling);
    fill_scaling_table(sse2_scaling, kFeatureSse2);
    const std::vector<uintptr_t> a = entries(plain_scaling), b = entries(sse2_scaling);
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NE(a[i], b[i]) << "scaling table entry " << i;
}

TEST(KernelDispatch, WiderInstructionSetsWinForTheKernelsTheyHave) {
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "the processor lacks AVX2";
    KernelTable t{};
    fill_kernel_table(t, kFeatureSse2 | kFeatureSsse3 | kFeatureAvx2);
    EXPECT_EQ(t.six_tap_pred_16x16, avx2::six_tap_pred_16x16);
    EXPECT_EQ(t.bilin_pred_8x4, avx2::bilin_pred_8x4);
    EXPECT_EQ(t.normal_inner_vertical, avx2::normal_inner_vertical);
    EXPECT_EQ(t.six_tap_pred_4x4, ssse3::six_tap_pred_4x4);
    EXPECT_EQ(t.simple_mb_edge_top, sse2::simple_mb_edge_top);
    EXPECT_EQ(t.add_residual_16x4, sse2::add_residual_16x4);
}

TEST(KernelDispatch, EachBitInstallsItsOwnSetAlone) {
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "the processor lacks AVX2";
    KernelTable plain{}, ssse3_only{}, avx2_only{};
    fill_plain_kernels(plain);
    fill_kernel_table(ssse3_only, kFeatureSsse3);
    fill_kernel_table(avx2_only, kFeatureAvx2);
    EXPECT_EQ(ssse3_only.six_tap_pred_16x16, ssse3::six_tap_pred_16x16);
    EXPECT_EQ(ssse3_only.normal_mb_edge_top, plain.normal_mb_edge_top);
    EXPECT_EQ(avx2_only.normal_mb_edge_top, avx2::normal_mb_edge_top);
    EXPECT_EQ(avx2_only.six_tap_pred_4x4, plain.six_tap_pred_4x4);
    EXPECT_EQ(avx2_only.add_residual_4x4, plain.add_residual_4x4);
}

}  // namespace
}  // namespace vp8::test
