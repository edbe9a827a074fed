#include "shell/histogram.h"

#include <algorithm>
#include <cstring>

#include "display/overlays.h"
#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/module_registry.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

// Where the histogram is drawn on "PICANALYZERDLG".
constexpr int kPlotX = 30;
constexpr int kPlotY = 70;
constexpr int kPlotXEnd = 286;
constexpr int kPlotYBase = 198;

// The histogram's fullest bin reads this.
constexpr int64_t kFullBin = 128;

void show_qp_choices(Shell& shell) {
    if (shell.display_control == kNoWindow) return;
    const ViewState& view = view_state();
    const bool offered = view.stream_kind != kStreamVp8 && view.codec_code != kCodecVp8;
    for (int id = ctl::kStatisticsQpRadio; id <= ctl::kStatisticsQpCbRadio; ++id) {
        WindowHandle radio = shell.platform.dialog_item(shell.display_control, id);
        shell.platform.show_window(radio, offered ? ShowCommand::kShow : ShowCommand::kHide);
    }
}

}  // namespace

void compute_histogram(const PlanarPicture& picture, Histogram& bins) {
    bins.fill(0);
    if (!picture.luma_rows || picture.height <= 0 || picture.luma_row_length <= 0) return;
    const uint8_t* sample = picture.luma_rows[0];
    const size_t count = static_cast<size_t>(picture.height) * picture.luma_row_length;
    for (size_t i = 0; i < count; ++i) ++bins[sample[i]];
    const int64_t fullest = *std::max_element(bins.begin(), bins.end());
    if (fullest == 0) return;
    for (int32_t& bin : bins) bin = static_cast<int32_t>(bin * kFullBin / fullest);
}

void feed_histogram(Shell& shell, const PlanarPicture& picture) {
    if (shell.picture_analyzer == kNoWindow ||
        !shell.platform.is_window_visible(shell.picture_analyzer))
        return;
    compute_histogram(picture, shell.histogram);
    shell.platform.invalidate(shell.picture_analyzer);
}

void paint_dialog(Shell& shell, WindowHandle dialog, Canvas* canvas) {
    if (dialog == shell.picture_analyzer && canvas)
        draw_histogram(*canvas, kPlotX, kPlotY, kPlotXEnd, kPlotYBase, shell.histogram.data());
    show_qp_choices(shell);
}

}  // namespace tavimor
