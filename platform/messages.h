// The messages a window or dialog procedure receives, their parameters and
// the helpers that pack and unpack them. The numbering follows the classic
// desktop window messages, so that identifiers in logs read familiar.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/handles.h"

namespace tavimor {

// A window or dialog procedure: (window, message, first, second parameter) -> result.
using WindowProc = std::function<intptr_t(WindowHandle, unsigned, uintptr_t, intptr_t)>;

namespace msg {
inline constexpr unsigned kCreate = 0x0001;   // the window exists; its children may be made
inline constexpr unsigned kDestroy = 0x0002;  // the window is going away
inline constexpr unsigned kSize = 0x0005;     // second: packed client width, height
inline constexpr unsigned kPaint = 0x000F;    // second: paint_canvas(), null for the main window
inline constexpr unsigned kClose = 0x0010;    // the user asks to close the window
inline constexpr unsigned kNotify = 0x004E;   // second: notify_header()
inline constexpr unsigned kContextMenu =
    0x007B;                                   // first: window clicked; second: packed screen point
inline constexpr unsigned kKeyDown = 0x0100;  // first: virtual key
inline constexpr unsigned kInitDialog = 0x0110;  // a dialog's controls exist, before it is shown
inline constexpr unsigned kCommand = 0x0111;     // first: id | notification << 16; second: control
inline constexpr unsigned kTimer = 0x0113;       // first: timer identifier
inline constexpr unsigned kHScroll = 0x0114;     // first: scroll code | thumb position << 16
inline constexpr unsigned kVScroll = 0x0115;
inline constexpr unsigned kMouseMove = 0x0200;  // first: key state; second: packed client point
inline constexpr unsigned kLeftButtonDown =
    0x0201;                                     // first: key state; second: packed client point
inline constexpr unsigned kDropFiles = 0x0233;  // second: dropped_paths()
inline constexpr unsigned kUser = 0x0400;       // first private message number
inline constexpr unsigned kTick = kUser + 2;    // the playback tick
}  // namespace msg

// Notification codes of kCommand (high 16 bits of the first parameter).
namespace notify {
inline constexpr int kButtonClicked = 0;
inline constexpr int kComboSelectionChange = 1;
inline constexpr int kComboSelectionEndOk = 9;
inline constexpr int kEditChange = 0x0300;
// Notification code of kNotify from a tab control whose selection changed.
inline constexpr int kTabSelectionChange = -551;
}  // namespace notify

struct NotifyHeader {
    WindowHandle from;
    int id;
    int code;
};

class Canvas;

// Typed views of the parameters that carry an object: the sender keeps the
// object alive for the duration of the call, the receiver reads it through
// these and never casts integers itself.
using DroppedPaths = std::vector<std::string>;

inline intptr_t notify_parameter(const NotifyHeader& header) {
    return reinterpret_cast<intptr_t>(&header);
}
inline const NotifyHeader& notify_header(intptr_t second) {
    return *reinterpret_cast<const NotifyHeader*>(second);
}

inline intptr_t dropped_paths_parameter(const DroppedPaths& paths) {
    return reinterpret_cast<intptr_t>(&paths);
}
inline const DroppedPaths& dropped_paths(intptr_t second) {
    return *reinterpret_cast<const DroppedPaths*>(second);
}

// The canvas of a dialog's kPaint; null for the main window.
inline intptr_t canvas_parameter(Canvas* canvas) {
    return reinterpret_cast<intptr_t>(canvas);
}
inline Canvas* paint_canvas(intptr_t second) {
    return reinterpret_cast<Canvas*>(second);
}

// The path that travels with a kCommand (the dropped-file command).
inline intptr_t path_parameter(const std::string& path) {
    return reinterpret_cast<intptr_t>(&path);
}
inline const std::string& command_path(intptr_t second) {
    return *reinterpret_cast<const std::string*>(second);
}

// Scroll codes (low 16 bits of the first parameter of kHScroll and kVScroll).
namespace scroll {
inline constexpr int kLineUp = 0;  // also line left
inline constexpr int kLineDown = 1;
inline constexpr int kPageUp = 2;
inline constexpr int kPageDown = 3;
inline constexpr int kThumbPosition = 4;
inline constexpr int kThumbTrack = 5;
inline constexpr int kTop = 6;
inline constexpr int kBottom = 7;
inline constexpr int kEndScroll = 8;
}  // namespace scroll

// Virtual keys and mouse key-state bits.
namespace key {
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kEscape = 0x1B;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr unsigned kLeftButtonState = 0x0001;
inline constexpr unsigned kRightButtonState = 0x0002;
inline constexpr unsigned kShiftState = 0x0004;
inline constexpr unsigned kControlState = 0x0008;
}  // namespace key

// A point packed into one parameter: x in the low 16 bits, y in the high 16 bits.
constexpr intptr_t pack_point(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(x) & 0xFFFF) |
                                 (static_cast<uint32_t>(y) & 0xFFFF) << 16);
}
constexpr int point_x(intptr_t packed) {
    return static_cast<int16_t>(packed & 0xFFFF);
}
constexpr int point_y(intptr_t packed) {
    return static_cast<int16_t>((packed >> 16) & 0xFFFF);
}
constexpr Point unpack_point(intptr_t packed) {
    return {point_x(packed), point_y(packed)};
}

// The first parameter of kCommand.
constexpr uintptr_t command_parameter(int id, int notification = 0) {
    return (static_cast<uintptr_t>(id) & 0xFFFF) | (static_cast<uintptr_t>(notification) & 0xFFFF)
                                                       << 16;
}
constexpr int command_id(uintptr_t first) {
    return static_cast<int>(first & 0xFFFF);
}
constexpr int command_notification(uintptr_t first) {
    return static_cast<int>((first >> 16) & 0xFFFF);
}

// The first parameter of kHScroll and kVScroll.
constexpr uintptr_t scroll_parameter(int code, int position = 0) {
    return (static_cast<uintptr_t>(code) & 0xFFFF) | (static_cast<uintptr_t>(position) & 0xFFFF)
                                                         << 16;
}
constexpr int scroll_code(uintptr_t first) {
    return static_cast<int>(first & 0xFFFF);
}
constexpr int scroll_position(uintptr_t first) {
    return static_cast<int16_t>((first >> 16) & 0xFFFF);
}

}  // namespace tavimor
