#include "cli/md5_lanes.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "cli/md5.h"
#include "cli/md5_tables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavimor {

namespace {

std::string single_digest(const Md5Pieces& pieces) {
    Md5 md5;
    for (const auto& [bytes, size] : pieces) md5.update(bytes, size);
    return md5.hex_digest();
}

#if defined(__SSE2__)

// One step in every lane: a = b + ((a + constant + word + f(b, c, d)) <<< shift).
// The sum of what does not wait for b, the previous step's result, is kept
// apart, so that f is added last.
template <int I>
[[gnu::always_inline]] inline void step(__m128i& a, __m128i b, __m128i c, __m128i d,
                                        const __m128i* words) {
    using namespace md5_tables;
    __m128i early = _mm_add_epi32(_mm_add_epi32(a, _mm_set1_epi32(static_cast<int>(kSines[I]))),
                                  words[kWordIndex[I]]);
    __asm__("" : "+x"(early));  // summed as written, not folded into f's sum
    __m128i f;
    if constexpr (I < 16) {
        f = _mm_xor_si128(d, _mm_and_si128(b, _mm_xor_si128(c, d)));
    } else if constexpr (I < 32) {
        // The two terms share no bit: their sum is their union.
        early = _mm_add_epi32(early, _mm_andnot_si128(d, c));
        f = _mm_and_si128(d, b);
    } else if constexpr (I < 48) {
        f = _mm_xor_si128(_mm_xor_si128(c, d), b);
    } else {
        f = _mm_xor_si128(c, _mm_or_si128(b, _mm_xor_si128(d, _mm_set1_epi32(-1))));
    }
    const __m128i sum = _mm_add_epi32(early, f);
    constexpr int kShift = static_cast<int>(kShifts[I]);
    a = _mm_add_epi32(b,
                      _mm_or_si128(_mm_slli_epi32(sum, kShift), _mm_srli_epi32(sum, 32 - kShift)));
}

// Four steps, the registers taking each role in turn.
template <int I>
[[gnu::always_inline]] inline void four_steps(__m128i& a, __m128i& b, __m128i& c, __m128i& d,
                                              const __m128i* words) {
    step<I>(a, b, c, d, words);
    step<I + 1>(d, a, b, c, words);
    step<I + 2>(c, d, a, b, words);
    step<I + 3>(b, c, d, a, words);
}

template <size_t... Groups>
[[gnu::always_inline]] inline void all_steps(__m128i& a, __m128i& b, __m128i& c, __m128i& d,
                                             const __m128i* words, std::index_sequence<Groups...>) {
    (four_steps<4 * static_cast<int>(Groups)>(a, b, c, d, words), ...);
}

// The sixteen message words of the lanes' blocks, word k of lane l's block in
// lane l of words[k]: four words of each block per quarter, transposed four
// by four.
void load_words(const uint8_t* const blocks[kMd5Lanes], __m128i words[16]) {
    for (int quarter = 0; quarter < 4; ++quarter) {
        __m128i rows[kMd5Lanes];
        for (int lane = 0; lane < kMd5Lanes; ++lane)
            rows[lane] =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks[lane] + 16 * quarter));
        const __m128i low01 = _mm_unpacklo_epi32(rows[0], rows[1]);
        const __m128i low23 = _mm_unpacklo_epi32(rows[2], rows[3]);
        const __m128i high01 = _mm_unpackhi_epi32(rows[0], rows[1]);
        const __m128i high23 = _mm_unpackhi_epi32(rows[2], rows[3]);
        words[4 * quarter] = _mm_unpacklo_epi64(low01, low23);
        words[4 * quarter + 1] = _mm_unpackhi_epi64(low01, low23);
        words[4 * quarter + 2] = _mm_unpacklo_epi64(high01, high23);
        words[4 * quarter + 3] = _mm_unpackhi_epi64(high01, high23);
    }
}

// The digests of up to four messages side by side. A lane whose message has
// run out of blocks, or that has no message, reads a block of zeros and keeps
// its state.
void lane_digests(const Md5Pieces* const messages[], int count, std::string digests[]) {
    static const uint8_t kIdle[64] = {};
    std::vector<Md5BlockFeed> feeds;
    uint64_t longest = 0;
    for (int lane = 0; lane < count; ++lane) {
        feeds.emplace_back(*messages[lane]);
        longest = std::max(longest, feeds.back().blocks());
    }
    __m128i state[4];
    for (int w = 0; w < 4; ++w)
        state[w] = _mm_set1_epi32(static_cast<int>(md5_tables::kInitialState[w]));
    for (uint64_t block = 0; block < longest; ++block) {
        const uint8_t* blocks[kMd5Lanes];
        alignas(16) int32_t keep[kMd5Lanes];
        for (int lane = 0; lane < kMd5Lanes; ++lane) {
            const bool active = lane < count && block < feeds[lane].blocks();
            blocks[lane] = active ? feeds[lane].next() : kIdle;
            keep[lane] = active ? -1 : 0;
        }
        __m128i words[16];
        load_words(blocks, words);
        __m128i a = state[0], b = state[1], c = state[2], d = state[3];
        all_steps(a, b, c, d, words, std::make_index_sequence<16>());
        const __m128i mask = _mm_load_si128(reinterpret_cast<const __m128i*>(keep));
        const __m128i results[4] = {a, b, c, d};
        for (int w = 0; w < 4; ++w)
            state[w] = _mm_add_epi32(state[w], _mm_and_si128(results[w], mask));
    }
    alignas(16) uint32_t lanes[4][kMd5Lanes];
    for (int w = 0; w < 4; ++w) _mm_store_si128(reinterpret_cast<__m128i*>(lanes[w]), state[w]);
    for (int lane = 0; lane < count; ++lane) {
        const uint32_t lane_state[4] = {lanes[0][lane], lanes[1][lane], lanes[2][lane],
                                        lanes[3][lane]};
        digests[lane] = md5_hex(lane_state);
    }
}

#endif

}  // namespace

std::vector<std::string> md5_hex_digests(const std::vector<const Md5Pieces*>& messages) {
    std::vector<std::string> digests(messages.size());
    size_t first = 0;
#if defined(__SSE2__)
    // A lone message gains nothing from the lanes: one MD5 runs faster alone.
    while (messages.size() - first >= 2) {
        const int count = static_cast<int>(std::min<size_t>(kMd5Lanes, messages.size() - first));
        lane_digests(messages.data() + first, count, digests.data() + first);
        first += static_cast<size_t>(count);
    }
#endif
    for (; first < messages.size(); ++first) digests[first] = single_digest(*messages[first]);
    return digests;
}

}  // namespace tavimor
