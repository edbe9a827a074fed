// What an open or save file dialog is asked for.
#pragma once

#include <string>
#include <vector>

namespace tavimor {

struct FileFilter {
    std::string name;     // "All"
    std::string pattern;  // "*.*"
};

struct FileDialogRequest {
    std::vector<FileFilter> filters;
    int selected_filter = 0;
    std::string initial_path;
    std::string title;  // empty: the window system's default
    bool path_must_exist = false;
    bool file_must_exist = false;
    bool overwrite_prompt = false;
};

}  // namespace tavimor
