// The help texts of tavimor-cli: the list of commands, and one command's
// usage, description and options, made from the command table.
#pragma once

#include <string>

#include "cli/commands.h"

namespace tavimor {

// "usage: ..." with every command's usage line.
std::string usage_text();
// The help of one command: its usage line, what it does, its options.
std::string command_help(const Command& command);
// Wraps text into lines of at most `width` characters, each starting with
// `indent`; words longer than a line stand alone.
std::string wrap_text(const std::string& text, std::size_t indent, std::size_t width);

}  // namespace tavimor
