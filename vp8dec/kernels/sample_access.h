// Loads and stores of 4, 8 and 16 samples for the 128-bit vector variants; a
// 4- or 8-sample load fills the low lanes and clears the rest. Declared in an
// unnamed namespace: each variant file gets its own copy, compiled for its own
// instruction set, so no file ever runs a copy built for another.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace vp8 {
namespace {

inline __m128i load_4(const uint8_t* p) {
    int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
}

inline __m128i load_8(const uint8_t* p) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}

inline __m128i load_16(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void store_4(uint8_t* p, __m128i v) {
    const int32_t low = _mm_cvtsi128_si32(v);
    std::memcpy(p, &low, 4);
}

inline void store_8(uint8_t* p, __m128i v) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
}

// The high eight samples of v, stored without moving them down first (the
// single-precision form, whose store makes no claim on p's alignment).
inline void store_8_high(uint8_t* p, __m128i v) {
    _mm_storeh_pi(reinterpret_cast<__m64*>(p), _mm_castsi128_ps(v));
}

inline void store_16(uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// The first n samples at p, n being 4, 8 or 16.
template <int N>
__m128i load_samples(const uint8_t* p) {
    if constexpr (N == 4) return load_4(p);
    if constexpr (N == 8) return load_8(p);
    if constexpr (N == 16) return load_16(p);
}

template <int N>
void store_samples(uint8_t* p, __m128i v) {
    if constexpr (N == 4) store_4(p, v);
    if constexpr (N == 8) store_8(p, v);
    if constexpr (N == 16) store_16(p, v);
}

}  // namespace
}  // namespace vp8
