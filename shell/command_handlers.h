// The handlers the command table dispatches to, grouped by the file that
// defines them.
#pragma once

#include <cstdint>

namespace tavimor {

struct Shell;

// open_flow.cpp
void command_open(Shell& shell, int command, intptr_t extra);
void command_open_recent(Shell& shell, int command, intptr_t extra);
void command_close(Shell& shell, int command, intptr_t extra);
void command_quit(Shell& shell, int command, intptr_t extra);

// playback.cpp
void command_playback(Shell& shell, int command, intptr_t extra);

// view_commands.cpp
void command_toggle_overlay(Shell& shell, int command, intptr_t extra);
void command_toggle_mb_type(Shell& shell, int command, intptr_t extra);
void command_statistics(Shell& shell, int command, intptr_t extra);
void command_components(Shell& shell, int command, intptr_t extra);

// tool_commands.cpp
void command_to_module(Shell& shell, int command, intptr_t extra);
void command_picture_analyzer(Shell& shell, int command, intptr_t extra);
void command_fps(Shell& shell, int command, intptr_t extra);
void command_goto(Shell& shell, int command, intptr_t extra);
void command_information_dialog(Shell& shell, int command, intptr_t extra);
void command_mb_search(Shell& shell, int command, intptr_t extra);
void command_start_mb_dump(Shell& shell, int command, intptr_t extra);
void command_end_mb_dump(Shell& shell, int command, intptr_t extra);
void command_histogram(Shell& shell, int command, intptr_t extra);
void command_container_structure(Shell& shell, int command, intptr_t extra);
void command_stream_graph(Shell& shell, int command, intptr_t extra);

// help_commands.cpp
void command_about(Shell& shell, int command, intptr_t extra);
void command_maker_link(Shell& shell, int command, intptr_t extra);
void command_manual(Shell& shell, int command, intptr_t extra);

}  // namespace tavimor
