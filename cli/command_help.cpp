#include "cli/command_help.h"

#include <sstream>

namespace tavimor {

namespace {

constexpr std::size_t kWidth = 79;

}  // namespace

std::string usage_text() {
    std::string text =
        "usage: tavimor-cli <command> [options] INPUT\n"
        "       tavimor-cli --help | --version\n"
        "       tavimor-cli help <command> | <command> --help\n\ncommands:\n";
    for (const Command& command : all_commands())
        text += "  tavimor-cli " + std::string(command.usage) + "\n";
    return text;
}

std::string wrap_text(const std::string& text, std::size_t indent, std::size_t width) {
    std::istringstream words(text);
    std::string result;
    std::string line;
    std::string word;
    const std::string margin(indent, ' ');
    while (words >> word) {
        if (!line.empty() && margin.size() + line.size() + 1 + word.size() > width) {
            result += margin + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) result += margin + line + "\n";
    return result;
}

std::string command_help(const Command& command) {
    std::string text = "usage: tavimor-cli " + std::string(command.usage) + "\n\n";
    text += wrap_text(command.summary, 0, kWidth);
    if (command.options.empty()) return text;
    text += "\noptions:\n";
    for (const OptionHelp& option : command.options) {
        text += "  " + std::string(option.name);
        if (option.argument) text += " " + std::string(option.argument);
        text += "\n" + wrap_text(option.description, 6, kWidth);
    }
    return text;
}

}  // namespace tavimor
