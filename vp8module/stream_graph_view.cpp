#include "vp8module/stream_graph_view.h"

#include <string>

#include "platform/canvas.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/stream_survey.h"
#include "vp8module/text_format.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

constexpr int kInset = 4;

Rect graph_area(Platform& platform, WindowHandle dialog) {
    const Rect frame = platform.window_rect(platform.dialog_item(dialog, ctl::kStreamGraphFrame));
    return {frame.left + kInset, frame.top + kInset, frame.right - kInset, frame.bottom - kInset};
}

std::string legend(const StreamGraph& graph) {
    int largest = 0, keys = 0;
    for (const GraphPicture& picture : graph.pictures) {
        largest = std::max(largest, picture.bits);
        keys += picture.key ? 1 : 0;
    }
    std::string text;
    appendf(text,
            "Bits of %d pictures (largest %d), key frames red (%d), one-second average "
            "orange.\r\n",
            static_cast<int>(graph.pictures.size()), largest, keys);
    bool compared = false, all_identical = true;
    for (const GraphPicture& picture : graph.pictures) {
        compared |= picture.psnr.has_value() || picture.identical;
        all_identical &= !picture.psnr.has_value();
    }
    const auto range = graph_psnr_range(graph);
    if (compared && all_identical)
        text += "PSNR purple: every picture compared is identical to the original.\r\n";
    else if (range)
        appendf(text, "PSNR purple: %.2f dB (middle) to %.2f dB (top).\r\n", range->first,
                range->second);
    text += "The green line is the picture shown; click a bar to show its picture.";
    return text;
}

}  // namespace

StreamGraph stream_graph(Vp8ModuleState& state) {
    if (!state.survey) state.survey = survey_stream(state.stream_path);
    StreamGraph graph;
    graph.frame_rate = state.survey->frame_rate;
    graph.shown = view_state().current_frame_index;
    const auto& psnr = state.reference_psnr.pictures;
    for (size_t i = 0; i < state.survey->pictures.size(); ++i) {
        GraphPicture picture{
            state.survey->pictures[i].bits, state.survey->pictures[i].key, {}, false};
        if (i < psnr.size() && psnr[i]) {
            picture.identical = psnr[i]->identical;
            if (!picture.identical) picture.psnr = psnr[i]->all;
        }
        graph.pictures.push_back(picture);
    }
    return graph;
}

intptr_t stream_graph_message(WindowHandle dialog, unsigned message, intptr_t second) {
    Vp8ModuleState& state = vp8_module_state();
    Platform* platform = shell_services().platform;
    if (!platform || !state.stream.is_open()) return 1;
    if (message == msg::kPaint) {
        if (Canvas* canvas = paint_canvas(second)) {
            const StreamGraph graph = stream_graph(state);
            draw_stream_graph(*canvas, graph, graph_area(*platform, dialog));
            platform->set_window_text(platform->dialog_item(dialog, ctl::kStreamGraphLegend),
                                      legend(graph));
        }
        return 1;
    }
    if (message == msg::kLeftButtonDown) {
        const int n = graph_picture_at(stream_graph(state), graph_area(*platform, dialog),
                                       unpack_point(second));
        if (n > 0) show_picture_number(n);
        platform->invalidate(dialog);
        return 0;
    }
    return 1;
}

void show_picture_number(int n) {
    ViewState& view = view_state();
    while (view.current_frame_index != n) {
        const int before = view.current_frame_index;
        view.direction = view.current_frame_index < n ? 1 : 0;
        vp8_module_tick();
        if (view.current_frame_index == before) break;  // the stream ends before n
    }
}

}  // namespace tavimor
