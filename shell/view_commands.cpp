#include "shell/view_commands.h"

#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/control_ids.h"
#include "resources/resource_types.h"
#include "shell/command_handlers.h"
#include "shell/display_control_dialog.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

// The component mask of each single-component item of "Select Components".
struct ComponentChoice {
    int command;
    int mask;
};
constexpr ComponentChoice kComponentChoices[] = {
    {cmd::kComponentsY, 4}, {cmd::kComponentsCr, 2}, {cmd::kComponentsCb, 1}};

void set_overlay_button(Shell& shell, int command) {
    const bool on = view_state().overlay_flags & overlay_bit(command);
    shell.platform.set_button_state(shell.toolbar, command,
                                    kButtonEnabled | (on ? kButtonChecked : 0));
}

void redraw_views(Shell& shell) {
    view_state().refresh_request = kRefreshRedraw;
    shell.module->refresh(1);
}

}  // namespace

void show_overlay_buttons(Shell& shell) {
    for (int command = cmd::kMbRect; command <= cmd::kMbPopup; ++command) {
        const unsigned state = shell.platform.button_state(shell.toolbar, command);
        if (state & kButtonIndeterminate) continue;  // the module does not offer it
        set_overlay_button(shell, command);
    }
}

void command_toggle_overlay(Shell& shell, int command, intptr_t) {
    ViewState& view = view_state();
    view.overlay_flags ^= overlay_bit(command);
    set_overlay_button(shell, command);
    view.refresh_request = kRefreshRedraw;
    shell.module->refresh(0);
}

void command_toggle_mb_type(Shell& shell, int command, intptr_t) {
    const unsigned state = shell.platform.button_state(shell.toolbar, command);
    shell.platform.set_button_state(shell.toolbar, command, state ^ kButtonChecked);
    redraw_views(shell);
}

void command_statistics(Shell& shell, int command, intptr_t) {
    ViewState& view = view_state();
    view.statistics_type = command - cmd::kStatisticsOff;
    check_radio_button(shell.platform, shell.display_control, ctl::kStatisticsOffRadio,
                       ctl::kStatisticsQpCbRadio, ctl::kStatisticsOffRadio + view.statistics_type);
    redraw_views(shell);
}

void command_components(Shell& shell, int command, intptr_t) {
    ViewState& view = view_state();
    view.component_mask = kAllComponents;
    for (const ComponentChoice& choice : kComponentChoices)
        if (choice.command == command) view.component_mask = choice.mask;
    show_component_mask(shell.platform, shell.display_control, view.component_mask);
    redraw_views(shell);
}

}  // namespace tavimor
