#include "cli/private_folder.h"

#include <filesystem>
#include <system_error>

#include "cli/cli_error.h"

namespace tavimor {

PrivateFolder::PrivateFolder() {
    std::error_code error;
    std::string temp = std::filesystem::temp_directory_path(error).string();
    if (!temp.empty() && temp.back() != '/') temp += '/';
    if (!error) folder_ = WorkingFolder::create(temp);
    if (!folder_) throw InputError("a private temporary folder could not be created");
}

}  // namespace tavimor
