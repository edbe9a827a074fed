#include "tests/support/truth_texts.h"

#include <cstdarg>
#include <cstdio>
#include <map>

#include "tests/support/test_paths.h"

namespace tavimor::test {

namespace {

enum Buffer { kLast = 0, kGolden = 1, kAltref = 2 };

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
    char buffer[512];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, arguments);
    va_end(arguments);
    return buffer;
}

// A header field; null (not coded) and absent read as 0.
int field(const JsonValue& frame, const char* key) {
    const JsonValue* value = frame.find(key);
    return value && !value->is_null() ? static_cast<int>(value->as_int()) : 0;
}

int item(const JsonValue& list, size_t index) {
    return static_cast<int>(list.items.at(index).as_int());
}

// Names of the truth file's luma modes as the texts print them.
std::string mode_name(const std::string& mode) {
    static const std::map<std::string, std::string> kNames = {
        {"DC", "DC_PRED"}, {"V", "V_PRED"},          {"H", "H_PRED"},    {"TM", "TM_PRED"},
        {"B", "B_PRED"},   {"NEAREST", "NEARESTMV"}, {"NEAR", "NEARMV"}, {"ZERO", "ZEROMV"},
        {"NEW", "NEWMV"},  {"SPLIT", "SPLITMV"}};
    return kNames.at(mode);
}

int chroma_mode_number(const std::string& mode) {
    static const std::map<std::string, int> kNumbers = {{"DC", 0}, {"V", 1}, {"H", 2}, {"TM", 3}};
    return kNumbers.at(mode);
}

// Sub-block modes 0 to 9 of a B macroblock, sub-vector modes 10 to 13 of a split.
std::string subblock_name(int mode) {
    static const char* const kNames[] = {
        "B_DC_PRED", "B_TM_PRED", "B_VE_PRED", "B_HE_PRED", "B_LD_PRED", "B_RD_PRED", "B_VR_PRED",
        "B_VL_PRED", "B_HD_PRED", "B_HU_PRED", "LEFT4X4",   "ABOVE4X4",  "ZERO4X4",   "NEW4X4"};
    return kNames[mode];
}

const char* reference_name(int reference) {
    static const char* const kNames[] = {"INTRA_FRAME", "LAST_FRAME", "GOLDEN_FRAME",
                                         "ALTREF_FRAME"};
    return kNames[reference];
}

// The frame number as the texts print it: the low byte, signed.
int printed_number(int picture) {
    return static_cast<int8_t>(static_cast<uint8_t>(picture & 0xFF));
}

std::string intra_text(const JsonValue& mb) {
    const std::string mode = mb.find("y")->text;
    std::string text = "++++ Intra Mode Info ++++\r\n";
    text += "MB Type\t: " + mode_name(mode) + "\r\n";
    if (mode == "B") {
        text += "    NumMbPart\t: 16\r\n    MbPartSize\t: 4 x 4\r\n    Sub-block Types: \r\n";
        const JsonValue& modes = *mb.find("b");
        for (int row = 0; row < 4; ++row) {
            text += "      ";
            for (int column = 0; column < 4; ++column)
                text += format("%-10s\t", subblock_name(item(modes, 4 * row + column)).c_str());
            text += "\r\n";
        }
    } else {
        text += "    NumMbPart\t: 1\r\n    MbPartSize\t: 16 x 16\r\n";
    }
    const std::string chroma = mb.find("uv")->text;
    text +=
        format("\r\n    U/V are (%d)%s\r\n", chroma_mode_number(chroma), mode_name(chroma).c_str());
    return text;
}

// The vector of a list [row, column] in quarter pixels, as the texts print
// it: in eighth pixels.
std::string vector_text(const JsonValue& quarter_pixels) {
    return format("MV(%2d,%2d)", 2 * item(quarter_pixels, 0), 2 * item(quarter_pixels, 1));
}

std::string split_text(const JsonValue& mb, const std::string& reference) {
    const int partitioning = field(mb, "p");
    const JsonValue& modes = *mb.find("sm");
    const JsonValue& vectors = *mb.find("smv");
    static const int kPartitions[] = {2, 2, 4, 16};
    static const char* const kSizes[] = {"16x8", "8x16", "8x8", "4x4"};
    std::string text =
        format("    NumMbPart\t: %d\r\n    MbPartSize\t: %s\r\n    Subblock Types: \r\n",
               kPartitions[partitioning], kSizes[partitioning]);
    auto mode = [&](int partition) { return subblock_name(item(modes, partition)); };
    // Each partition's vector is that of its top-left sub-block; the labels
    // are those the analyser prints.
    struct Line {
        int label_first, label_second, subblock;
    };
    std::vector<Line> lines;
    switch (partitioning) {
        case 0:  // top and bottom: one mode per line
            text += "        " + mode(0) + "\r\n" + "        " + mode(1) + "\r\n";
            lines = {{0, 0, 0}, {0, 1, 8}};
            break;
        case 1:  // left and right: side by side
            text += format("        %-10s\t%s\r\n", mode(0).c_str(), mode(1).c_str());
            lines = {{0, 0, 0}, {1, 0, 2}};
            break;
        case 2:  // quarters: two lines of two
            text += format("        %-10s\t%s\r\n", mode(0).c_str(), mode(1).c_str());
            text += format("        %-10s\t%s\r\n", mode(2).c_str(), mode(3).c_str());
            lines = {{0, 0, 0}, {0, 1, 2}, {1, 0, 8}, {1, 1, 10}};
            break;
        default:  // sixteen: four lines of four
            for (int row = 0; row < 4; ++row)
                text += format("        %-10s\t%-10s\t%-10s\t%-10s\r\n", mode(4 * row).c_str(),
                               mode(4 * row + 1).c_str(), mode(4 * row + 2).c_str(),
                               mode(4 * row + 3).c_str());
            for (int k = 0; k < 16; ++k) lines.push_back({k / 4, k % 4, k});
            break;
    }
    text += "    MV Info: \r\n";
    for (const Line& line : lines)
        text += format("        Block(%d, %d) ", line.label_first, line.label_second) +
                vector_text(vectors.items.at(static_cast<size_t>(line.subblock))) + reference;
    return text;
}

