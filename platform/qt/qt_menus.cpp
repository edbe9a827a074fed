#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/qt_conversions.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_widgets.h"
#include "resources/menu_templates.h"

namespace tavimor {

namespace {

constexpr const char* kCommandProperty = "tavimor_command";
constexpr const char* kMenuProperty = "tavimor_menu";

int command_of(const QAction* action) {
    QVariant command = action->property(kCommandProperty);
    return command.isValid() ? command.toInt() : 0;
}

QAction* action_at(QMenu* menu, int position) {
    QList<QAction*> actions = menu->actions();
    return position >= 0 && position < actions.size() ? actions[position] : nullptr;
}

}  // namespace

QMenu* QtPlatform::menu(MenuHandle handle) const {
    auto it = menus_.find(static_cast<int>(handle));
    return it == menus_.end() ? nullptr : it->second;
}

MenuHandle QtPlatform::add_menu(QMenu* menu) {
    MenuHandle handle{next_menu_++};
    menu->setProperty(kMenuProperty, static_cast<int>(handle));
    menus_[static_cast<int>(handle)] = menu;
    QObject::connect(menu, &QObject::destroyed, context_.get(),
                     [this, handle] { menus_.erase(static_cast<int>(handle)); });
    return handle;
}

MenuHandle QtPlatform::build_menu(std::span<const MenuItemTemplate> items) {
    MenuHandle handle = create_popup_menu();
    for (const MenuItemTemplate& item : items) {
        if (item.is_submenu) {
            insert_submenu(handle, -1, build_menu(item.submenu), item.label);
            // The submenu item answers to its own identifier.
            menu(handle)->actions().back()->setProperty(kCommandProperty, item.command);
        } else {
            insert_menu_item(handle, -1, item.command, item.label);
        }
    }
    return handle;
}

MenuHandle QtPlatform::load_menu(std::string_view name) {
    const MenuTemplate* menu = find_menu_template(name);
    return menu ? build_menu(menu->items) : kNoMenu;
}

MenuHandle QtPlatform::create_popup_menu() {
    return add_menu(new QMenu());
}

void QtPlatform::destroy_menu(MenuHandle handle) {
    QMenu* target = menu(handle);
    if (!target) return;
    for (auto& [id, record] : records_) {
        if (record->menu == handle) record->menu = kNoMenu;
    }
    delete target;  // submenus are its children
}

void QtPlatform::set_menu(WindowHandle window, MenuHandle handle) {
    Record* record = find(window);
    if (!record) return;
    record->menu = handle;
    draw_menu_bar(window);
}

MenuHandle QtPlatform::window_menu(WindowHandle window) const {
    const Record* record = find(window);
    return record ? record->menu : kNoMenu;
}

void QtPlatform::draw_menu_bar(WindowHandle window) {
    Record* record = find(window);
    auto* frame = record ? dynamic_cast<QMainWindow*>(record->widget.data()) : nullptr;
    if (!frame) return;
    QMenuBar* bar = frame->menuBar();
    bar->clear();
    QObject::disconnect(bar, &QMenuBar::triggered, nullptr, nullptr);
    QMenu* source = menu(record->menu);
    if (!source) return;
    for (QAction* action : source->actions()) bar->addAction(action);
    QObject::connect(bar, &QMenuBar::triggered, bar, [this, window](QAction* action) {
        if (int command = command_of(action))
            send_message(window, msg::kCommand, command_parameter(command), 0);
    });
}

int QtPlatform::item_count(MenuHandle handle) const {
    return menu_item_count(handle);
}

int QtPlatform::item_identifier(MenuHandle handle, int position) const {
    QMenu* target = menu(handle);
    QAction* action = target ? action_at(target, position) : nullptr;
    return action ? command_of(action) : 0;
}

MenuHandle QtPlatform::item_submenu(MenuHandle handle, int position) const {
    return submenu(handle, position);
}

bool QtPlatform::item_enabled(MenuHandle handle, int position) const {
    QMenu* target = menu(handle);
    QAction* action = target ? action_at(target, position) : nullptr;
    return action && action->isEnabled();
}

QAction* QtPlatform::menu_action(MenuHandle handle, MenuItemRef item) const {
    MenuItemPlace place = locate_menu_item(*this, handle, item);
    return place.found() ? action_at(menu(place.menu), place.position) : nullptr;
}

MenuHandle QtPlatform::submenu(MenuHandle handle, int position) const {
    QMenu* target = menu(handle);
    QAction* action = target ? action_at(target, position) : nullptr;
    if (!action || !action->menu()) return kNoMenu;
    QVariant sub = action->menu()->property(kMenuProperty);
    return sub.isValid() ? MenuHandle{sub.toInt()} : kNoMenu;
}

int QtPlatform::menu_item_count(MenuHandle handle) const {
    QMenu* target = menu(handle);
    return target ? static_cast<int>(target->actions().size()) : -1;
}

int QtPlatform::menu_item_command(MenuHandle handle, int position) const {
    QMenu* target = menu(handle);
    QAction* action = target ? action_at(target, position) : nullptr;
    if (!action || action->menu()) return -1;
    return command_of(action);
}

bool QtPlatform::insert_menu_item(MenuHandle handle, int position, int command,
                                  std::string_view label) {
    QMenu* target = menu(handle);
    if (!target) return false;
    auto* action = new QAction(to_qstring(label), target);
    action->setProperty(kCommandProperty, command);
    target->insertAction(action_at(target, position), action);
    return true;
}

bool QtPlatform::insert_submenu(MenuHandle handle, int position, MenuHandle sub,
                                std::string_view label) {
    QMenu* target = menu(handle);
    QMenu* child = menu(sub);
    // A menu inside itself would never end.
    if (!target || !child || menu_contains(*this, sub, handle)) return false;
    child->setParent(target, child->windowFlags());
    child->setTitle(to_qstring(label));
    target->insertMenu(action_at(target, position), child);
    return true;
}

bool QtPlatform::delete_menu_item(MenuHandle handle, MenuItemRef item) {
    MenuItemPlace place = locate_menu_item(*this, handle, item);
    if (!place.found()) return false;
    QMenu* owner = menu(place.menu);
    QAction* action = action_at(owner, place.position);
    owner->removeAction(action);
    if (QMenu* sub = action->menu()) sub->deleteLater();
    if (action->parent() == owner) action->deleteLater();
    return true;
}

std::string QtPlatform::menu_item_label(MenuHandle handle, MenuItemRef item) const {
    QAction* action = menu_action(handle, item);
    return action ? action->text().toStdString() : std::string{};
}

bool QtPlatform::enable_menu_item(MenuHandle handle, MenuItemRef item, bool enabled) {
    QAction* action = menu_action(handle, item);
    if (!action) return false;
    action->setEnabled(enabled);
    return true;
}

bool QtPlatform::is_menu_item_enabled(MenuHandle handle, MenuItemRef item) const {
    QAction* action = menu_action(handle, item);
    return action && action->isEnabled();
}

bool QtPlatform::check_menu_item(MenuHandle handle, MenuItemRef item, bool checked) {
    QAction* action = menu_action(handle, item);
    if (!action) return false;
    action->setCheckable(true);
    action->setChecked(checked);
    return true;
}

bool QtPlatform::is_menu_item_checked(MenuHandle handle, MenuItemRef item) const {
    QAction* action = menu_action(handle, item);
    return action && action->isChecked();
}

int QtPlatform::track_popup_menu(MenuHandle handle, WindowHandle owner, Point screen) {
    QMenu* target = menu(handle);
    if (!target) return 0;
    QAction* chosen = target->exec(QPoint(screen.x, screen.y));
    int command = chosen ? command_of(chosen) : 0;
    if (command) send_message(owner, msg::kCommand, command_parameter(command), 0);
    return command;
}

}  // namespace tavimor
