// Appending printf-formatted text, as the information texts are built line by line.
#pragma once

#include <string>

namespace tavimor {

// Appends the formatted text to out.
void appendf(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace tavimor
