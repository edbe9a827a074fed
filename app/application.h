// The application on a window system: start-up, the main window and its
// message loop.
#pragma once

#include <string>
#include <vector>

namespace tavimor {

class Platform;

inline constexpr const char* kApplicationTitle = "Tavimor(VP8 Only) 2.00";

// Runs the application until its main window is gone; returns the exit code.
// arguments: the command-line arguments after the program name.
int run_application(Platform& platform, const std::vector<std::string>& arguments);

}  // namespace tavimor
