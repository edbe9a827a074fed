// The application on a window system: start-up, the main window and its
// message loop, shutdown.
#pragma once

#include <string>
#include <vector>

#include "shell/application_title.h"

namespace tavimor {

class Platform;

// Runs the application until its main window is gone; returns the exit code.
// arguments: the command-line arguments after the program name (a stream to
// open). The VP8 module's factory must have been handed to the registry.
int run_application(Platform& platform, const std::vector<std::string>& arguments);

}  // namespace tavimor
