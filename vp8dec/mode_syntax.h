// Syntax elements that both mode readers share.
#pragma once

#include "vp8dec/bool_reader.h"
#include "vp8dec/decoder_instance.h"

namespace vp8 {

template <class Shift>
inline int read_segment_id(WindowReader& reader, const uint8_t* probs) {
    if (read_bool<Shift>(reader, probs[0])) return 2 + read_bool<Shift>(reader, probs[2]);
    return read_bool<Shift>(reader, probs[1]);
}

// Reads the frame's skip probability when skip flags are coded.
inline void read_skip_probability(DecoderInstance& instance) {
    instance.prob_skip_false = 0;
    if (!instance.mb_no_coeff_skip) return;
    instance.prob_skip_false = static_cast<int>(read_literal(instance.first_reader, 8));
    instance.syntax.prob_skip_false = {true, instance.prob_skip_false, false};
}

template <class Shift>
inline int read_skip_flag(WindowReader& reader, const DecoderInstance& instance) {
    return instance.mb_no_coeff_skip ? read_bool<Shift>(reader, instance.prob_skip_false) : 0;
}

}  // namespace vp8
