// Captures for the analysis views: each macroblock's prediction, and whole pictures.
#pragma once

#include "vp8dec/decoder_instance.h"

namespace vp8 {

// Sizes the "Predicted" slot for the frame; false when nothing is captured.
bool prepare_prediction_capture(DecoderInstance& instance);
// Captures a macroblock's prediction into its row, and the row into the slot
// once every macroblock of it is captured.
void capture_mb_prediction(DecoderInstance& instance, MacroblockContext& mb);
void capture_prediction_row(DecoderInstance& instance, int mb_row);
// Copies the visible area of a frame into a picture slot and, when given, the
// slot's descriptor into the frame's record.
void capture_picture(DecoderInstance& instance, int slot, const FrameBuffer& frame,
                     PlanarPicture* record_copy);

}  // namespace vp8
