// Handles of the objects the window system hands out. 0 is never a valid handle.
#pragma once

#include <cstdint>

namespace tavimor {

enum class WindowHandle : int {};  // windows, dialogs and their controls
enum class MenuHandle : int {};
enum class TreeItem : intptr_t {};

inline constexpr WindowHandle kNoWindow{0};
inline constexpr MenuHandle kNoMenu{0};
inline constexpr TreeItem kTreeRoot{0};  // parent of the top-level items of a tree

}  // namespace tavimor
