#include "shell/display_control_dialog.h"

#include "platform/platform.h"
#include "resources/control_ids.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

// The component boxes and their mask bits.
struct ComponentBox {
    int id;
    int bit;
};
constexpr ComponentBox kComponentBoxes[] = {
    {ctl::kComponentY, 4}, {ctl::kComponentU, 2}, {ctl::kComponentV, 1}};

bool checked(Platform& platform, WindowHandle dialog, int id) {
    return platform.check_state(platform.dialog_item(dialog, id)) == CheckState::kChecked;
}

void set_checked(Platform& platform, WindowHandle dialog, int id, bool on) {
    platform.set_check(platform.dialog_item(dialog, id),
                       on ? CheckState::kChecked : CheckState::kUnchecked);
}

void redraw(Shell& shell) {
    view_state().refresh_request = kRefreshRedraw;
    shell.module->refresh(1);
}

void on_command(Shell& shell, WindowHandle dialog, int id, int) {
    Platform& platform = shell.platform;
    ViewState& view = view_state();
    if (id >= ctl::kComponentY && id <= ctl::kComponentV) {
        view.component_mask = component_mask_of(platform, dialog);
    } else if (id >= ctl::kBitPlaneFirst && id <= ctl::kBitPlaneLast) {
        view.bit_plane_mask = bit_plane_mask_of(platform, dialog);
    } else if (id >= ctl::kStatisticsOffRadio && id <= ctl::kStatisticsQpCbRadio) {
        view.statistics_type = id - ctl::kStatisticsOffRadio;
    } else {
        return;
    }
    redraw(shell);
}

}  // namespace

int component_mask_of(Platform& platform, WindowHandle dialog) {
    int mask = 0;
    for (const ComponentBox& box : kComponentBoxes)
        if (checked(platform, dialog, box.id)) mask |= box.bit;
    return mask;
}

int bit_plane_mask_of(Platform& platform, WindowHandle dialog) {
    int mask = 0;
    for (int id = ctl::kBitPlaneFirst; id <= ctl::kBitPlaneLast; ++id)
        if (checked(platform, dialog, id)) mask |= 1 << (id - ctl::kBitPlaneFirst);
    return mask;
}

void show_component_mask(Platform& platform, WindowHandle dialog, int mask) {
    for (const ComponentBox& box : kComponentBoxes)
        set_checked(platform, dialog, box.id, (mask & box.bit) != 0);
}

void show_display_choices(Platform& platform, WindowHandle dialog) {
    const ViewState& view = view_state();
    show_component_mask(platform, dialog, view.component_mask);
    for (int id = ctl::kBitPlaneFirst; id <= ctl::kBitPlaneLast; ++id)
        set_checked(platform, dialog, id, (view.bit_plane_mask >> (id - ctl::kBitPlaneFirst)) & 1);
    check_radio_button(platform, dialog, ctl::kStatisticsOffRadio, ctl::kStatisticsQpCbRadio,
                       ctl::kStatisticsOffRadio + view.statistics_type);
}

DialogBehaviour display_control_dialog() {
    DialogBehaviour behaviour;
    behaviour.initialise = [](Shell& shell, WindowHandle dialog) {
        show_display_choices(shell.platform, dialog);
    };
    behaviour.accept = [](Shell& shell, WindowHandle dialog) {
        ViewState& view = view_state();
        view.component_mask = component_mask_of(shell.platform, dialog);
        view.bit_plane_mask = bit_plane_mask_of(shell.platform, dialog);
        return true;
    };
    behaviour.command = on_command;
    return behaviour;
}

}  // namespace tavimor
