// File handling shared by the extraction run and the codec-found step.
#pragma once

#include <cstdio>
#include <string>

namespace tavimor {

// Closes the file and clears the pointer; false when data written to it was
// lost (a write error before or a failing close). Standard output and
// standard error are flushed, never closed. A null file is fine.
bool close_checked(std::FILE*& file);

// Whether both paths name one existing file (hard links and other spellings
// included), so that creating one would truncate the other.
bool names_same_file(const std::string& first, const std::string& second);

}  // namespace tavimor
