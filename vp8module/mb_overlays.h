// What the overlays mark on the picture shown, from its macroblock records:
// the statistics numbers, the partitions ("MB blocks"), the motion vectors
// ("MB MVs") and the selected macroblock ("MB Rect"), in this order.
#pragma once

#include <vector>

#include "display/overlay_list.h"
#include "vp8dec/mb_analysis_record.h"

namespace tavimor {

struct ViewState;

// Records in raster order, columns x rows of them.
OverlayList mb_overlays(const std::vector<vp8::MbAnalysisRecord>& records, int columns, int rows,
                        const ViewState& view);

}  // namespace tavimor
