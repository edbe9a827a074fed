// Where the user manual "Tavimor.pdf" is found.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// The manual beside the executable, or in the installed documentation folder
// (<prefix>/share/doc/tavimor/ for an executable in <prefix>/bin/); empty
// when neither exists.
std::string find_manual(std::string_view executable_path);

}  // namespace tavimor
