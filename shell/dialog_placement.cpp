#include "shell/dialog_placement.h"

#include "platform/platform.h"
#include "shell/shell.h"

namespace tavimor {

void centre_dialog(Shell& shell, WindowHandle dialog) {
    Platform& platform = shell.platform;
    if (shell.window == kNoWindow) return;
    const Rect client = platform.client_rect(shell.window);
    const Rect own = platform.window_rect(dialog);
    place_dialog(shell, dialog, (client.width() - own.width()) / 2,
                 (client.height() - own.height()) / 2);
}

void place_dialog(Shell& shell, WindowHandle dialog, int client_x, int client_y, int height) {
    Platform& platform = shell.platform;
    const Rect own = platform.window_rect(dialog);
    const Point at = platform.client_to_screen(shell.window, {client_x, client_y});
    platform.move_window(dialog,
                         rect_at(at.x, at.y, own.width(), height > 0 ? height : own.height()));
}

}  // namespace tavimor
