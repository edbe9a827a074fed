// Coefficient tokens of one macroblock, with the above and left non-zero contexts.
#include "vp8dec/coefficient_tokens.h"

#include <array>

#include "vp8dec/decoder_instance.h"
#include "vp8dec/mb_modes.h"
#include "vp8dec/tables.h"

namespace vp8 {

namespace {

enum BlockType { kYAfterY2 = 0, kY2 = 1, kChroma = 2, kYWithDc = 3 };

template <class Shift>
[[gnu::always_inline]] inline int read_extra_bits(WindowReader& reader, const uint8_t* probs) {
    int value = 0;
    for (; *probs; ++probs) value = (value << 1) | read_bool<Shift>(reader, *probs);
    return value;
}

// Offset of each position's band in a block type's probabilities, and of
// each context in a band: the probabilities of a token are found by additions.
constexpr int kContextSize = kCoefNodes;
constexpr int kBandSize = kCoefContexts * kCoefNodes;
constexpr auto kBandOffsetOfPosition = [] {
    std::array<uint16_t, 17> offsets{};
    for (int pos = 0; pos < 17; ++pos)
        offsets[pos] = static_cast<uint16_t>(kCoefBandOfPosition[pos] * kBandSize);
    return offsets;
}();

// Decodes one block's tokens into levels (raster order) and returns its end
// position: where end-of-block was read, or 15 when the block runs to its end.
// Inlined into the macroblock loop, which keeps the reader's state in registers.
template <class Shift>
[[gnu::always_inline]] inline int decode_block(WindowReader& reader,
                                               const uint8_t (*probs)[kCoefContexts][kCoefNodes],
                                               int first, int context, uint32_t first_probs,
                                               int16_t* levels) {
    const uint8_t* const type_probs = &probs[0][0][0];
    int pos = first;
    const uint8_t* p = type_probs + kBandOffsetOfPosition[pos] + context * kContextSize;
    // The first read's probability comes from a register, not through the
    // context's offset and a load: the wait between blocks is shorter.
    if (!read_bool<Shift>(reader, (first_probs >> (8 * context)) & 0xff)) return pos;
    while (true) {
        // Zeros, each followed by a token that cannot be end of block.
        while (!read_bool<Shift>(reader, p[1])) {
            if (++pos == 16) return 15;
            p = type_probs + kBandOffsetOfPosition[pos];
        }
        int magnitude;
        int next_context;
        if (!read_bool<Shift>(reader, p[2])) {
            magnitude = 1;
            next_context = kContextSize;
        } else {
            if (!read_bool<Shift>(reader, p[3])) {
                magnitude =
                    !read_bool<Shift>(reader, p[4]) ? 2 : 3 + read_bool<Shift>(reader, p[5]);
            } else if (!read_bool<Shift>(reader, p[6])) {
                const int category = read_bool<Shift>(reader, p[7]);
                magnitude = kCategoryBase[category] +
                            read_extra_bits<Shift>(reader, kCategoryProbs[category]);
            } else {
                const int category = !read_bool<Shift>(reader, p[8])
                                         ? 2 + read_bool<Shift>(reader, p[9])
                                         : 4 + read_bool<Shift>(reader, p[10]);
                magnitude = kCategoryBase[category] +
                            read_extra_bits<Shift>(reader, kCategoryProbs[category]);
            }
            next_context = 2 * kContextSize;
        }
        const int negative = read_bool_half_selecting<Shift>(reader);
        levels[kZigzag[pos]] = static_cast<int16_t>((magnitude ^ -negative) + negative);
        if (++pos == 16) return 15;
        p = type_probs + kBandOffsetOfPosition[pos] + next_context;
        if (!read_bool<Shift>(reader, p[0])) return pos;  // end of block
    }
}

// The probabilities of end of block at the first position of a block type,
// for the contexts 0, 1 and 2, in the low three bytes.
uint32_t first_probs(const uint8_t (*probs)[kCoefContexts][kCoefNodes], int first) {
    const int band = kCoefBandOfPosition[first];
    return probs[band][0][0] | probs[band][1][0] << 8 | probs[band][2][0] << 16;
}

template <class Shift>
[[gnu::noinline]] int read_tokens(DecoderInstance& instance, MacroblockContext& mb,
                                  MacroblockLevels& levels) {
    // The reader's window, kept in registers and handed back once the
    // macroblock is read.
    WindowReader reader(*mb.token_reader);
    const auto& coef_probs = instance.probs.coef;
    TokenContext& above = *mb.above;
    TokenContext& left = mb.left;
    int total = 0;
    int y_type = kYWithDc;
    int y_first = 0;
    if (has_y2_block(mb.record->mode)) {
        const int eob =
            decode_block<Shift>(reader, coef_probs[kY2], 0, above.y2 + left.y2,
                                first_probs(coef_probs[kY2], 0), levels.coefs + 24 * 16);
        above.y2 = left.y2 = eob != 0;
        levels.eob[24] = static_cast<uint8_t>(eob);
        total += eob - 16;
        y_type = kYAfterY2;
        y_first = 1;
    }
    const uint32_t y_probs = first_probs(coef_probs[y_type], y_first);
    for (int b = 0; b < 16; ++b) {
        uint8_t& a = above.y[b & 3];
        uint8_t& l = left.y[b >> 2];
        const int eob = decode_block<Shift>(reader, coef_probs[y_type], y_first, a + l, y_probs,
                                            levels.coefs + b * 16);
        a = l = eob != y_first;
        levels.eob[b] = static_cast<uint8_t>(eob);
        total += eob;
    }
    const uint32_t uv_probs = first_probs(coef_probs[kChroma], 0);
    for (int b = 16; b < 24; ++b) {
        const int k = b & 3;
        uint8_t* above_plane = b < 20 ? above.u : above.v;
        uint8_t* left_plane = b < 20 ? left.u : left.v;
        uint8_t& a = above_plane[k & 1];
        uint8_t& l = left_plane[k >> 1];
        const int eob = decode_block<Shift>(reader, coef_probs[kChroma], 0, a + l, uv_probs,
                                            levels.coefs + b * 16);
        a = l = eob != 0;
        levels.eob[b] = static_cast<uint8_t>(eob);
        total += eob;
    }
    reader.finish();
    return total;
}

}  // namespace

int read_mb_tokens(DecoderInstance& instance, MacroblockContext& mb, MacroblockLevels& levels) {
    return instance.count_leading_zeros ? read_tokens<LeadingZeroShift>(instance, mb, levels)
                                        : read_tokens<TableShift>(instance, mb, levels);
}

void clear_mb_token_contexts(MacroblockContext& mb) {
    TokenContext& above = *mb.above;
    TokenContext& left = mb.left;
    for (int i = 0; i < 4; ++i) above.y[i] = left.y[i] = 0;
    for (int i = 0; i < 2; ++i) above.u[i] = left.u[i] = above.v[i] = left.v[i] = 0;
    if (has_y2_block(mb.record->mode)) above.y2 = left.y2 = 0;
}

}  // namespace vp8
