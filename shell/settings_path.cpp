#include "shell/settings_path.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/platform.h"

namespace tavimor {

namespace {

constexpr const char* kSettingsName = "tavimor.ini";

std::string configuration_folder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return std::string(config) + "/tavimor/";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "") + "/.config/tavimor/";
}

}  // namespace

std::string settings_path(std::string_view executable_path) {
    const std::string folder = directory_of(executable_path);
    if (!folder.empty() && access(folder.c_str(), W_OK) == 0) return folder + kSettingsName;
    return configuration_folder() + kSettingsName;
}

}  // namespace tavimor
