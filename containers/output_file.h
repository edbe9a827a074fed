// Files the product writes where the user said (or where it proposed, beside
// the input): never written through a symbolic link someone planted at the
// path, and never deleted unless the product made them.
#pragma once

#include <cstdio>
#include <string>

namespace tavimor {

// Opens `path` for writing with the fopen mode ("w", "wb" or "w+b"). A
// device or pipe, or a link to one, and the system's names under /dev/
// (/dev/stdout) are written as they are; a symbolic link to anything else, or
// a folder, is refused; a regular
// file is emptied; a new file is created exclusively, so that a link planted
// after the check is not followed either. Null, with `why` saying why, when
// it cannot be opened.
std::FILE* open_output_file(const std::string& path, const char* mode, std::string& why);

// After a write failed: removes the regular file at `path` (what
// open_output_file created or emptied there); a device is left alone.
void discard_output_file(const std::string& path);

}  // namespace tavimor
