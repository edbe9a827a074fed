// The manual page of tavimor-cli (troff, section 1), made from the command
// table that also gives the help texts, so that the two always agree.
#pragma once

#include <string>

namespace tavimor {

std::string manual_page();
// Text escaped for troff: backslashes, hyphens, and a leading dot or quote.
std::string troff_escape(const std::string& text);

}  // namespace tavimor
