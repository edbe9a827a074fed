#include "vp8module/mb_texts.h"

#include "vp8dec/mb_modes.h"
#include "vp8module/mode_names.h"
#include "vp8module/text_format.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;

// The sub-block entries whose modes a split's mode lines print, and the
// entries and labels of its vector lines, by partitioning.
struct SplitLayoutText {
    int partitions;
    int mode_lines[4][4];  // entries per line, -1 ends a line
    int vector_entries[16];
};

constexpr SplitLayoutText kSplitTexts[4] = {
    {2, {{0, -1}, {8, -1}, {-1}, {-1}}, {0, 8}},
    {2, {{0, 2, -1}, {-1}, {-1}, {-1}}, {0, 2}},
    {4, {{0, 2, -1}, {8, 10, -1}, {-1}, {-1}}, {0, 2, 8, 10}},
    {16,
     {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
};

// Labels of the vector lines: (row, column) of the partition as printed.
constexpr int kSplitLabels[4][16][2] = {
    {{0, 0}, {0, 1}},
    {{0, 0}, {1, 0}},
    {{0, 0}, {0, 1}, {1, 0}, {1, 1}},
    {{0, 0},
     {0, 1},
     {0, 2},
     {0, 3},
     {1, 0},
     {1, 1},
     {1, 2},
     {1, 3},
     {2, 0},
     {2, 1},
     {2, 2},
     {2, 3},
     {3, 0},
     {3, 1},
     {3, 2},
     {3, 3}},
};

void heading(std::string& text, const MbPlace& place) {
    appendf(text, "==== MB %d(%d, %d) ====\r\n", place.number, place.column, place.row);
    appendf(text, "    Location\t: (%d, %d), \r\n", kMbSize * place.column, kMbSize * place.row);
}

std::string name(std::string_view view) {
    return std::string(view);
}

void intra_text(std::string& text, const vp8::MbAnalysisRecord& record) {
    text += "++++ Intra Mode Info ++++\r\n";
    appendf(text, "MB Type\t: %s\r\n", name(mb_mode_name(record.mode)).c_str());
    if (record.mode == vp8::B_PRED) {
        text += "    NumMbPart\t: 16\r\n";
        text += "    MbPartSize\t: 4 x 4\r\n";
        text += "    Sub-block Types: \r\n";
        for (int row = 0; row < 4; ++row) {
            text += "      ";
            for (int column = 0; column < 4; ++column)
                appendf(text, "%-10s\t",
                        name(subblock_mode_name(record.subblocks[4 * row + column].mode)).c_str());
            text += "\r\n";
        }
    } else {
        text += "    NumMbPart\t: 1\r\n";
        text += "    MbPartSize\t: 16 x 16\r\n";
    }
    text += "\r\n";
    appendf(text, "    U/V are (%d)%s\r\n", record.uv_mode,
            name(mb_mode_name(record.uv_mode)).c_str());
}

void split_mode_lines(std::string& text, const vp8::MbAnalysisRecord& record,
                      const SplitLayoutText& layout) {
    for (const auto& line : layout.mode_lines) {
        if (line[0] < 0) break;
        int count = 0;
        while (count < 4 && line[count] >= 0) ++count;
        text += "        ";
        for (int i = 0; i < count; ++i) {
            const std::string mode = name(subblock_mode_name(record.subblocks[line[i]].mode));
            // Every name but a line's last is padded; the four-wide lines pad all.
            if (i + 1 < count || count == 4)
                appendf(text, i + 1 < count ? "%-10s\t" : "%-10s", mode.c_str());
            else
                text += mode;
        }
        text += "\r\n";
    }
}

void inter_text(std::string& text, const vp8::MbAnalysisRecord& record,
                const ReferenceNumbers& references) {
    const std::string reference = name(reference_frame_name(record.ref_frame));
    const int frame = references.of_reference(record.ref_frame);
    text += "****** Inter Info ******\r\n";
    appendf(text, "MB Type: %s\r\n", name(mb_mode_name(record.mode)).c_str());
    if (record.mode != vp8::SPLITMV || record.partitioning < 0 || record.partitioning > 3) {
        text += "    NumMbPart\t: 1\r\n";
        text += "    MbPartSize\t: 16 x 16\r\n";
        appendf(text, "    MV(%2d,%2d), ref = %s(Frame No: %d)\r\n", record.mv.row, record.mv.col,
                reference.c_str(), frame);
        return;
    }
    const SplitLayoutText& layout = kSplitTexts[record.partitioning];
    appendf(text, "    NumMbPart\t: %d\r\n", layout.partitions);
    appendf(text, "    MbPartSize\t: %s\r\n",
            name(partition_size_name(record.partitioning)).c_str());
    text += "    Subblock Types: \r\n";
    split_mode_lines(text, record, layout);
    text += "    MV Info: \r\n";
    for (int p = 0; p < layout.partitions; ++p) {
        const vp8::MotionVector& mv = record.subblocks[layout.vector_entries[p]].mv;
        appendf(text, "        Block(%d, %d) MV(%2d,%2d), ref = %s(Frame No: %d)\r\n",
                kSplitLabels[record.partitioning][p][0], kSplitLabels[record.partitioning][p][1],
                mv.row, mv.col, reference.c_str(), frame);
    }
}

}  // namespace

ReferenceNumbers ReferenceNumbers::of(const vp8::FrameAnalysisRecord& record) {
    return {static_cast<int8_t>(record.last_frame_number),
            static_cast<int8_t>(record.golden_frame_number),
            static_cast<int8_t>(record.altref_frame_number)};
}

int ReferenceNumbers::of_reference(int reference) const {
    switch (reference) {
        case vp8::LAST_FRAME:
            return last;
        case vp8::GOLDEN_FRAME:
            return golden;
        case vp8::ALTREF_FRAME:
            return altref;
        default:
            return 0;
    }
}

std::string mb_info_text(const vp8::MbAnalysisRecord& record, const MbPlace& place) {
    std::string text;
    heading(text, place);
    appendf(text, "    Segment ID\t: %d\r\n", record.segment_id);
    appendf(text, "    MB Type\t: %s\r\n", name(mb_mode_name(record.mode)).c_str());
    appendf(text, "    Bit Number\t: %d\r\n", record.bits);
    appendf(text, "    QP\t\t: %d\r\n", record.reserved176[0]);
    appendf(text, "    QPC\t\t: %d, %d\r\n", record.reserved176[1], record.reserved176[2]);
    return text;
}

std::string pred_info_text(const vp8::MbAnalysisRecord& record, const MbPlace& place,
                           const ReferenceNumbers& references) {
    std::string text;
    heading(text, place);
    text += "\r\n";
    if (record.mode >= vp8::NEARESTMV)
        inter_text(text, record, references);
    else
        intra_text(text, record);
    return text;
}

}  // namespace tavimor
