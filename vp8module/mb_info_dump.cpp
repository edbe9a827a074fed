#include "vp8module/mb_info_dump.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/shell_services.h"
#include "shell/view_state.h"
#include "vp8module/information_views.h"
#include "vp8module/pixel_text.h"
#include "vp8module/text_format.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;
constexpr size_t kPredInfoBytes = 3048;
constexpr size_t kPixelTextBytes = 4000;

bool write_text(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

int pixel_tab() {
    ShellServices& services = shell_services();
    if (!services.platform || services.information.pixel_info == kNoWindow) return kPixelFinal;
    return services.platform->tab_selection(
        services.platform->dialog_item(services.information.pixel_info, ctl::kPixelInfoTabs));
}

}  // namespace

bool dump_picture(Vp8ModuleState& state, int type, int descriptor) {
    const ViewState& view = view_state();
    std::string heading;
    appendf(heading, "\n+++++++++++++++++ Frame=%d +++++++++++++++++\r\n",
            view.current_frame_index);
    if (!write_text(descriptor, heading)) return false;
    const int tab = pixel_tab();
    for (int y = 0; y < view.shown_picture.height; y += kMbSize) {
        for (int x = 0; x < view.picture_width; x += kMbSize) {
            const std::string text = type == kDumpPredInfo
                                         ? mb_info_tab_text(state, kPredInfoTab, x, y)
                                         : pixel_info_text(state, tab, x, y);
            const size_t limit = type == kDumpPredInfo ? kPredInfoBytes : kPixelTextBytes;
            if (!write_text(descriptor, std::string_view(text).substr(0, limit))) return false;
        }
    }
    return true;
}

}  // namespace tavimor
