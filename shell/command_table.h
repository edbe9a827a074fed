// The commands of the menus, the toolbar, the popup menus and the dropped
// file, one row per identifier range: whether the command needs an open
// stream, what it does, whether the module's picture is presented again
// afterwards, and which toolbar button its handler keeps in step.
#pragma once

#include <cstdint>
#include <span>

namespace tavimor {

struct Shell;

using CommandHandler = void (*)(Shell& shell, int command, intptr_t extra);

struct CommandRow {
    int first;  // identifier range, both ends included
    int last;
    bool needs_stream;   // does nothing while no stream is open
    bool refresh_after;  // the module's refresh(0) follows the handler
    bool own_button;     // the handler sets the toolbar button of the same identifier
    CommandHandler handler;
};

std::span<const CommandRow> command_table();

// The row of the identifier, or null.
const CommandRow* find_command(int command);

// Runs the command; false when no row has it (default window processing).
bool dispatch_command(Shell& shell, int command, intptr_t extra);

}  // namespace tavimor