std::string inter_text(const JsonValue& mb, const std::array<int, 3>& references) {
    const int reference = field(mb, "r");
    const std::string mode = mb.find("y")->text;
    const std::string reference_text =
        format(", ref = %s(Frame No: %d)\r\n", reference_name(reference),
               printed_number(references[static_cast<size_t>(reference - 1)]));
    std::string text = "****** Inter Info ******\r\nMB Type: " + mode_name(mode) + "\r\n";
    if (mode == "SPLIT") return text + split_text(mb, reference_text);
    return text + "    NumMbPart\t: 1\r\n    MbPartSize\t: 16 x 16\r\n    " +
           vector_text(*mb.find("mv")) + reference_text;
}

}  // namespace

TruthStream truth_stream(std::vector<JsonValue> frames) {
    TruthStream truth;
    truth.frames = std::move(frames);
    std::array<int, 3> held = {0, 0, 0};
    std::array<int, 2> grid = {0, 0};
    int shown = 0;
    for (size_t i = 0; i < truth.frames.size(); ++i) {
        const JsonValue& frame = truth.frames[i];
        const bool key = field(frame, "key") != 0;
        if (key) grid = {(field(frame, "width") + 15) / 16, (field(frame, "height") + 15) / 16};
        truth.grids.push_back(grid);
        // The macroblocks predict from the buffers as they were before this
        // frame's updates.
        truth.references.push_back(held);
        if (field(frame, "show")) {
            ++shown;
            truth.shown.push_back(i);
        }
        const int number = shown;
        if (key) {
            held = {number, number, number};
            continue;
        }
        const std::array<int, 3> before = held;
        switch (field(frame, "copy_buffer_to_alternate")) {
            case 1:
                held[kAltref] = before[kLast];
                break;
            case 2:
                held[kAltref] = before[kGolden];
                break;
        }
        switch (field(frame, "copy_buffer_to_golden")) {
            case 1:
                held[kGolden] = before[kLast];
                break;
            case 2:
                held[kGolden] = before[kAltref];
                break;
        }
        if (field(frame, "refresh_golden_frame")) held[kGolden] = number;
        if (field(frame, "refresh_alternate_frame")) held[kAltref] = number;
        if (field(frame, "refresh_last")) held[kLast] = number;
    }
    return truth;
}

std::optional<TruthStream> read_truth(const std::string& path) {
    std::string text = read_file(path);
    if (text.empty()) text = read_file(path + ".gz");
    if (text.empty()) return std::nullopt;
    std::vector<JsonValue> frames;
    for (const std::string& line : split_lines(text)) {
        if (line.empty()) continue;
        std::optional<JsonValue> frame = parse_json(line);
        if (!frame) return std::nullopt;
        frames.push_back(std::move(*frame));
    }
    return truth_stream(std::move(frames));
}

std::string truth_pred_info(const TruthStream& truth, size_t frame, int index) {
    const int columns = truth.grids.at(frame)[0];
    const int column = index % columns, row = index / columns;
    const JsonValue& mb = truth.frames.at(frame).find("mbs")->items.at(static_cast<size_t>(index));
    std::string text = format("==== MB %d(%d, %d) ====\r\n    Location\t: (%d, %d), \r\n\r\n",
                              index, column, row, 16 * column, 16 * row);
    if (field(mb, "r") == 0) return text + intra_text(mb);
    return text + inter_text(mb, truth.references.at(frame));
}

std::string truth_pred_dump(const TruthStream& truth, int picture) {
    const size_t frame = truth.shown.at(static_cast<size_t>(picture - 1));
    std::string text = format("\n+++++++++++++++++ Frame=%d +++++++++++++++++\r\n", picture - 1);
    const std::array<int, 2> grid = truth.grids.at(frame);
    for (int index = 0; index < grid[0] * grid[1]; ++index)
        text += truth_pred_info(truth, frame, index);
    return text;
}

}  // namespace tavimor::test
