// info: the stream's summary and one row per decoded frame.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/decode_session.h"

namespace tavimor {

namespace {

struct FrameRow {
    int64_t index = 0;
    std::optional<int64_t> picture;  // counting from 1
    bool key = false;
    int version = 0;
    size_t size = 0;
    int q = 0;
    int filter_level = 0;
    int filter_type = 0;
    int partitions = 0;
    std::vector<const char*> refresh;
};

struct StreamSummary {
    std::vector<std::pair<int, int>> sizes;
    std::vector<FrameRow> rows;
    int64_t shown = 0, key_frames = 0, bytes = 0;
};

FrameRow describe(const DecodedFrame& frame) {
    const vp8::DecoderInstance& instance = *frame.instance;
    const vp8::FrameSyntax& s = instance.syntax;
    FrameRow row;
    row.index = frame.index;
    if (frame.record) row.picture = frame.picture + 1;
    row.key = s.key_frame;
    row.version = s.version;
    row.size = frame.data->size();
    row.q = s.y_ac_qi;
    row.filter_level = s.loop_filter_level;
    row.filter_type = s.filter_type;
    row.partitions = s.partitions;
    if (s.refresh_last) row.refresh.push_back("last");
    if (s.key_frame || s.refresh_golden_frame) row.refresh.push_back("golden");
    if (s.key_frame || s.refresh_alternate_frame) row.refresh.push_back("altref");
    return row;
}

void add_frame(StreamSummary& summary, const DecodedFrame& frame) {
    if (frame.failed || !frame.instance) return;
    const FrameRow row = describe(frame);
    const vp8::FrameSyntax& s = frame.instance->syntax;
    if (s.key_frame &&
        (summary.sizes.empty() || summary.sizes.back() != std::pair(s.width, s.height)))
        summary.sizes.emplace_back(s.width, s.height);
    summary.shown += row.picture.has_value();
    summary.key_frames += row.key;
    summary.bytes += static_cast<int64_t>(row.size);
    summary.rows.push_back(row);
}

std::string refresh_text(const FrameRow& row, bool json) {
    std::string text;
    for (const char* name : row.refresh) {
        if (!text.empty()) text += ',';
        text += json ? std::string("\"") + name + "\"" : name;
    }
    return json ? "[" + text + "]" : (text.empty() ? "-" : text);
}

void print_text(const StreamSummary& summary, const char* input) {
    std::printf("input: %s\n", input);
    for (size_t i = 0; i < summary.sizes.size(); ++i)
        std::printf("%s: %dx%d\n", i == 0 ? "size" : "size change", summary.sizes[i].first,
                    summary.sizes[i].second);
    const int64_t frames = static_cast<int64_t>(summary.rows.size());
    std::printf("frames: %lld\nshown: %lld\nkey frames: %lld\ninvisible: %lld\nbytes: %lld\n\n",
                static_cast<long long>(frames), static_cast<long long>(summary.shown),
                static_cast<long long>(summary.key_frames),
                static_cast<long long>(frames - summary.shown),
                static_cast<long long>(summary.bytes));
    std::printf("%7s %7s %4s %7s %8s %3s %12s %11s %10s  %s\n", "index", "picture", "type",
                "version", "size", "q", "filter_level", "filter_type", "partitions", "refresh");
    for (const FrameRow& row : summary.rows) {
        const std::string picture = row.picture ? std::to_string(*row.picture) : "-";
        std::printf("%7lld %7s %4s %7d %8zu %3d %12d %11d %10d  %s\n",
                    static_cast<long long>(row.index), picture.c_str(), row.key ? "K" : "I",
                    row.version, row.size, row.q, row.filter_level, row.filter_type, row.partitions,
                    refresh_text(row, false).c_str());
    }
}

void print_json(const StreamSummary& summary, const char* input) {
    const int64_t frames = static_cast<int64_t>(summary.rows.size());
    const std::pair<int, int> first =
        summary.sizes.empty() ? std::pair(0, 0) : summary.sizes.front();
    std::printf("{\"input\":\"%s\",\"width\":%d,\"height\":%d,\"sizes\":[", input, first.first,
                first.second);
    std::vector<std::pair<int, int>> distinct;
    for (const auto& size : summary.sizes)
        if (std::find(distinct.begin(), distinct.end(), size) == distinct.end())
            distinct.push_back(size);
    for (size_t i = 0; i < distinct.size(); ++i)
        std::printf("%s[%d,%d]", i ? "," : "", distinct[i].first, distinct[i].second);
    std::printf(
        "],\"frames\":%lld,\"shown\":%lld,\"key_frames\":%lld,\"invisible\":%lld,\"bytes\":%lld,"
        "\"frame_table\":[",
        static_cast<long long>(frames), static_cast<long long>(summary.shown),
        static_cast<long long>(summary.key_frames), static_cast<long long>(frames - summary.shown),
        static_cast<long long>(summary.bytes));
    for (size_t i = 0; i < summary.rows.size(); ++i) {
        const FrameRow& row = summary.rows[i];
        const std::string picture = row.picture ? std::to_string(*row.picture) : "null";
        std::printf(
            "%s{\"index\":%lld,\"picture\":%s,\"type\":\"%s\",\"version\":%d,\"size\":%zu,\"q\":%d,"
            "\"filter_level\":%d,\"filter_type\":%d,\"partitions\":%d,\"refresh\":%s}",
            i ? "," : "", static_cast<long long>(row.index), picture.c_str(), row.key ? "K" : "I",
            row.version, row.size, row.q, row.filter_level, row.filter_type, row.partitions,
            refresh_text(row, true).c_str());
    }
    std::printf("]}\n");
}

}  // namespace

int run_info(const CliOptions& options) {
    const bool json = options.has("--json");
    const StreamInput input(options.input);
    const char* kind = input.matroska() ? "matroska" : "ivf";
    DecodeSession session(input.ivf_path());
    StreamSummary summary;
    try {
        session.run([&](const DecodedFrame& frame) { add_frame(summary, frame); });
    } catch (const InputError&) {
        // What was decoded before the failure is still reported.
        json ? print_json(summary, kind) : print_text(summary, kind);
        throw;
    }
    json ? print_json(summary, kind) : print_text(summary, kind);
    return 0;
}

}  // namespace tavimor
