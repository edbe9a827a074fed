// Where the settings file "tavimor.ini" lives: beside the executable, or,
// for an installed program (its documentation folder ../share/doc/tavimor
// exists) or where the executable's folder cannot be written, in the user's
// configuration folder.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// The settings file for the executable at the path: "<its folder>/tavimor.ini"
// when that folder is writable and the program is not installed, else
// "$XDG_CONFIG_HOME/tavimor/tavimor.ini" (or "$HOME/.config/tavimor/tavimor.ini").
std::string settings_path(std::string_view executable_path);

}  // namespace tavimor
