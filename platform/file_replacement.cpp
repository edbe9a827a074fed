#include "platform/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/platform.h"

namespace tavimor {

namespace {

// Makes the folder and the folders above it that are missing.
bool make_folder(const std::string& folder) {
    if (folder.empty() || folder == "/") return true;
    std::string path = folder;
    if (path.back() == '/') path.pop_back();
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    if (!make_folder(directory_of(path))) return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

bool write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

bool replace_file(const std::string& path, std::string_view text) {
    if (!make_folder(directory_of(path))) return false;
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) return false;
    const bool written = write_all(fd, text) && fsync(fd) == 0;
    if (::close(fd) != 0 || !written || std::rename(name.data(), path.c_str()) != 0) {
        std::remove(name.data());
        return false;
    }
    return true;
}

}  // namespace tavimor
