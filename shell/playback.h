// Playback: one timer of the main window and the tick message drive the
// module's tick; the shell decides when, in which direction and how fast.
#pragma once

namespace tavimor {

struct Shell;

inline constexpr int kPlaybackTimer = 1;

// The timer period in milliseconds for the rate and speed factor (integer
// division; a rate so high that the period is 0 runs at the platform's minimum).
int playback_period(int frames_per_second, int speed_factor);

// Sets the timer with the period (replacing a running one) and marks playing.
void start_timer(Shell& shell, int period_ms);
// Kills the timer and clears playing.
void stop_timer(Shell& shell);

// One step in the direction (1 forward, 0 backward) without touching the
// speed factor: the Ctrl+arrow keys.
void step_picture(Shell& shell, int direction);

}  // namespace tavimor
