// SSE2 replaces every plain kernel. (That every feature setting decodes the
// same pictures is checked where the pictures are.)
#include <cstdint>
#include <cstring>

#include "tests/kernels/kernel_check.h"

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

}  // namespace
}  // namespace vp8::test
