#include "containers/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tavimor {

namespace fs = std::filesystem;

std::FILE* open_output_file(const std::string& path, const char* mode, std::string& why) {
    std::error_code error;
    const fs::file_status entry = fs::symlink_status(path, error);
    const fs::file_status target = fs::status(path, error);
    const bool exists = fs::exists(entry);
    std::string opening = mode;
    if (fs::is_directory(target)) {
        why = "it is a folder";
        return nullptr;
    }
    if (exists && fs::exists(target) && !fs::is_regular_file(target)) {
        // A device or a pipe: written as it is, wherever a link to it points.
    } else if (path.rfind("/dev/", 0) == 0) {
        // The system's own names (/dev/stdout is a link to what standard
        // output is, a file perhaps): nobody else plants links there.
    } else if (fs::is_symlink(entry)) {
        why = "it is a symbolic link, which is not written through";
        return nullptr;
    } else if (!exists) {
        opening += "x";  // created here and now, or not at all
    }
    std::FILE* file = std::fopen(path.c_str(), opening.c_str());
    if (!file) why = std::strerror(errno);
    return file;
}

void discard_output_file(const std::string& path) {
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(path, error))) fs::remove(path, error);
}

}  // namespace tavimor
