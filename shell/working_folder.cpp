#include "shell/working_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "shell/private_folder.h"

namespace tavimor {

namespace {

constexpr std::string_view kPrefix = "run-";
constexpr const char* kLockName = "lock";

// Opens (creating when asked) the folder's lock file and takes its lock
// without waiting; -1 when another process holds it or it cannot be had.
int take_lock(const std::string& folder, bool create) {
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT | O_EXCL : 0);
    const int fd = ::open((folder + kLockName).c_str(), flags, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The process id in a folder name "run-<pid>-XXXXXX"; 0 when there is none.
pid_t owner_of(std::string_view name) {
    if (name.substr(0, kPrefix.size()) != kPrefix) return 0;
    name.remove_prefix(kPrefix.size());
    pid_t pid = 0;
    for (char c : name) {
        if (c == '-') return pid;
        if (c < '0' || c > '9' || pid > 100000000) return 0;
        pid = pid * 10 + (c - '0');
    }
    return 0;
}

bool process_exists(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// A folder is abandoned when its lock can be taken (its owner is gone), or,
// while it has no lock file yet, when the process it names is gone.
bool abandoned(const std::string& folder, pid_t owner) {
    const int lock = take_lock(folder, false);
    if (lock >= 0) {
        ::close(lock);
        return true;
    }
    if (errno != ENOENT) return false;
    return !process_exists(owner);
}

}  // namespace

std::unique_ptr<WorkingFolder> WorkingFolder::create(const std::string& temp_directory) {
    const auto parent = private_folder(temp_directory);
    if (!parent) return nullptr;
    remove_abandoned_working_folders(*parent);
    std::string pattern = *parent + std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) return nullptr;
    std::string path = std::string(name.data()) + "/";
    const int lock = take_lock(path, true);
    if (lock < 0) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
        return nullptr;
    }
    return std::unique_ptr<WorkingFolder>(new WorkingFolder(std::move(path), lock));
}

WorkingFolder::~WorkingFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    ::close(lock_);
}

int remove_abandoned_working_folders(const std::string& private_folder) {
    DIR* directory = ::opendir(private_folder.c_str());
    if (!directory) return 0;
    std::vector<std::string> gone;
    while (const dirent* entry = ::readdir(directory)) {
        const pid_t owner = owner_of(entry->d_name);
        if (owner <= 0) continue;
        const std::string folder = private_folder + entry->d_name + "/";
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) continue;
        if (abandoned(folder, owner)) gone.push_back(folder);
    }
    ::closedir(directory);
    for (const std::string& folder : gone) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    return static_cast<int>(gone.size());
}

}  // namespace tavimor
