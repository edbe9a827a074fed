#include "shell/settings_path.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

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

// An installed program (bin/ beside share/doc/tavimor, where its manual goes)
// keeps its settings per user even where root could write into bin/.
bool installed(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path bin = std::filesystem::path(folder).parent_path();
    return std::filesystem::is_directory(bin.parent_path() / "share" / "doc" / "tavimor", error);
}

}  // namespace

std::string settings_path(std::string_view executable_path) {
    const std::string folder = directory_of(executable_path);
    if (!folder.empty() && access(folder.c_str(), W_OK) == 0 && !installed(folder))
        return folder + kSettingsName;
    return configuration_folder() + kSettingsName;
}

}  // namespace tavimor
