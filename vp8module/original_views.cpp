#include "vp8module/original_views.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/information_views.h"
#include "vp8module/pixel_text.h"
#include "vp8module/stream_survey.h"
#include "vp8module/text_format.h"
#include "vp8module/vp8_module.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;
constexpr uint8_t kGrey = 128;
constexpr const char* kNotOpened = "Orig ref yuv file is not opened, please open it first\r\n";
constexpr const char* kNoData = "Data not available\r\n";
constexpr const char* kOriginalTabs[] = {"Orig YUV", "Final-Orig"};
constexpr int kPixelOriginalTab = 5;

// Calls fn(plane, width, height) for the luma plane and both chroma planes.
template <typename Fn>
void each_plane(const vp8::PlanarPicture& picture, Fn fn) {
    fn(0, picture.width, picture.height);
    for (int p = 1; p <= 2; ++p) fn(p, picture.chroma_width, picture.chroma_height);
}

uint8_t* const* rows_of(const vp8::PlanarPicture& picture, int plane) {
    return plane == 0 ? picture.luma_rows : picture.chroma_rows[plane - 1];
}

void fill(vp8::PlanarPicture& picture, uint8_t value) {
    each_plane(picture, [&](int plane, int width, int height) {
        for (int r = 0; r < height; ++r) std::memset(rows_of(picture, plane)[r], value, width);
    });
}

// Makes the picture hold width x height samples (the macroblock-aligned size).
void fit(vp8::PlanarPicture& picture, int width, int height) {
    if (picture.width == width && picture.height == height && picture.luma_rows) return;
    vp8::release_planar_picture(picture);
    vp8::allocate_planar_picture(picture, width, height, width / 2, height / 2);
}

// The original's picture for the picture shown in original_picture; false
// when there is none (no original, no such picture, another size).
bool load_original_picture(Vp8ModuleState& state) {
    const ViewState& view = view_state();
    const int n = view.current_frame_index - 1;
    if (!state.reference || !state.record || n < 0) return false;
    const vp8::ImageDescription& image = state.record->image;
    if (image.display_width != state.reference->width() ||
        image.display_height != state.reference->height() || n >= state.reference->pictures())
        return false;
    if (state.original_index == n && state.original_picture.width == view.picture_width &&
        state.original_picture.height == view.picture_height)
        return true;
    fit(state.original_picture, view.picture_width, view.picture_height);
    fill(state.original_picture, kGrey);
    state.original_index = -1;
    if (!state.reference->read(n, state.original_picture)) return false;
    state.original_index = n;
    return true;
}

// 128 + final - original inside the display area, clamped; grey outside it.
void build_difference(Vp8ModuleState& state) {
    const vp8::PlanarPicture& final_picture = state.record->final_picture;
    const vp8::PlanarPicture& original = state.original_picture;
    vp8::PlanarPicture& difference = state.difference_picture;
    fit(difference, original.width, original.height);
    fill(difference, kGrey);
    const int width = state.reference->width(), height = state.reference->height();
    const int sizes[3][2] = {
        {width, height}, {(width + 1) / 2, (height + 1) / 2}, {(width + 1) / 2, (height + 1) / 2}};
    each_plane(difference, [&](int plane, int, int) {
        for (int r = 0; r < sizes[plane][1]; ++r) {
            const uint8_t* f = rows_of(final_picture, plane)[r];
            const uint8_t* o = rows_of(original, plane)[r];
            uint8_t* d = rows_of(difference, plane)[r];
            for (int c = 0; c < sizes[plane][0]; ++c)
                d[c] = static_cast<uint8_t>(std::clamp(kGrey + int{f[c]} - int{o[c]}, 0, 255));
        }
    });
}

// The original's two tabs in the pixel dialog, or none.
void show_pixel_tabs(bool shown) {
    ShellServices& services = shell_services();
    Platform* platform = services.platform;
    if (!platform || services.information.pixel_info == kNoWindow) return;
    WindowHandle tabs = platform->dialog_item(services.information.pixel_info, ctl::kPixelInfoTabs);
    while (platform->tab_count(tabs) > kPixelOriginalTab)
        platform->tab_delete(tabs, platform->tab_count(tabs) - 1);
    if (shown)
        for (const char* tab : kOriginalTabs) platform->tab_insert(tabs, -1, tab);
}

// Lays the window out again for the view tabs a reference adds or takes away.
void relayout() {
    ShellServices& services = shell_services();
    if (!services.platform || services.main_window == kNoWindow) return;
    const Rect client = services.platform->client_rect(services.main_window);
    services.platform->send_message(services.main_window, msg::kSize, 0,
                                    pack_point(client.width(), client.height()));
}

