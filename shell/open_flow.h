// Opening and closing streams: the open flow of "Open", a dropped file and
// the command line; Close; and the reopening that "Stop Playback" does.
#pragma once

#include <string>

namespace tavimor {

struct Shell;
struct FileTypeResult;

// Opens the file the way a dropped file is opened, the kind taken from its
// extension or content instead of asking.
void open_from_command_line(Shell& shell, const std::string& path);

// Closes the stream and returns the window to its state without one.
void close_stream(Shell& shell);

// Closes the stream and opens it again from its start ("Stop Playback").
void reopen_stream(Shell& shell);

// The file-type step that asks nothing: the kind from the extension, or from
// the content when the extension names none.
FileTypeResult detect_file_type(Shell& shell, const std::string& chosen_path);

}  // namespace tavimor
