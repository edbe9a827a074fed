// Inter prediction of one macroblock from its reference frame.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

// Chroma vectors from the (unclamped) luma vectors: one for the whole
// macroblock in entry 16, or one for each of the 8 chroma blocks of a split.
void derive_chroma_mvs(MacroblockContext& mb, bool whole_sample_chroma);

// Clamps the vectors used for prediction of a macroblock flagged as needing it.
void clamp_prediction_vectors(MacroblockContext& mb);

// Predicts the macroblock into its place in the frame being decoded.
void predict_inter_mb(const DecoderInstance& instance, const MacroblockContext& mb);

}  // namespace vp8
