// Steps of the frame decode shared between the decoder's files.
#pragma once

#include <cstdint>

#include "vp8dec/decoder_instance.h"
#include "vp8dec/header_trace.h"

namespace vp8 {

// Frame header and the whole frame decode; 0, or -1 when no picture size is known yet.
int decode_one_frame(DecoderInstance& instance);

// Reads multi_token_partition, lays the token partitions out after the first
// partition and starts their readers.
void open_token_partitions(DecoderInstance& instance, uint64_t start_offset,
                           const HeaderTrace& trace);

void read_key_frame_modes(DecoderInstance& instance);
void read_inter_frame_modes(DecoderInstance& instance);

// Tokens of one macroblock; returns the sum of the blocks' end positions
// (minus 16 with a Y2 block).
int read_mb_tokens(DecoderInstance& instance, MacroblockContext& mb);
void clear_mb_token_contexts(MacroblockContext& mb);

void build_factor_tables(FactorTables& tables, const QuantHeader& quant);
void select_frame_factors(DecoderInstance& instance);
void select_mb_factors(DecoderInstance& instance, MacroblockContext& mb);

// Dequantisation, inverse transforms and the coefficient dump of one macroblock.
void residual_stage(DecoderInstance& instance, MacroblockContext& mb);
// Writes 24 empty coefficient records.
void write_empty_coef_records(DecoderInstance& instance);

void setup_intra_borders(FrameBuffer& frame);
void extend_row_right_edge(FrameBuffer& frame, int mb_row);
void replicate_borders(FrameBuffer& frame);

void build_macroblock(DecoderInstance& instance, MacroblockContext& mb);
// Sizes the "Predicted" slot for the frame; false when nothing is captured.
bool prepare_prediction_capture(DecoderInstance& instance);
void capture_mb_prediction(DecoderInstance& instance, MacroblockContext& mb);
// Copies the visible area of a frame into a picture slot and, when given, the
// slot's descriptor into the frame's record.
void capture_picture(DecoderInstance& instance, int slot, const FrameBuffer& frame,
                     PlanarPicture* record_copy);

// Decodes every macroblock row of the frame, and loop-filters the rows as it
// goes when nothing captures the picture before the loop filter.
void decode_mb_rows(DecoderInstance& instance);
// Whether decode_mb_rows filters the frame itself.
bool filters_in_rows(const DecoderInstance& instance);
// The parts of a row: clearing its left contexts and choosing its reader, and
// decoding the macroblock at one column.
void start_mb_row(DecoderInstance& instance, MacroblockContext& mb, int row);
void decode_macroblock(DecoderInstance& instance, MacroblockContext& mb, int col, bool capture);

void build_filter_levels(DecoderInstance& instance);
void refresh_variance_thresholds(DecoderInstance& instance, int frame_type);
void filter_frame_edges(DecoderInstance& instance, FrameBuffer& frame);
// The frame pass in parts, for filtering each row once the row below it is
// decoded: the frame's levels, the edges of one macroblock row, and noting the
// frame's filter settings as the last ones.
void prepare_loop_filter(DecoderInstance& instance);
void filter_mb_row(const DecoderInstance& instance, const FrameBuffer& frame, int row);
void finish_loop_filter(DecoderInstance& instance);

// Monotonic clock in microseconds.
int64_t now_microseconds();

}  // namespace vp8
