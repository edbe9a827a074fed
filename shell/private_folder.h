// The private folder under the temporary directory where the analyser keeps
// its working files (analysis, picture cache, extraction, structure texts):
// created with owner-only permissions, so that no other user, and no link
// planted in the shared temporary directory, can read or clobber them.
#pragma once

#include <optional>
#include <string>

namespace tavimor {

// The folder for this user under temp_directory (which ends with a separator),
// created when missing; the returned path ends with a separator. Nothing when
// no safe folder can be had.
std::optional<std::string> private_folder(const std::string& temp_directory);

}  // namespace tavimor
