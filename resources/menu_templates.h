// The menus: the menu bar of the main window and the popup menus "VP8POPUP"
// and "EDITPOPUP" (each shows its first submenu).
#pragma once

#include <span>
#include <string_view>

#include "resources/resource_types.h"

namespace tavimor {

inline constexpr std::string_view kMenuBarName = "MAINMENU";
// Position of the "Tools" menu in the menu bar.
inline constexpr int kToolsMenuPosition = 2;
// Positions of the output items in the "Tools" menu, switched by position.
inline constexpr int kStartYuvOutputItem = 0;
inline constexpr int kEndYuvOutputItem = 1;
inline constexpr int kStartMbDumpItem = 2;
inline constexpr int kEndMbDumpItem = 3;
// Position of the "Recent Files" submenu in the "File" menu.
inline constexpr int kRecentFilesPosition = 2;

std::span<const MenuTemplate> menu_templates();

// The menu called name, or nullptr.
const MenuTemplate* find_menu_template(std::string_view name);

}  // namespace tavimor
