// Refresh: the picture of the chosen view tab, filtered and drawn, composed
// and presented at the scroll position; the status label names the picture.
#include <cstdint>
#include <cstring>
#include <string>

#include "display/overlay_list.h"
#include "display/video_display.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/resource_types.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/information_views.h"
#include "vp8module/mb_overlays.h"
#include "vp8module/original_views.h"
#include "vp8module/picture_records.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

enum ViewTab {
    kTabFinal = 0,
    kTabPreLoopFilter = 1,
    kTabPredicted = 2,
    kTabResidual = 3,
    kTabOriginal = 4,  // and the difference after it
};

// Applies fn to every sample pair of the luma and both chroma planes.
template <typename Fn>
void for_each_plane(vp8::PlanarPicture& out, const vp8::PlanarPicture& a,
                    const vp8::PlanarPicture& b, Fn fn) {
    auto plane = [&fn](uint8_t* dst, const uint8_t* x, const uint8_t* y, size_t count) {
        for (size_t i = 0; i < count; ++i) dst[i] = fn(x[i], y[i]);
    };
    plane(out.luma_rows[0], a.luma_rows[0], b.luma_rows[0],
          static_cast<size_t>(out.width) * out.height);
    if (!out.chroma_rows || !a.chroma_rows || !b.chroma_rows) return;
    const size_t chroma = static_cast<size_t>(out.chroma_width) * out.chroma_height;
    for (int p = 0; p < 2; ++p)
        plane(out.chroma_rows[p][0], a.chroma_rows[p][0], b.chroma_rows[p][0], chroma);
}

bool same_size(const vp8::PlanarPicture& a, const vp8::PlanarPicture& b) {
    return a.width == b.width && a.height == b.height && a.chroma_width == b.chroma_width &&
           a.chroma_height == b.chroma_height;
}

// The residual: 3 x (Pre-LoopFilter - Predicted) + 128, modulo 256.
void build_residual(Vp8ModuleState& state) {
    const vp8::FrameAnalysisRecord& record = *state.record;
    if (!same_size(state.own_picture, record.prelf_picture) ||
        !same_size(state.own_picture, record.predicted_picture))
        return;
    for_each_plane(state.own_picture, record.prelf_picture, record.predicted_picture,
                   [](uint8_t prelf, uint8_t predicted) {
                       return static_cast<uint8_t>(3 * (prelf - predicted) + 128);
                   });
}

void choose_view_picture(Vp8ModuleState& state, ViewState& view) {
    const vp8::FrameAnalysisRecord& record = *state.record;
    switch (view.selected_tab) {
        case kTabFinal:
            view.shown_picture = record.final_picture;
            break;
        case kTabPreLoopFilter:
            view.shown_picture = record.prelf_picture;
            break;
        case kTabPredicted:
            view.shown_picture = record.predicted_picture;
            break;
        case kTabResidual:
            build_residual(state);
            view.shown_picture = state.own_picture;
            break;
        default:
            show_original_view(state, view);  // "Orig YUV", "Final-Orig"
            break;
    }
}

void apply_bit_planes(Vp8ModuleState& state, ViewState& view) {
    const auto mask = static_cast<uint8_t>(view.bit_plane_mask & 0xff);
    if (mask == 0xff || !same_size(state.own_picture, view.shown_picture)) return;
    const vp8::PlanarPicture source = view.shown_picture;
    for_each_plane(state.own_picture, source, source,
                   [mask](uint8_t sample, uint8_t) { return static_cast<uint8_t>(sample & mask); });
    view.shown_picture = state.own_picture;
}

void update_status_label(const ViewState& view) {
    ShellServices& services = shell_services();
    if (!services.platform || services.status_label == kNoWindow) return;
    services.platform->show_window(services.status_label, ShowCommand::kHide);
    services.platform->set_window_text(services.status_label,
                                       "Frame " + std::to_string(view.current_frame_index));
    services.platform->show_window(services.status_label, ShowCommand::kShow);
}

