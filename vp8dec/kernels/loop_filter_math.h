// The loop-filter arithmetic on whole registers of samples, written once for
// every register width. Each lane holds one line across the edge; the result
// equals the plain line filters of loop_filter_plain.cpp lane by lane.
//
// V supplies one instruction set's operations on unsigned 8-bit lanes:
//   Reg; zero(); splat(v);
//   bit_and, bit_andnot (~a & b), bit_or, bit_xor;
//   subs_u8, adds_u8, max_u8, eq_u8 (all-ones where equal);
//   adds_s8, subs_s8 (saturating, lanes taken as signed);
//   shift_s8<N>(v) (arithmetic shift right of signed lanes);
//   half_u8(v) (logical shift right by one of unsigned lanes);
//   weighted_thirds_s8(w, w27, w18, w9) ((f * w + 63) >> 7 of signed lanes for
//   f = 27, 18 and 9; each |result| <= 27);
//   unpack_low<B>, unpack_high<B> (interleaving B-bit elements of the low or
//   high halves of each 128-bit lane, B = 8, 16, 32, 64).
//
// Each file that uses these templates declares its V in an unnamed namespace,
// so every instantiation stays inside the file compiled for its instruction set.
#pragma once

namespace vp8::loop_filter_math {

// The samples p3 p2 p1 p0 | q0 q1 q2 q3 of the lines across one edge.
template <class V>
struct Samples {
    typename V::Reg p3, p2, p1, p0, q0, q1, q2, q3;
};

// The limits of one edge, each broadcast to every lane. The edge limit is
// 2 * level + interior limit; the filter-level table keeps it within 0..254,
// which the saturating sum of edge_mask relies on.
template <class V>
struct Limits {
    typename V::Reg edge, interior, hev_threshold;
};

template <class V>
[[gnu::always_inline]] inline typename V::Reg abs_diff(typename V::Reg a, typename V::Reg b) {
    return V::bit_or(V::subs_u8(a, b), V::subs_u8(b, a));
}

// All-ones where v <= limit, lanes unsigned.
template <class V>
[[gnu::always_inline]] inline typename V::Reg at_most(typename V::Reg v, typename V::Reg limit) {
    return V::eq_u8(V::subs_u8(v, limit), V::zero());
}

// |p0 - q0| * 2 + |p1 - q1| / 2 <= edge; the sum saturates at 255, above any edge limit.
template <class V>
[[gnu::always_inline]] inline typename V::Reg edge_mask(const Samples<V>& s, typename V::Reg edge) {
    const typename V::Reg inner = abs_diff<V>(s.p0, s.q0);
    const typename V::Reg outer = V::half_u8(abs_diff<V>(s.p1, s.q1));
    return at_most<V>(V::adds_u8(V::adds_u8(inner, inner), outer), edge);
}

template <class V>
[[gnu::always_inline]] inline typename V::Reg normal_mask(const Samples<V>& s,
                                                          const Limits<V>& limits) {
    typename V::Reg steps = V::max_u8(abs_diff<V>(s.p3, s.p2), abs_diff<V>(s.p2, s.p1));
    steps = V::max_u8(steps, abs_diff<V>(s.p1, s.p0));
    steps = V::max_u8(steps, abs_diff<V>(s.q3, s.q2));
    steps = V::max_u8(steps, abs_diff<V>(s.q2, s.q1));
    steps = V::max_u8(steps, abs_diff<V>(s.q1, s.q0));
    return V::bit_and(at_most<V>(steps, limits.interior), edge_mask<V>(s, limits.edge));
}

// All-ones where the variance next to the edge is not high.
template <class V>
[[gnu::always_inline]] inline typename V::Reg calm_mask(const Samples<V>& s,
                                                        typename V::Reg threshold) {
    const typename V::Reg steps = V::max_u8(abs_diff<V>(s.p1, s.p0), abs_diff<V>(s.q1, s.q0));
    return at_most<V>(steps, threshold);
}

// The samples of a line as signed values (sample - 128) and back.
template <class V>
[[gnu::always_inline]] inline typename V::Reg flip(typename V::Reg v) {
    return V::bit_xor(v, V::splat(0x80));
}

// clamp(start + 3 * (q0 - p0)) for start within -128..127: adding the clamped
// difference three times with saturation gives the same clamp.
template <class V>
[[gnu::always_inline]] inline typename V::Reg add_three_steps(typename V::Reg start,
                                                              typename V::Reg ps0,
                                                              typename V::Reg qs0) {
    const typename V::Reg step = V::subs_s8(qs0, ps0);
    return V::adds_s8(V::adds_s8(V::adds_s8(start, step), step), step);
}

// Moves p0 and q0 by the filter value a; returns the q0 adjustment.
template <class V>
[[gnu::always_inline]] inline typename V::Reg adjust_p0_q0(typename V::Reg a, typename V::Reg& ps0,
                                                           typename V::Reg& qs0) {
    const typename V::Reg f1 = V::template shift_s8<3>(V::adds_s8(a, V::splat(4)));
    const typename V::Reg f2 = V::template shift_s8<3>(V::adds_s8(a, V::splat(3)));
    qs0 = V::subs_s8(qs0, f1);
    ps0 = V::adds_s8(ps0, f2);
    return f1;
}

// Moves a pair of samples on either side of the edge towards each other.
template <class V>
[[gnu::always_inline]] inline void adjust_pair(typename V::Reg amount, typename V::Reg& ps,
                                               typename V::Reg& qs) {
    qs = V::subs_s8(qs, amount);
    ps = V::adds_s8(ps, amount);
}

template <class V>
[[gnu::always_inline]] inline void inner_edge_filter(Samples<V>& s, const Limits<V>& limits) {
    const typename V::Reg mask = normal_mask<V>(s, limits);
    const typename V::Reg calm = calm_mask<V>(s, limits.hev_threshold);
    typename V::Reg ps1 = flip<V>(s.p1), ps0 = flip<V>(s.p0);
    typename V::Reg qs0 = flip<V>(s.q0), qs1 = flip<V>(s.q1);
    // The outer taps count only where the variance is high.
    const typename V::Reg outer = V::bit_andnot(calm, V::subs_s8(ps1, qs1));
    const typename V::Reg a = V::bit_and(add_three_steps<V>(outer, ps0, qs0), mask);
    const typename V::Reg f1 = adjust_p0_q0<V>(a, ps0, qs0);
    const typename V::Reg u = V::template shift_s8<1>(V::adds_s8(f1, V::splat(1)));
    adjust_pair<V>(V::bit_and(calm, u), ps1, qs1);
    s.p1 = flip<V>(ps1);
    s.p0 = flip<V>(ps0);
    s.q0 = flip<V>(qs0);
    s.q1 = flip<V>(qs1);
}

template <class V>
[[gnu::always_inline]] inline void mb_edge_filter(Samples<V>& s, const Limits<V>& limits) {
    const typename V::Reg mask = normal_mask<V>(s, limits);
    const typename V::Reg calm = calm_mask<V>(s, limits.hev_threshold);
    typename V::Reg ps2 = flip<V>(s.p2), ps1 = flip<V>(s.p1), ps0 = flip<V>(s.p0);
    typename V::Reg qs0 = flip<V>(s.q0), qs1 = flip<V>(s.q1), qs2 = flip<V>(s.q2);
    const typename V::Reg w = V::bit_and(add_three_steps<V>(V::subs_s8(ps1, qs1), ps0, qs0), mask);
    // High variance: only p0 and q0 move. Elsewhere three pairs move by
    // 27/128, 18/128 and 9/128 of w; lanes given w = 0 do not move at all.
    adjust_p0_q0<V>(V::bit_andnot(calm, w), ps0, qs0);
    const typename V::Reg wide = V::bit_and(calm, w);
    typename V::Reg w27, w18, w9;
    V::weighted_thirds_s8(wide, w27, w18, w9);
    adjust_pair<V>(w27, ps0, qs0);
    adjust_pair<V>(w18, ps1, qs1);
    adjust_pair<V>(w9, ps2, qs2);
    s.p2 = flip<V>(ps2);
    s.p1 = flip<V>(ps1);
    s.p0 = flip<V>(ps0);
    s.q0 = flip<V>(qs0);
    s.q1 = flip<V>(qs1);
    s.q2 = flip<V>(qs2);
}

// Reads only p1 p0 q0 q1 and changes only p0 and q0.
template <class V>
[[gnu::always_inline]] inline void simple_filter(Samples<V>& s, typename V::Reg edge) {
    typename V::Reg ps1 = flip<V>(s.p1), ps0 = flip<V>(s.p0);
    typename V::Reg qs0 = flip<V>(s.q0), qs1 = flip<V>(s.q1);
    const typename V::Reg a =
        V::bit_and(add_three_steps<V>(V::subs_s8(ps1, qs1), ps0, qs0), edge_mask<V>(s, edge));
    adjust_p0_q0<V>(a, ps0, qs0);
    s.p0 = flip<V>(ps0);
    s.q0 = flip<V>(qs0);
}

// Sixteen lines of eight samples p3..q3 become the eight sample registers:
// line l's samples sit in the low eight bytes of lines[l] (of every 128-bit
// lane), and sample k of line l ends up in lane l of register k.
template <class V>
[[gnu::always_inline]] inline Samples<V> transpose_lines(const typename V::Reg lines[16]) {
    using Reg = typename V::Reg;
    Reg a[8], b[8];
    for (int k = 0; k < 8; ++k) a[k] = V::template unpack_low<8>(lines[2 * k], lines[2 * k + 1]);
    // Four lines of four samples per register, then eight lines of two.
    for (int k = 0; k < 4; ++k) {
        b[2 * k] = V::template unpack_low<16>(a[2 * k], a[2 * k + 1]);
        b[2 * k + 1] = V::template unpack_high<16>(a[2 * k], a[2 * k + 1]);
    }
    const Reg c0 = V::template unpack_low<32>(b[0], b[2]),
              c1 = V::template unpack_high<32>(b[0], b[2]);
    const Reg c2 = V::template unpack_low<32>(b[1], b[3]),
              c3 = V::template unpack_high<32>(b[1], b[3]);
    const Reg d0 = V::template unpack_low<32>(b[4], b[6]),
              d1 = V::template unpack_high<32>(b[4], b[6]);
    const Reg d2 = V::template unpack_low<32>(b[5], b[7]),
              d3 = V::template unpack_high<32>(b[5], b[7]);
    return {V::template unpack_low<64>(c0, d0), V::template unpack_high<64>(c0, d0),
            V::template unpack_low<64>(c1, d1), V::template unpack_high<64>(c1, d1),
            V::template unpack_low<64>(c2, d2), V::template unpack_high<64>(c2, d2),
            V::template unpack_low<64>(c3, d3), V::template unpack_high<64>(c3, d3)};
}

// The inverse of transpose_lines: pairs[k] holds line 2k in its low eight
// bytes and line 2k + 1 in its high eight bytes (of every 128-bit lane).
template <class V>
[[gnu::always_inline]] inline void untranspose_lines(const Samples<V>& s,
                                                     typename V::Reg pairs[8]) {
    using Reg = typename V::Reg;
    const Reg e0 = V::template unpack_low<8>(s.p3, s.p2),
              e1 = V::template unpack_high<8>(s.p3, s.p2);
    const Reg e2 = V::template unpack_low<8>(s.p1, s.p0),
              e3 = V::template unpack_high<8>(s.p1, s.p0);
    const Reg e4 = V::template unpack_low<8>(s.q0, s.q1),
              e5 = V::template unpack_high<8>(s.q0, s.q1);
    const Reg e6 = V::template unpack_low<8>(s.q2, s.q3),
              e7 = V::template unpack_high<8>(s.q2, s.q3);
    // Lines 0..3, 4..7, 8..11 and 12..15, four samples at a time.
    const Reg f[8] = {V::template unpack_low<16>(e0, e2), V::template unpack_high<16>(e0, e2),
                      V::template unpack_low<16>(e4, e6), V::template unpack_high<16>(e4, e6),
                      V::template unpack_low<16>(e1, e3), V::template unpack_high<16>(e1, e3),
                      V::template unpack_low<16>(e5, e7), V::template unpack_high<16>(e5, e7)};
    pairs[0] = V::template unpack_low<32>(f[0], f[2]);
    pairs[1] = V::template unpack_high<32>(f[0], f[2]);
    pairs[2] = V::template unpack_low<32>(f[1], f[3]);
    pairs[3] = V::template unpack_high<32>(f[1], f[3]);
    pairs[4] = V::template unpack_low<32>(f[4], f[6]);
    pairs[5] = V::template unpack_high<32>(f[4], f[6]);
    pairs[6] = V::template unpack_low<32>(f[5], f[7]);
    pairs[7] = V::template unpack_high<32>(f[5], f[7]);
}

}  // namespace vp8::loop_filter_math
