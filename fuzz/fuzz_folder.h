// A private folder for a harness's files, in memory (/dev/shm) where the
// system has one, removed with everything in it when the process ends.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace tavimor::fuzz {

class FuzzFolder {
  public:
    explicit FuzzFolder(const char* name) {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = (base / (std::string("tavimor-") + name + "-XXXXXX")).string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~FuzzFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // Empty when no folder could be made.
    bool made() const { return !path_.empty(); }
    std::string path(const char* file) const { return path_ + "/" + file; }

    // Writes the bytes to the file; false when they could not all be written.
    bool write(const std::string& file, const uint8_t* data, size_t size) const {
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (!out) return false;
        const bool written = std::fwrite(data, 1, size, out) == size;
        return std::fclose(out) == 0 && written;
    }

  private:
    std::string path_;
};

}  // namespace tavimor::fuzz
