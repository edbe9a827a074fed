// Writing a small file so that it is either wholly the old text or wholly
// the new one, whatever happens mid-way.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// Writes the text to a fresh file beside path, flushes it to the disk and
// renames it over path; the folder is made (owner-only) when missing. False,
// with path untouched, when any step fails.
bool replace_file(const std::string& path, std::string_view text);

}  // namespace tavimor
