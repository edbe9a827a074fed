// The main window's title while no stream is open.
#pragma once

namespace tavimor {

inline constexpr const char* kApplicationTitle = "Tavimor(VP8 Only) 2.00";

}  // namespace tavimor
