#include "cli/private_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/cli_error.h"

namespace tavimor {

PrivateFolder::PrivateFolder() {
    std::error_code error;
    const std::string pattern =
        (std::filesystem::temp_directory_path(error) / "tavimor-cli-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (error || !mkdtemp(name.data()))
        throw InputError("a private temporary folder could not be created");
    folder_ = name.data();
}

PrivateFolder::~PrivateFolder() {
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
}

}  // namespace tavimor
