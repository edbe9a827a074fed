// The processor features the decoder may use, and the two environment
// variables that force or restrict them.
#include <cpuid.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "vp8dec/kernels/kernel_table.h"

namespace vp8 {

namespace {

unsigned read_xcr0() {
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return lo;
}

int processor_features() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid_max(0, nullptr) < 1) return 0;
    __cpuid(1, eax, ebx, ecx, edx);
    int bits = 0;
    if (edx & (1u << 23)) bits |= kFeatureMmx;
    if (edx & (1u << 25)) bits |= kFeatureSse;
    if (edx & (1u << 26)) bits |= kFeatureSse2;
    if (ecx & (1u << 0)) bits |= kFeatureSse3;
    if (ecx & (1u << 9)) bits |= kFeatureSsse3;
    if (__get_cpuid_max(0, nullptr) >= 7) {
        // AVX2 needs the processor's bit and the operating system's saving of the wide registers.
        const bool os_saves_ymm = (ecx & (1u << 27)) && ((read_xcr0() & 6) == 6);
        unsigned a7 = 0, b7 = 0, c7 = 0, d7 = 0;
        __cpuid_count(7, 0, a7, b7, c7, d7);
        if (os_saves_ymm && (b7 & (1u << 5))) bits |= kFeatureAvx2;
    }
    unsigned ext_a = 0, ext_b = 0, ext_c = 0, ext_d = 0;
    if (__get_cpuid(0x80000001, &ext_a, &ext_b, &ext_c, &ext_d) && (ext_c & (1u << 5)))
        bits |= kFeatureLzcnt;
    return bits;
}

}  // namespace

int parse_feature_value(const char* text) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 0);
    if (end == text || errno != 0 || value < INT_MIN || value > INT_MAX) return 0;
    return static_cast<int>(value);
}

bool leading_zero_count_usable(int features) {
    // The processor's own bit as well: forced features may claim what it lacks.
    return (features & kFeatureLzcnt) != 0 && (processor_features() & kFeatureLzcnt) != 0;
}

int feature_bits() {
    const char* forced = std::getenv("TAVIMOR_SIMD_CAPS");
    if (forced && *forced) return parse_feature_value(forced);
    int mask = ~0;
    const char* restrict_mask = std::getenv("TAVIMOR_SIMD_CAPS_MASK");
    if (restrict_mask && *restrict_mask) mask = parse_feature_value(restrict_mask);
    return processor_features() & mask;
}

}  // namespace vp8
