#include "vp8module/summary_text.h"

#include <array>

#include "vp8dec/mb_modes.h"
#include "vp8module/mode_names.h"
#include "vp8module/text_format.h"

namespace tavimor {

namespace {

constexpr int kModes = 10;

struct Tally {
    int count = 0;
    int bits = 0;
};

struct Statistics {
    std::array<Tally, kModes> modes{};
    Tally intra;
    Tally inter;
};

Statistics tally(const std::vector<vp8::MbAnalysisRecord>& records) {
    Statistics statistics;
    for (const vp8::MbAnalysisRecord& record : records) {
        if (record.mode >= 0 && record.mode < kModes) {
            ++statistics.modes[record.mode].count;
            statistics.modes[record.mode].bits += record.bits;
        }
        Tally& kind = record.ref_frame == vp8::INTRA_FRAME ? statistics.intra : statistics.inter;
        ++kind.count;
        kind.bits += record.bits;
    }
    return statistics;
}

// a / b in single precision, 0 when there is nothing to divide by.
float ratio(float a, float b) {
    return b == 0 ? 0.0f : a / b;
}

void header_lines(std::string& text, const SummaryFacts& facts) {
    appendf(text, "Picture No\t\t: %d\r\n", facts.picture_number);
    appendf(text, "Picture Type\t\t: %s\r\n", facts.summary.frame_type ? "Inter" : "Intra");
    appendf(text, "Segmentation Enabled\t: %s\r\n",
            facts.summary.segmentation_enabled ? "True" : "False");
    if (facts.summary.filter_level < 1) {
        text += "Loop Filter\t\t: Off\r\n";
    } else {
        appendf(text, "Filter Level\t\t: %d\r\n", facts.summary.filter_level);
        appendf(text, "Filter Type\t\t: %s\r\n",
                facts.summary.filter_type == 0 ? "NORMAL" : "SIMPLE");
    }
}

void picture_lines(std::string& text, const SummaryFacts& facts, const Statistics& statistics) {
    text += "\r\n---------------------- Picture statistics ----------------------\r\n";
    appendf(text, "Picture Size\t\t: %dx%d", facts.display_width, facts.display_height);
    if (facts.display_width != facts.coded_width || facts.display_height != facts.coded_height)
        appendf(text, "(%dx%d for decoding)", facts.coded_width, facts.coded_height);
    text += "\r\n";
    const int64_t frame_bits = int64_t{facts.frame_size} * 8;
    appendf(text, "Picture Bits(*1)\t\t: %d(%d bytes)\r\n", static_cast<int>(frame_bits),
            facts.frame_size);
    appendf(text, "Picture Address(*2)\t\t: %#X\r\n", static_cast<unsigned>(facts.frame_position));
    const int64_t samples = int64_t{facts.coded_width} * facts.coded_height;
    appendf(text, "Encoding Rate\t\t: 1/%d\r\n",
            facts.frame_size == 0 ? 0 : static_cast<int>(samples / facts.frame_size));
    const int total = statistics.intra.bits + statistics.inter.bits;
    appendf(text, "mb total bits\t\t: %d\r\n", total);
    appendf(text, "mb bits/total_bits\t\t: %.3f\r\n",
            ratio(static_cast<float>(total), static_cast<float>(frame_bits)));
    appendf(text, "Average Bits/MB\t\t: %.3f\r\n",
            ratio(static_cast<float>(total),
                  static_cast<float>(statistics.intra.count + statistics.inter.count)));
}

void mb_lines(std::string& text, const Statistics& statistics) {
    text += "\r\n------------------------ MB statistics -------------------------\r\n";
    appendf(text, "     %-20s\t\t: %-5s\t%s\t%s\r\n", "mb type", "Count", "Total Bits", "Bits/MB");
    if (statistics.intra.count == 0 && statistics.inter.count == 0) return;
    appendf(text, "    *I-MBs\t\t\t: %-5d\t%-6d\t%.2f\r\n", statistics.intra.count,
            statistics.intra.bits,
            ratio(static_cast<float>(statistics.intra.bits),
                  static_cast<float>(statistics.intra.count)));
    for (int mode = 0; mode < kModes; ++mode) {
        const Tally& tally = statistics.modes[mode];
        if (tally.count == 0) continue;
        appendf(text, "        +%-20s\t: %-5d\t%-6d\t%.2f\r\n",
                std::string(mb_mode_name(mode)).c_str(), tally.count, tally.bits,
                ratio(static_cast<float>(tally.bits), static_cast<float>(tally.count)));
    }
    text += "\r\n";
}

}  // namespace

std::string summary_text(const SummaryFacts& facts,
                         const std::vector<vp8::MbAnalysisRecord>& records) {
    const Statistics statistics = tally(records);
    std::string text;
    header_lines(text, facts);
    picture_lines(text, facts, statistics);
    mb_lines(text, statistics);
    text += "*1: Picture Bits are pure picture without counting IVF frame header(12bytes).\r\n";
    text += "*2: Picture Address are the starting address for the first picture data.\r\n";
    return text;
}

std::string working_files_lines(int cached, int decoded, int64_t bytes, int64_t budget) {
    constexpr double kMegabyte = 1 << 20;
    std::string text = "\r\n";
    appendf(text, "Cached Pictures\t\t: %d of %d\r\n", cached, decoded);
    appendf(text, "Working Files\t\t: %.1f MB (limit %.1f MB)\r\n",
            static_cast<double>(bytes) / kMegabyte, static_cast<double>(budget) / kMegabyte);
    return text;
}

}  // namespace tavimor
