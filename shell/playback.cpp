#include "shell/playback.h"

#include <algorithm>
#include <cstdint>

#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/resource_types.h"
#include "shell/command_handlers.h"
#include "shell/open_flow.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr int kForward = 1;
constexpr int kBackward = 0;
constexpr int kFastestFactor = 3;

void play(Shell& shell, int direction, int speed_factor) {
    ViewState& view = view_state();
    stop_timer(shell);
    view.speed_factor = speed_factor;
    view.direction = direction;
    start_timer(shell, playback_period(view.frames_per_second, view.speed_factor));
}

// One picture in the direction; the step's button pops back out.
void step_command(Shell& shell, int command, int direction) {
    view_state().speed_factor = 1;
    step_picture(shell, direction);
    shell.platform.set_button_state(shell.toolbar, command, kButtonEnabled);
}

}  // namespace

int playback_period(int frames_per_second, int speed_factor) {
    const int64_t rate = int64_t{std::max(frames_per_second, 1)} * std::max(speed_factor, 1);
    return static_cast<int>(1000 / rate);
}

void start_timer(Shell& shell, int period_ms) {
    shell.platform.set_timer(shell.window, kPlaybackTimer, period_ms);
    view_state().playing = 1;
}

void stop_timer(Shell& shell) {
    shell.platform.kill_timer(shell.window, kPlaybackTimer);
    view_state().playing = 0;
}

void step_picture(Shell& shell, int direction) {
    stop_timer(shell);
    view_state().direction = direction;
    shell.platform.send_message(shell.window, msg::kTick, 0, 0);
}

void command_playback(Shell& shell, int command, intptr_t) {
    ViewState& view = view_state();
    switch (command) {
        case cmd::kPlay:
            play(shell, kForward, 1);
            break;
        case cmd::kFastForward:
            play(shell, kForward, std::min(view.speed_factor + 1, kFastestFactor));
            break;
        case cmd::kFastRewind:
            play(shell, kBackward, 1);
            break;
        case cmd::kPause:
            stop_timer(shell);
            // The views were left alone while playing: they catch up with
            // the picture shown.
            view.refresh_request = kRefreshDecoded;
            shell.module->refresh(0);
            break;
        case cmd::kStop:
            reopen_stream(shell);
            shell.platform.set_button_state(shell.toolbar, cmd::kStop, kButtonEnabled);
            break;
        case cmd::kStepForward:
            step_command(shell, command, kForward);
            break;
        case cmd::kStepBackward:
            step_command(shell, command, kBackward);
            break;
        default:
            break;
    }
}

}  // namespace tavimor
