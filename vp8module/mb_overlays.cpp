#include "vp8module/mb_overlays.h"

#include <string>

#include "shell/view_state.h"
#include "vp8dec/mb_modes.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;
constexpr int kIntraColour = 2;      // magenta
constexpr int kInterColour = 0;      // green
constexpr int kSelectionColour = 4;  // blue

// A partition of a macroblock: its place and size inside it, and the
// sub-block whose vector it carries (its top-left 4x4 block).
struct Partition {
    int x, y, width, height, subblock;
};

// The partitions of a macroblock, row by row.
std::vector<Partition> partitions(const vp8::MbAnalysisRecord& record) {
    if (record.mode != vp8::SPLITMV) return {{0, 0, 16, 16, 0}};
    switch (record.partitioning) {
        case vp8::SPLIT_16X8:
            return {{0, 0, 16, 8, 0}, {0, 8, 16, 8, 8}};
        case vp8::SPLIT_8X16:
            return {{0, 0, 8, 16, 0}, {8, 0, 8, 16, 2}};
        case vp8::SPLIT_8X8:
            return {{0, 0, 8, 8, 0}, {8, 0, 8, 8, 2}, {0, 8, 8, 8, 8}, {8, 8, 8, 8, 10}};
        default: {
            std::vector<Partition> all;
            for (int k = 0; k < 16; ++k) all.push_back({4 * (k % 4), 4 * (k / 4), 4, 4, k});
            return all;
        }
    }
}

int statistic(const vp8::MbAnalysisRecord& record, int type) {
    switch (type) {
        case kStatisticsBits:
            return record.bits;
        case kStatisticsQpY:
            return record.reserved176[0];
        case kStatisticsQpCr:
            return record.reserved176[1];
        default:
            return record.reserved176[2];
    }
}

void statistics_numbers(OverlayList& list, const std::vector<vp8::MbAnalysisRecord>& records,
                        int columns, int rows, int type) {
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            list.push_back(
                overlay_label(kMbSize * column + 2, kMbSize * row + 2,
                              std::to_string(statistic(
                                  records[static_cast<size_t>(row) * columns + column], type))));
}

void mb_blocks(OverlayList& list, const std::vector<vp8::MbAnalysisRecord>& records, int columns,
               int rows) {
    for (int column = columns - 1; column >= 0; --column) {
        for (int row = rows - 1; row >= 0; --row) {
            const vp8::MbAnalysisRecord& record =
                records[static_cast<size_t>(row) * columns + column];
            const int x = kMbSize * column, y = kMbSize * row;
            if (record.mode == vp8::B_PRED) {
                for (int k = 0; k < 16; ++k)
                    list.push_back(
                        overlay_rectangle(x + 4 * (k % 4), y + 4 * (k / 4), 4, 4, kIntraColour));
            } else if (record.mode < vp8::B_PRED) {
                list.push_back(overlay_rectangle(x, y, kMbSize, kMbSize, kIntraColour));
            } else {
                for (const Partition& p : partitions(record))
                    list.push_back(
                        overlay_rectangle(x + p.x, y + p.y, p.width, p.height, kInterColour));
            }
        }
    }
}

void mb_vectors(OverlayList& list, const std::vector<vp8::MbAnalysisRecord>& records, int columns,
                int rows) {
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            const vp8::MbAnalysisRecord& record =
                records[static_cast<size_t>(row) * columns + column];
            if (record.ref_frame == vp8::INTRA_FRAME) continue;
            for (const Partition& p : partitions(record)) {
                const vp8::MotionVector mv =
                    record.mode == vp8::SPLITMV ? record.subblocks[p.subblock].mv : record.mv;
                const int x0 = kMbSize * column + p.x + p.width / 2;
                const int y0 = kMbSize * row + p.y + p.height / 2;
                list.push_back(
                    overlay_line(x0, y0, x0 + mv.col / 4, y0 + mv.row / 4, kInterColour, true));
            }
        }
    }
}

}  // namespace

OverlayList mb_overlays(const std::vector<vp8::MbAnalysisRecord>& records, int columns, int rows,
                        const ViewState& view) {
    OverlayList list;
    const bool complete =
        columns > 0 && rows > 0 && records.size() == static_cast<size_t>(columns) * rows;
    if (complete && view.statistics_type >= kStatisticsBits &&
        view.statistics_type <= kStatisticsQpCb)
        statistics_numbers(list, records, columns, rows, view.statistics_type);
    if (complete && (view.overlay_flags & kOverlayMbBlocks))
        mb_blocks(list, records, columns, rows);
    if (complete && (view.overlay_flags & kOverlayMbMvs)) mb_vectors(list, records, columns, rows);
    if (view.overlay_flags & kOverlayMbRect)
        list.push_back(overlay_rectangle(view.selected_x & ~(kMbSize - 1),
                                         view.selected_y & ~(kMbSize - 1), kMbSize, kMbSize,
                                         kSelectionColour));
    return list;
}

}  // namespace tavimor
