#include "shell/command_table.h"

#include "resources/command_ids.h"
#include "shell/command_handlers.h"
#include "shell/shell.h"

namespace tavimor {

namespace {

constexpr bool kStream = true;
constexpr bool kAny = false;
constexpr bool kRefresh = true;
constexpr bool kNoRefresh = false;
constexpr bool kButton = true;
constexpr bool kNoButton = false;

// clang-format off
constexpr CommandRow kCommands[] = {
    {cmd::kOpen, cmd::kOpen, kAny, kRefresh, kNoButton, command_open},
    {cmd::kClose, cmd::kClose, kAny, kRefresh, kNoButton, command_close},
    {cmd::kRecentFirst, cmd::kRecentLast, kAny, kRefresh, kNoButton, command_open_recent},
    {cmd::kDroppedFile, cmd::kDroppedFile, kAny, kRefresh, kNoButton, command_open},
    {cmd::kQuit, cmd::kQuit, kAny, kNoRefresh, kNoButton, command_quit},
    // Playback presents through the module's tick (or Pause's own refresh).
    {cmd::kPlay, cmd::kPause, kAny, kNoRefresh, kNoButton, command_playback},
    {cmd::kStop, cmd::kStepBackward, kAny, kNoRefresh, kButton, command_playback},
    {cmd::kMbRect, cmd::kMbPopup, kStream, kNoRefresh, kButton, command_toggle_overlay},
    {cmd::kMbType, cmd::kMbType, kStream, kRefresh, kButton, command_toggle_mb_type},
    {cmd::kDecOrderPlayback, cmd::kDecOrderPlayback, kAny, kRefresh, kNoButton, command_to_module},
    {cmd::kStartYuvOutput, cmd::kEndYuvOutput, kAny, kRefresh, kNoButton, command_to_module},
    {cmd::kPictureAnalyzer, cmd::kPictureAnalyzer, kStream, kRefresh, kNoButton, command_picture_analyzer},
    {cmd::kFpsSettings, cmd::kFpsSettings, kAny, kRefresh, kNoButton, command_fps},
    {cmd::kGotoMb, cmd::kGotoMb, kStream, kRefresh, kNoButton, command_goto},
    {cmd::kMbInfo, cmd::kMbInfo, kStream, kRefresh, kNoButton, command_information_dialog},
    {cmd::kMbSearch, cmd::kMbSearch, kStream, kRefresh, kNoButton, command_mb_search},
    {cmd::kPixelInfo, cmd::kHeaderInfo, kStream, kRefresh, kNoButton, command_information_dialog},
    {cmd::kOpenReferenceYuv, cmd::kOpenReferenceYuv, kAny, kRefresh, kNoButton, command_to_module},
    {cmd::kStartMbInfoDump, cmd::kStartMbInfoDump, kAny, kRefresh, kNoButton, command_start_mb_dump},
    {cmd::kEndMbInfoDump, cmd::kEndMbInfoDump, kAny, kRefresh, kNoButton, command_end_mb_dump},
    {cmd::kHistogram, cmd::kHistogram, kStream, kRefresh, kNoButton, command_histogram},
    {cmd::kSummaryInfo, cmd::kSummaryInfo, kStream, kRefresh, kNoButton, command_information_dialog},
    {cmd::kOneSegCheck, cmd::kDumpHeaderTree, kAny, kRefresh, kNoButton, command_to_module},
    {cmd::kContainerStructure, cmd::kContainerStructure, kAny, kRefresh, kNoButton, command_container_structure},
    {cmd::kModuleCommand309, cmd::kModuleCommand309, kAny, kRefresh, kNoButton, command_to_module},
    {cmd::kStreamGraph, cmd::kStreamGraph, kStream, kRefresh, kNoButton, command_stream_graph},
    {cmd::kFrameView, cmd::kVerticalZoom, kAny, kRefresh, kNoButton, command_to_module},
    {cmd::kAbout, cmd::kAbout, kAny, kRefresh, kNoButton, command_about},
    {cmd::kWebAddress, cmd::kMailAddress, kAny, kRefresh, kNoButton, command_maker_link},
    {cmd::kManual, cmd::kManual, kAny, kRefresh, kNoButton, command_manual},
    {cmd::kStatisticsOff, cmd::kStatisticsOff + 4, kAny, kNoRefresh, kNoButton, command_statistics},
    {cmd::kComponentsAll, cmd::kComponentsCb, kAny, kNoRefresh, kNoButton, command_components},
};
// clang-format on

}  // namespace

std::span<const CommandRow> command_table() {
    return kCommands;
}

const CommandRow* find_command(int command) {
    for (const CommandRow& row : kCommands)
        if (command >= row.first && command <= row.last) return &row;
    return nullptr;
}

bool dispatch_command(Shell& shell, int command, intptr_t extra) {
    const CommandRow* row = find_command(command);
    if (!row) return false;
    if (row->needs_stream && !shell.module->is_open(0)) return true;
    row->handler(shell, command, extra);
    // Quit may have taken the window down: nothing is presented after it.
    if (row->refresh_after) shell.module->refresh(0);
    return true;
}

}  // namespace tavimor
