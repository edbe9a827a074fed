#include "shell/keyboard.h"

#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/resource_types.h"
#include "shell/client_point.h"
#include "shell/playback.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;

void step_with_ctrl(Shell& shell, int key) {
    if (key == key::kRight) {
        step_picture(shell, 1);
    } else if (key == key::kLeft &&
               (shell.platform.button_state(shell.toolbar, cmd::kStepBackward) & kButtonEnabled)) {
        step_picture(shell, 0);
    }
}

// Clicks the macroblock next to the selected one; the module decides whether
// the point still lies in the picture.
void move_selection(Shell& shell, int key) {
    const ViewState& view = view_state();
    int x = view.selected_x;
    int y = view.selected_y;
    switch (key) {
        case key::kLeft:
            x -= kMbSize;
            break;
        case key::kRight:
            x += kMbSize;
            break;
        case key::kUp:
            y -= kMbSize;
            break;
        case key::kDown:
            y += kMbSize;
            break;
        default:
            return;
    }
    const Point client = client_point_of(view, x, y);
    shell.platform.send_message(shell.window, msg::kLeftButtonDown, key::kLeftButtonState,
                                pack_point(client.x, client.y));
}

}  // namespace

void on_key_down(Shell& shell, int virtual_key) {
    if (shell.platform.is_key_down(key::kControl))
        step_with_ctrl(shell, virtual_key);
    else
        move_selection(shell, virtual_key);
}

}  // namespace tavimor
