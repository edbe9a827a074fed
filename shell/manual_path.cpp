#include "shell/manual_path.h"

#include <filesystem>
#include <system_error>

namespace tavimor {

namespace {

constexpr const char* kManualName = "Tavimor.pdf";

}  // namespace

std::string find_manual(std::string_view executable_path) {
    namespace fs = std::filesystem;
    const fs::path directory = fs::path(executable_path).parent_path();
    const fs::path candidates[] = {
        directory / kManualName,
        directory.parent_path() / "share" / "doc" / "tavimor" / kManualName,
    };
    std::error_code error;
    for (const fs::path& candidate : candidates)
        if (fs::is_regular_file(candidate, error)) return candidate.string();
    return {};
}

}  // namespace tavimor