void report(const std::string& text) {
    ShellServices& services = shell_services();
    if (services.platform)
        services.platform->message_box(services.main_window, text, "Warning",
                                       mb::kOk | mb::kIconError);
}

std::string psnr_line(const PicturePsnr& psnr) {
    return "Y " + psnr_value(psnr.y) + ", U " + psnr_value(psnr.u) + ", V " + psnr_value(psnr.v) +
           ", all " + psnr_value(psnr.all) + " dB";
}

}  // namespace

void load_original(Vp8ModuleState& state) {
    ShellServices& services = shell_services();
    Platform* platform = services.platform;
    if (!platform || !state.record) return;
    FileDialogRequest request;
    request.title = "Open Original YUV Ref File";
    request.filters = {{"All", "*.*"}, {"YUV", "*.yuv"}, {"YUV4MPEG2", "*.y4m"}};
    request.file_must_exist = true;
    const std::optional<std::string> path =
        platform->open_file_dialog(services.main_window, request);
    if (!path) return;
    std::string failure;
    std::unique_ptr<ReferenceVideo> video = ReferenceVideo::open(
        *path, state.record->image.display_width, state.record->image.display_height, failure);
    if (!video) {
        report("The original cannot be used: " + failure);
        return;
    }
    platform->set_cursor(Cursor::kWait);
    state.reference_psnr = compare_stream(state.stream_path, *video);
    platform->set_cursor(Cursor::kArrow);
    state.reference = std::move(video);
    state.reference_path = *path;
    state.original_index = -1;
    ViewState& view = view_state();
    view.reference_loaded = 1;
    show_pixel_tabs(true);
    relayout();
    view.refresh_request = kRefreshDecoded;
    vp8_module_refresh(1);
}

void unload_original(Vp8ModuleState& state) {
    state.reference.reset();
    state.reference_path.clear();
    state.reference_psnr = {};
    state.original_index = -1;
    vp8::release_planar_picture(state.original_picture);
    vp8::release_planar_picture(state.difference_picture);
    view_state().reference_loaded = 0;
    show_pixel_tabs(false);
}

void show_original_view(Vp8ModuleState& state, ViewState& view) {
    if (!load_original_picture(state)) {
        view.shown_picture = vp8::PlanarPicture{};
        return;
    }
    if (view.selected_tab == 4) {
        view.shown_picture = state.original_picture;
        return;
    }
    build_difference(state);
    view.shown_picture = state.difference_picture;
}

std::string original_pixel_text(Vp8ModuleState& state, int tab, int x, int y) {
    if (!state.reference) return kNotOpened;
    if (!load_original_picture(state)) return kNoData;
    x &= ~(kMbSize - 1);
    y &= ~(kMbSize - 1);
    const MbPlace place = mb_place_at(x, y);
    const PixelBlock original = sample_block(state.original_picture, x, y);
    if (tab == kPixelOriginalTab)
        return pixel_text(view_state().current_frame_index, place, original, 3);
    PixelBlock difference = sample_block(state.record->final_picture, x, y);
    for (size_t i = 0; i < difference.size(); ++i) difference[i] -= original[i];
    return pixel_text(view_state().current_frame_index, place, difference, 5);
}

std::string original_summary_lines(const Vp8ModuleState& state, int picture_number) {
    if (!state.reference) return {};
    std::string text =
        "\r\n---------------------- Compared with the original ----------------------\r\n";
    appendf(text, "Original\t\t: %s\r\n", state.reference_path.c_str());
    const auto& pictures = state.reference_psnr.pictures;
    const int n = picture_number - 1;
    if (n < 0 || n >= static_cast<int>(pictures.size()) || !pictures[n])
        text += "Picture PSNR\t\t: Data not available\r\n";
    else if (pictures[n]->identical)
        text += "Picture PSNR\t\t: identical\r\n";
    else
        text += "Picture PSNR\t\t: " + psnr_line(*pictures[n]) + "\r\n";
    appendf(text, "Pictures compared\t: %d of %d (%d identical)\r\n",
            state.reference_psnr.compared(), static_cast<int>(pictures.size()),
            state.reference_psnr.identical());
    if (const auto average = state.reference_psnr.average())
        text += "Stream average\t\t: " + psnr_line(*average) + "\r\n";
    if (const auto minimum = state.reference_psnr.minimum())
        appendf(text, "Stream minimum\t\t: %s dB at picture %d\r\n",
                psnr_value(minimum->second.all).c_str(), minimum->first);
    return text;
}

}  // namespace tavimor
