#include "platform/menu_lookup.h"

namespace tavimor {

namespace {

MenuItemPlace find_command(const MenuTree& tree, MenuHandle menu, int command,
                           MenuItemPlace& submenu_with_command) {
    int count = tree.item_count(menu);
    for (int position = 0; position < count; ++position) {
        MenuHandle sub = tree.item_submenu(menu, position);
        if (sub == kNoMenu) {
            if (tree.item_identifier(menu, position) == command) return {menu, position};
            continue;
        }
        MenuItemPlace inside = find_command(tree, sub, command, submenu_with_command);
        if (inside.found()) return inside;
        if (!submenu_with_command.found() && tree.item_identifier(menu, position) == command)
            submenu_with_command = {menu, position};
    }
    return {};
}

}  // namespace

MenuItemPlace locate_menu_item(const MenuTree& tree, MenuHandle menu, MenuItemRef item) {
    int count = tree.item_count(menu);
    if (count < 0) return {};
    if (item.by == MenuItemRef::By::kPosition) {
        if (item.value < 0 || item.value >= count) return {};
        return {menu, item.value};
    }
    if (item.value == 0) return {};
    MenuItemPlace submenu_with_command;
    MenuItemPlace plain = find_command(tree, menu, item.value, submenu_with_command);
    return plain.found() ? plain : submenu_with_command;
}

bool menu_command_reachable(const MenuTree& tree, MenuHandle menu, int command) {
    if (command == 0) return false;
    int count = tree.item_count(menu);
    for (int position = 0; position < count; ++position) {
        if (!tree.item_enabled(menu, position)) continue;
        MenuHandle sub = tree.item_submenu(menu, position);
        if (sub == kNoMenu ? tree.item_identifier(menu, position) == command
                           : menu_command_reachable(tree, sub, command))
            return true;
    }
    return false;
}

bool menu_contains(const MenuTree& tree, MenuHandle menu, MenuHandle inner) {
    if (menu == inner) return true;
    int count = tree.item_count(menu);
    for (int position = 0; position < count; ++position) {
        MenuHandle sub = tree.item_submenu(menu, position);
        if (sub != kNoMenu && menu_contains(tree, sub, inner)) return true;
    }
    return false;
}

}  // namespace tavimor
