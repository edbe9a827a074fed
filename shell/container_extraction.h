// A container file through the extraction run: its structure text (when
// syntax parsing is on) and its video track, whose output path the user
// confirms once the parser has found the codec.
#pragma once

#include <string>

#include "shell/shell.h"

namespace tavimor {

// The working files of the run in the shell's working folder.
inline constexpr const char* kRawOutputName = "tmp.raw";
inline constexpr const char* kStructureTextName = "filestruct.txt";
inline constexpr const char* kPesTextName = "pes.txt";

// The working folder's path of one of those files; empty when no working
// folder can be had.
std::string working_file(const std::string& name);

// Runs the extraction of the container of the view state's stream kind. The
// result goes on with the extracted stream (the current stream path); a
// failed run has said why.
FileTypeResult extract_container(Shell& shell, const std::string& container_path);

}  // namespace tavimor
