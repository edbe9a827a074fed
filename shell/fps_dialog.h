// "FPSDLG" ("Set FPS"): the playback rate in frames per second.
#pragma once

#include <string_view>

#include "shell/dialog_procedure.h"

namespace tavimor {

inline constexpr int kDefaultFramesPerSecond = 15;

// The rate the field gives, or 0 when it gives none below 1 (the caller
// warns and uses the default).
int parse_fps_field(std::string_view text);

DialogBehaviour fps_dialog();

// Runs the dialog (command 294).
void run_fps_dialog(Shell& shell);

}  // namespace tavimor
