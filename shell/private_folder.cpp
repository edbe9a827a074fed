#include "shell/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace tavimor {

namespace {

// A directory (not a link to one) that only its owner, this user, may enter.
bool is_private_directory(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

}  // namespace

std::optional<std::string> private_folder(const std::string& temp_directory) {
    const std::string path = temp_directory + "tavimor-" + std::to_string(getuid());
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
    if (is_private_directory(path)) return path + "/";
    // Someone else holds the name: make a fresh private folder instead.
    std::string pattern = temp_directory + "tavimor-" + std::to_string(getuid()) + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) return std::nullopt;
    return std::string(buffer.data()) + "/";
}

}  // namespace tavimor
