// Row threads: the caller's thread and its workers decode the macroblock rows
// of a frame at once, each row kept two macroblocks behind the row above it,
// and loop-filter each row once the row below it is decoded. In a frame of one
// token partition the caller's thread reads the tokens while a worker reads
// the modes and reconstructs the rows behind it; each row is filtered by
// whichever of the two would otherwise wait.
#pragma once

namespace vp8 {

struct DecoderInstance;
class RowThreads;

// Starts count - 1 workers beside the caller's thread (count 2 to 16). Returns
// null when a thread cannot be started or memory runs out.
RowThreads* start_row_threads(int count);
// Ends the workers and frees them; null is ignored.
void stop_row_threads(RowThreads* threads);

// Reads the frame's modes and decodes every row of the frame (rows of one
// token partition one after the other), filtering them when filter_rows is
// set; the rows are decoded while the modes are still being read. The frame's loop-filter
// levels are prepared by the caller.
void decode_rows_on_threads(RowThreads& threads, DecoderInstance& instance, bool filter_rows);

}  // namespace vp8