// "MB Type" pressed in: the picture stays as drawn (a module with a
// macroblock-type map draws that instead).
bool mb_type_pressed() {
    ShellServices& services = shell_services();
    if (!services.platform || services.toolbar == kNoWindow) return false;
    return services.platform->button_state(services.toolbar, cmd::kMbType) & kButtonChecked;
}

// The overlays of the picture shown; its records are read only when an
// overlay needs them.
OverlayList picture_overlays(Vp8ModuleState& state, const ViewState& view) {
    const bool records_needed = view.statistics_type != kStatisticsOff ||
                                (view.overlay_flags & (kOverlayMbBlocks | kOverlayMbMvs)) != 0;
    const MbGrid grid = picture_grid();
    static const std::vector<vp8::MbAnalysisRecord> kNone;
    return mb_overlays(records_needed ? picture_records(state) : kNone, grid.columns, grid.rows,
                       view);
}

// No picture to show: the information texts say so.
void show_data_not_available() {
    ShellServices& services = shell_services();
    if (!services.platform) return;
    const InformationDialogs& dialogs = services.information;
    services.platform->set_window_text(
        services.platform->dialog_item(dialogs.pixel_info, ctl::kPixelInfoText),
        "Data not available");
    services.platform->set_window_text(
        services.platform->dialog_item(dialogs.mb_info, ctl::kMbInfoText), "Data not available");
}

void present(const ViewState& view) {
    ShellServices& services = shell_services();
    if (!services.display) return;
    int range_x = 0, range_y = 0;
    if (services.platform && services.main_window != kNoWindow) {
        const ScrollInfo h =
            services.platform->scroll_info(services.main_window, ScrollBar::kHorizontal);
        const ScrollInfo v =
            services.platform->scroll_info(services.main_window, ScrollBar::kVertical);
        range_x = h.max - h.min;
        range_y = v.max - v.min;
    }
    if (range_x == 0 && range_y == 0) {
        display_present(services.display, nullptr);
        return;
    }
    const Rect source{view.scroll_x, view.scroll_y, view.picture_width + view.scroll_x - range_x,
                      view.picture_height + view.scroll_y - range_y};
    display_present(services.display, &source);
}

}  // namespace

int vp8_module_refresh(int full) {
    Vp8ModuleState& state = vp8_module_state();
    ViewState& view = view_state();
    VideoDisplay* display = shell_services().display;
    if (view.refresh_request != kRefreshNone && state.record) {
        choose_view_picture(state, view);
        if (view.shown_picture.luma_rows) {
            ShellServices& services = shell_services();
            if (services.feed_histogram) services.feed_histogram(view.shown_picture);
            apply_bit_planes(state, view);
            const OverlayList overlays = picture_overlays(state, view);
            if (full && display && !mb_type_pressed()) {
                display_draw_picture(display, &view.shown_picture, view.component_mask,
                                     view.vertical_zoom);
                draw_overlay_labels(display, overlays);
            }
            if (display) {
                display_compose(display);
                draw_overlay_shapes(display, overlays);
            }
            if (view.refresh_request == kRefreshDecoded) {
                update_status_label(view);
                if (!view.playing) show_information(state);
            }
        } else if (view.selected_tab >= kTabOriginal) {
            // The original has no picture for this one: its area is blank, and
            // the texts say what they can (the original's parts: no data).
            if (display) {
                const Rect area{0, 0, view.picture_width, view.picture_height};
                display_fill_rect(display, 0, &area);
            }
            if (view.refresh_request == kRefreshDecoded) {
                update_status_label(view);
                if (!view.playing) show_information(state);
            }
        } else if (display) {
            const Rect area{0, 0, view.shown_picture.width, view.shown_picture.height};
            display_fill_rect(display, 0, &area);
            show_data_not_available();
        }
    }
    view.refresh_request = kRefreshNone;
    present(view);
    return 0;
}

}  // namespace tavimor
