// A folder of the command's own under the temporary directory (owner-only
// permissions), removed with everything in it when the object goes.
#pragma once

#include <string>

namespace tavimor {

class PrivateFolder {
  public:
    // Throws InputError when the folder cannot be created.
    PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    ~PrivateFolder();

    std::string path(const std::string& name) const { return folder_ + "/" + name; }

  private:
    std::string folder_;
};

}  // namespace tavimor
