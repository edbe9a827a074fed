#include "cli/manual_page.h"

#include "cli/commands.h"

namespace tavimor {

namespace {

constexpr const char* kHeader =
    ".TH TAVIMOR\\-CLI 1 \"\" \"Tavimor 2.00\" \"User Commands\"\n"
    ".SH NAME\n"
    "tavimor\\-cli \\- analyse VP8 video bitstreams from the command line\n"
    ".SH SYNOPSIS\n"
    ".B tavimor\\-cli\n"
    ".I command\n"
    "[\\fIoptions\\fR] \\fIINPUT\\fR\n"
    ".br\n"
    ".B tavimor\\-cli\n"
    "\\-\\-help | \\-\\-version\n"
    ".br\n"
    ".B tavimor\\-cli help\n"
    ".I command\n"
    ".SH DESCRIPTION\n"
    "\\fBtavimor\\-cli\\fR runs the engine of the Tavimor analyser without a window, for "
    "scripts and continuous integration. INPUT is an IVF stream (first four bytes \"DKIF\", "
    "whatever its name) or, where a command says so, a container file. Standard output "
    "carries only the requested output; messages go to standard error as one line, "
    "\"tavimor\\-cli: INPUT: message\". No command writes outside the paths it is given and "
    "a private temporary directory that it removes.\n"
    ".PP\n"
    "\\fIcommand\\fR \\fB\\-\\-help\\fR and \\fBtavimor\\-cli help\\fR \\fIcommand\\fR print "
    "the help of one command.\n"
    ".SH COMMANDS\n";

constexpr const char* kFooter =
    ".SH EXIT STATUS\n"
    ".TP\n.B 0\nSuccess.\n"
    ".TP\n.B 1\nThe input could not be read or decoded; everything produced before the "
    "failure has been written.\n"
    ".TP\n.B 2\nA usage error (unknown command or option, missing argument), with a usage "
    "line.\n"
    ".SH ENVIRONMENT\n"
    ".TP\n.B TAVIMOR_SIMD_CAPS\nThe decoder's feature bits, as \\fB\\-\\-simd\\fR sets them.\n"
    ".TP\n.B TMPDIR\nWhere the private temporary directory is made.\n"
    ".SH EXAMPLES\n"
    ".nf\n"
    "tavimor\\-cli md5 clip.ivf\n"
    "tavimor\\-cli info \\-\\-json clip.webm\n"
    "tavimor\\-cli render clip.ivf \\-\\-frame 3 \\-\\-overlay rect,mvs \\-o frame3.png\n"
    "tavimor\\-cli compare clip.ivf \\-\\-ref original.y4m\n"
    ".fi\n"
    ".SH SEE ALSO\n"
    "\\fBtavimor\\fR, the analyser's window; its manual Tavimor.pdf in "
    "/usr/share/doc/tavimor.\n";

std::string command_section(const Command& command) {
    std::string text = ".SS " + troff_escape(command.name) + "\n";
    text += ".B tavimor\\-cli " + troff_escape(command.usage) + "\n.PP\n";
    text += troff_escape(command.summary) + "\n";
    for (const OptionHelp& option : command.options) {
        text += ".TP\n\\fB" + troff_escape(option.name) + "\\fR";
        if (option.argument) text += " \\fI" + troff_escape(option.argument) + "\\fR";
        text += "\n" + troff_escape(option.description) + "\n";
    }
    return text;
}

}  // namespace

std::string troff_escape(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\')
            escaped += "\\e";
        else if (c == '-')
            escaped += "\\-";
        else
            escaped += c;
    }
    if (!escaped.empty() && (escaped[0] == '.' || escaped[0] == '\'')) escaped.insert(0, "\\&");
    return escaped;
}

std::string manual_page() {
    std::string page = kHeader;
    for (const Command& command : all_commands()) page += command_section(command);
    return page + kFooter;
}

}  // namespace tavimor
