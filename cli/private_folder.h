// A working folder of the command's own inside the user's private folder
// (owner-only permissions), removed with everything in it when the object
// goes; the folders of commands and analysers that died are removed when it
// is made.
#pragma once

#include <memory>
#include <string>

#include "shell/working_folder.h"

namespace tavimor {

class PrivateFolder {
  public:
    // Throws InputError when the folder cannot be created.
    PrivateFolder();

    std::string path(const std::string& name) const { return folder_->path() + name; }

  private:
    std::unique_ptr<WorkingFolder> folder_;
};

}  // namespace tavimor
