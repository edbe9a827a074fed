#include <utility>

#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_window.h"
#include "resources/menu_templates.h"

namespace tavimor {

HeadlessPlatform::Menu* HeadlessPlatform::find_menu(MenuHandle menu) {
    auto it = menus_.find(static_cast<int>(menu));
    return it == menus_.end() ? nullptr : it->second.get();
}

const HeadlessPlatform::Menu* HeadlessPlatform::find_menu(MenuHandle menu) const {
    auto it = menus_.find(static_cast<int>(menu));
    return it == menus_.end() ? nullptr : it->second.get();
}

MenuHandle HeadlessPlatform::build_menu(std::span<const MenuItemTemplate> items) {
    MenuHandle handle = create_popup_menu();
    for (const MenuItemTemplate& item : items) {
        if (item.is_submenu) {
            insert_submenu(handle, -1, build_menu(item.submenu), item.label);
            find_menu(handle)->items.back().command = item.command;
        } else {
            insert_menu_item(handle, -1, item.command, item.label);
        }
    }
    return handle;
}

MenuHandle HeadlessPlatform::load_menu(std::string_view name) {
    const MenuTemplate* menu = find_menu_template(name);
    return menu ? build_menu(menu->items) : kNoMenu;
}

MenuHandle HeadlessPlatform::create_popup_menu() {
    MenuHandle handle{next_menu_++};
    menus_[static_cast<int>(handle)] = std::make_unique<Menu>();
    return handle;
}

void HeadlessPlatform::destroy_menu(MenuHandle handle) {
    Menu* menu = find_menu(handle);
    if (!menu) return;
    for (const MenuItem& item : menu->items) destroy_menu(item.submenu);
    menus_.erase(static_cast<int>(handle));
    for (auto& [id, window] : windows_) {
        if (window->menu == handle) window->menu = kNoMenu;
    }
}

void HeadlessPlatform::set_menu(WindowHandle handle, MenuHandle menu) {
    if (Window* window = find(handle)) window->menu = menu;
}

MenuHandle HeadlessPlatform::window_menu(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->menu : kNoMenu;
}

void HeadlessPlatform::draw_menu_bar(WindowHandle) {}

MenuHandle HeadlessPlatform::submenu(MenuHandle handle, int position) const {
    const Menu* menu = find_menu(handle);
    if (!menu || position < 0 || position >= static_cast<int>(menu->items.size())) return kNoMenu;
    return menu->items[position].submenu;
}

int HeadlessPlatform::menu_item_count(MenuHandle handle) const {
    const Menu* menu = find_menu(handle);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

int HeadlessPlatform::menu_item_command(MenuHandle handle, int position) const {
    const Menu* menu = find_menu(handle);
    if (!menu || position < 0 || position >= static_cast<int>(menu->items.size())) return -1;
    const MenuItem& item = menu->items[position];
    return item.submenu != kNoMenu ? -1 : item.command;
}

bool HeadlessPlatform::insert_menu_item(MenuHandle handle, int position, int command,
                                        std::string_view label) {
    Menu* menu = find_menu(handle);
    if (!menu) return false;
    MenuItem item{std::string(label), command};
    if (position < 0 || position >= static_cast<int>(menu->items.size())) {
        menu->items.push_back(item);
    } else {
        menu->items.insert(menu->items.begin() + position, item);
    }
    return true;
}

bool HeadlessPlatform::insert_submenu(MenuHandle handle, int position, MenuHandle sub,
                                      std::string_view label) {
    // A menu inside itself would never end.
    if (!find_menu(sub) || menu_contains(*this, sub, handle)) return false;
    if (!insert_menu_item(handle, position, 0, label)) return false;
    Menu* menu = find_menu(handle);
    int at = position < 0 || position >= static_cast<int>(menu->items.size()) - 1
                 ? static_cast<int>(menu->items.size()) - 1
                 : position;
    menu->items[at].submenu = sub;
    return true;
}

int HeadlessPlatform::item_count(MenuHandle handle) const {
    return menu_item_count(handle);
}

int HeadlessPlatform::item_identifier(MenuHandle handle, int position) const {
    const MenuItem* item = item_at(handle, by_position(position));
    return item ? item->command : 0;
}

MenuHandle HeadlessPlatform::item_submenu(MenuHandle handle, int position) const {
    return submenu(handle, position);
}

bool HeadlessPlatform::item_enabled(MenuHandle handle, int position) const {
    const MenuItem* item = item_at(handle, by_position(position));
    return item && item->enabled;
}

HeadlessPlatform::MenuItem* HeadlessPlatform::item_at(MenuHandle handle, MenuItemRef ref) {
    return const_cast<MenuItem*>(std::as_const(*this).item_at(handle, ref));
}

const HeadlessPlatform::MenuItem* HeadlessPlatform::item_at(MenuHandle handle,
                                                            MenuItemRef ref) const {
    MenuItemPlace place = locate_menu_item(*this, handle, ref);
    if (!place.found()) return nullptr;
    return &find_menu(place.menu)->items[place.position];
}

bool HeadlessPlatform::delete_menu_item(MenuHandle handle, MenuItemRef ref) {
    MenuItemPlace place = locate_menu_item(*this, handle, ref);
    if (!place.found()) return false;
    auto& items = find_menu(place.menu)->items;
    MenuHandle sub = items[place.position].submenu;
    items.erase(items.begin() + place.position);
    destroy_menu(sub);
    return true;
}

std::string HeadlessPlatform::menu_item_label(MenuHandle handle, MenuItemRef ref) const {
    const MenuItem* item = item_at(handle, ref);
    return item ? item->label : std::string{};
}

bool HeadlessPlatform::enable_menu_item(MenuHandle handle, MenuItemRef ref, bool enabled) {
    MenuItem* item = item_at(handle, ref);
    if (!item) return false;
    item->enabled = enabled;
    return true;
}

bool HeadlessPlatform::is_menu_item_enabled(MenuHandle handle, MenuItemRef ref) const {
    const MenuItem* item = item_at(handle, ref);
    return item && item->enabled;
}

bool HeadlessPlatform::check_menu_item(MenuHandle handle, MenuItemRef ref, bool checked) {
    MenuItem* item = item_at(handle, ref);
    if (!item) return false;
    item->checked = checked;
    return true;
}

bool HeadlessPlatform::is_menu_item_checked(MenuHandle handle, MenuItemRef ref) const {
    const MenuItem* item = item_at(handle, ref);
    return item && item->checked;
}

int HeadlessPlatform::track_popup_menu(MenuHandle menu, WindowHandle owner, Point screen) {
    int chosen = 0;
    if (!popup_choices_.empty()) {
        chosen = popup_choices_.front();
        popup_choices_.pop_front();
    }
    if (chosen != 0 && !menu_command_reachable(*this, menu, chosen)) chosen = 0;
    popups_.push_back({menu, screen, chosen});
    if (chosen != 0) send_message(owner, msg::kCommand, command_parameter(chosen), 0);
    return chosen;
}

}  // namespace tavimor
