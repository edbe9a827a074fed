#include "shell/tip_service.h"

#include "platform/platform.h"
#include "shell/shell.h"

namespace tavimor {

namespace {

constexpr int kTipOffsetX = 10;
constexpr int kTipOffsetY = -20;

}  // namespace

void show_tip(Shell& shell, std::string_view text, Point client) {
    Platform& platform = shell.platform;
    if (shell.tip == kNoWindow) return;
    if (!shell.tip_tracking) {
        platform.tip_activate(shell.tip, true);
        shell.tip_tracking = true;
    }
    if (client == shell.tip_point) return;
    shell.tip_point = client;
    platform.tip_set_text(shell.tip, text);
    const Point screen = platform.client_to_screen(shell.window, client);
    platform.tip_track_position(shell.tip, {screen.x + kTipOffsetX, screen.y + kTipOffsetY});
}

void hide_tip(Shell& shell) {
    if (shell.tip == kNoWindow) return;
    shell.platform.tip_activate(shell.tip, false);
    shell.tip_tracking = false;
    shell.tip_point = {-1, -1};
}

}  // namespace tavimor
