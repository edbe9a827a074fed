// A folder of one analyser or command of its own, inside the user's private
// folder, for the working files it writes (picture cache, analysis files,
// extraction outputs): two analysers of the same user never share one. The
// folder is named after the process and holds a lock for as long as it is in
// use, so that a folder left by a process that died is recognised and removed
// when the next one is made.
#pragma once

#include <memory>
#include <string>

namespace tavimor {

class WorkingFolder {
  public:
    // Makes a new folder inside the user's private folder under
    // temp_directory (which ends with a separator), after removing the
    // folders of processes that are gone. Null when none can be made.
    static std::unique_ptr<WorkingFolder> create(const std::string& temp_directory);

    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;
    // Removes the folder with everything in it.
    ~WorkingFolder();

    // The folder's path, ending with a separator.
    const std::string& path() const { return path_; }

  private:
    WorkingFolder(std::string path, int lock) : path_(std::move(path)), lock_(lock) {}

    std::string path_;
    int lock_;
};

// Removes the working folders inside `private_folder` whose process is gone;
// returns how many were removed.
int remove_abandoned_working_folders(const std::string& private_folder);

}  // namespace tavimor
