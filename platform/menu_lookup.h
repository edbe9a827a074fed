// Finding a menu item by its command identifier (searching submenus too) or
// by its position, and whether the user can reach a command through a menu.
#pragma once

#include "platform/platform.h"

namespace tavimor {

// What a lookup needs to know of the menus of a window system.
class MenuTree {
  public:
    virtual ~MenuTree() = default;
    // Items in the menu; -1 when there is no such menu.
    virtual int item_count(MenuHandle menu) const = 0;
    // The command of a plain item, the identifier of a submenu item; 0 when it has none.
    virtual int item_identifier(MenuHandle menu, int position) const = 0;
    // The submenu of the item, or kNoMenu.
    virtual MenuHandle item_submenu(MenuHandle menu, int position) const = 0;
    virtual bool item_enabled(MenuHandle menu, int position) const = 0;
};

// A menu and the position of an item in it.
struct MenuItemPlace {
    MenuHandle menu = kNoMenu;
    int position = -1;
    bool found() const { return menu != kNoMenu; }
};

// By position: the item of the menu itself. By command: the first plain item
// with the command, depth first through the submenus; a submenu item whose
// own identifier is the command when no plain item has it. Command 0 names
// no item.
MenuItemPlace locate_menu_item(const MenuTree& tree, MenuHandle menu, MenuItemRef item);

// Whether the user can choose the command from the menu: a plain item with
// the command is enabled, and so is every submenu item on the way to it.
bool menu_command_reachable(const MenuTree& tree, MenuHandle menu, int command);

// Whether inner is the menu itself or one of its submenus at any depth.
bool menu_contains(const MenuTree& tree, MenuHandle menu, MenuHandle inner);

}  // namespace tavimor
