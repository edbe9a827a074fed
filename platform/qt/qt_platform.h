// The window system on the desktop, with Qt 6 Widgets.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QPointer>

#include "platform/dialog_builder.h"
#include "platform/menu_lookup.h"
#include "platform/platform.h"

class QAction;
class QApplication;
class QMenu;
class QObject;
class QTimer;
class QTreeWidgetItem;
class QWidget;

namespace tavimor {

struct QtInputState;

class QtPlatform : public Platform, private DialogParts, private MenuTree {
  public:
    // Makes the Qt application object (when none exists yet) from the
    // program's arguments.
    QtPlatform(int& argc, char** argv);
    ~QtPlatform() override;

    int run_message_loop() override;
    void post_quit(int exit_code) override;

    WindowHandle create_main_window(std::string_view title, WindowProc proc) override;
    void destroy_window(WindowHandle window) override;
    bool is_window(WindowHandle window) const override;
    intptr_t default_window_proc(WindowHandle window, unsigned message, uintptr_t first,
                                 intptr_t second) override;
    void show_window(WindowHandle window, ShowCommand command) override;
    bool is_window_visible(WindowHandle window) const override;
    void enable_window(WindowHandle window, bool enabled) override;
    bool is_window_enabled(WindowHandle window) const override;
    void move_window(WindowHandle window, const Rect& rect) override;
    Rect window_rect(WindowHandle window) const override;
    Rect client_rect(WindowHandle window) const override;
    Point client_to_screen(WindowHandle window, Point point) const override;
    void set_window_text(WindowHandle window, std::string_view text) override;
    std::string window_text(WindowHandle window) const override;
    void invalidate(WindowHandle window) override;
    void update_window(WindowHandle control) override;
    void accept_dropped_files(WindowHandle window, bool accept) override;
    WindowHandle parent_window(WindowHandle window) const override;

    intptr_t send_message(WindowHandle window, unsigned message, uintptr_t first,
                          intptr_t second) override;
    void post_message(WindowHandle window, unsigned message, uintptr_t first,
                      intptr_t second) override;
    void set_timer(WindowHandle window, int id, int period_ms) override;
    void kill_timer(WindowHandle window, int id) override;

    void set_scroll_info(WindowHandle window, ScrollBar bar, const ScrollInfo& info) override;
    ScrollInfo scroll_info(WindowHandle window, ScrollBar bar) const override;

    int screen_bits_per_pixel() const override { return 32; }
    bool present(WindowHandle window, const SurfaceView& pixels, const Rect& source,
                 Point destination) override;
    TextBitmap render_text(std::string_view text, const FontRequest& font) override;

    MenuHandle load_menu(std::string_view name) override;
    MenuHandle create_popup_menu() override;
    void destroy_menu(MenuHandle menu) override;
    void set_menu(WindowHandle window, MenuHandle menu) override;
    MenuHandle window_menu(WindowHandle window) const override;
    void draw_menu_bar(WindowHandle window) override;
    MenuHandle submenu(MenuHandle menu, int position) const override;
    int menu_item_count(MenuHandle menu) const override;
    int menu_item_command(MenuHandle menu, int position) const override;
    bool insert_menu_item(MenuHandle menu, int position, int command,
                          std::string_view label) override;
    bool insert_submenu(MenuHandle menu, int position, MenuHandle submenu,
                        std::string_view label) override;
    bool delete_menu_item(MenuHandle menu, MenuItemRef item) override;
    std::string menu_item_label(MenuHandle menu, MenuItemRef item) const override;
    bool enable_menu_item(MenuHandle menu, MenuItemRef item, bool enabled) override;
    bool is_menu_item_enabled(MenuHandle menu, MenuItemRef item) const override;
    bool check_menu_item(MenuHandle menu, MenuItemRef item, bool checked) override;
    bool is_menu_item_checked(MenuHandle menu, MenuItemRef item) const override;
    int track_popup_menu(MenuHandle menu, WindowHandle owner, Point screen) override;

    WindowHandle create_toolbar(WindowHandle parent, int control_id) override;
    void set_button_state(WindowHandle toolbar, int command, unsigned state) override;
    unsigned button_state(WindowHandle toolbar, int command) const override;
    std::string button_tooltip(WindowHandle toolbar, int command) const override;
    void autosize_toolbar(WindowHandle toolbar) override;

    WindowHandle create_control(WindowHandle parent, ControlKind kind, int control_id,
                                std::string_view text, const Rect& rect) override;
    WindowHandle dialog_item(WindowHandle dialog, int control_id) const override;
    int control_id(WindowHandle control) const override;
    void set_text_colour(WindowHandle control, ColourRef colour) override;
    void set_font(WindowHandle control, const FontRequest& font) override;
    void set_check(WindowHandle control, CheckState state) override;
    CheckState check_state(WindowHandle control) const override;
    void list_clear(WindowHandle control) override;
    int list_add(WindowHandle control, std::string_view text) override;
    int list_count(WindowHandle control) const override;
    std::string list_text(WindowHandle control, int index) const override;
    void list_select(WindowHandle control, int index) override;
    int list_selection(WindowHandle control) const override;
    int tab_insert(WindowHandle control, int index, std::string_view text) override;
    void tab_delete(WindowHandle control, int index) override;
    void tab_delete_all(WindowHandle control) override;
    int tab_count(WindowHandle control) const override;
    std::string tab_text(WindowHandle control, int index) const override;
    void tab_select(WindowHandle control, int index) override;
    int tab_selection(WindowHandle control) const override;
    void tree_clear(WindowHandle control) override;
    TreeItem tree_insert(WindowHandle control, TreeItem parent, std::string_view text) override;
    void tree_set_items(WindowHandle control, std::vector<TreeNode> nodes) override;
    int tree_child_count(WindowHandle control, TreeItem parent) const override;
    TreeItem tree_child(WindowHandle control, TreeItem parent, int index) const override;
    std::string tree_item_text(WindowHandle control, TreeItem item) const override;
    void select_all_text(WindowHandle control) override;
    void set_control_proc(WindowHandle control, WindowProc proc) override;

    WindowHandle create_dialog(std::string_view template_name, WindowHandle owner,
                               WindowProc proc) override;
    intptr_t run_dialog(std::string_view template_name, WindowHandle owner,
                        WindowProc proc) override;
    void end_dialog(WindowHandle dialog, intptr_t result) override;

    int message_box(WindowHandle owner, std::string_view text, std::string_view caption,
                    unsigned style) override;
    std::optional<std::string> open_file_dialog(WindowHandle owner,
                                                const FileDialogRequest& request) override;
    std::optional<std::string> save_file_dialog(WindowHandle owner,
                                                const FileDialogRequest& request) override;
    void set_cursor(Cursor cursor) override;
    bool open_document(std::string_view path_or_address) override;
    bool is_key_down(int virtual_key) const override;

    std::string temp_directory() const override;
    std::string executable_path() const override;

    WindowHandle create_tip_window(WindowHandle owner) override;
    void tip_activate(WindowHandle tip, bool active) override;
    void tip_set_text(WindowHandle tip, std::string_view text) override;
    void tip_track_position(WindowHandle tip, Point screen) override;

    // The widget behind a handle (the client area for the main window), or null.
    QWidget* widget(WindowHandle window) const;
    // The window's timer period, if the timer is set.
    std::optional<int> timer_period(WindowHandle window, int id) const;

  protected:
    std::string load_settings_text(const std::string& file) const override;
    bool store_settings_text(const std::string& file, const std::string& text) override;

  private:
    struct Record;
    struct TreeEntry;

    // DialogParts
    WindowHandle make_dialog_window(const DialogTemplate& dialog, std::string_view name,
                                    WindowHandle owner, bool modal) override;
    void mark_group_start(WindowHandle control) override;
    void set_dialog_proc(WindowHandle dialog, WindowProc proc) override;
    // MenuTree
    int item_count(MenuHandle menu) const override;
    int item_identifier(MenuHandle menu, int position) const override;
    MenuHandle item_submenu(MenuHandle menu, int position) const override;
    bool item_enabled(MenuHandle menu, int position) const override;

    Record* find(WindowHandle window);
    const Record* find(WindowHandle window) const;
    WindowHandle reserve_handle() { return WindowHandle{next_handle_++}; }
    // Keeps the record under the handle, from reserve_handle().
    void add(WindowHandle handle, QWidget* widget, std::unique_ptr<Record> record);
    void forget(WindowHandle window);
    // The widget a child of the window is placed in.
    QWidget* container(WindowHandle window) const;
    QMenu* menu(MenuHandle menu) const;
    MenuHandle add_menu(QMenu* menu);
    MenuHandle build_menu(std::span<const MenuItemTemplate> items);
    // The action of the menu item, or null.
    QAction* menu_action(MenuHandle menu, MenuItemRef item) const;
    QWidget* build_control(QWidget* parent, ControlKind kind, std::string_view text);
    void connect_control(WindowHandle control);
    void notify(WindowHandle control, int notification);
    void sync_scroll_bar(WindowHandle window, ScrollBar bar);
    // Shows each toolbar button as its state says.
    void show_button_states(Record& toolbar);

    std::unique_ptr<QApplication> owned_application_;
    // Posted messages and other deferred calls belong to it: they are dropped
    // with the platform.
    std::unique_ptr<QObject> context_;
    std::unique_ptr<QtInputState> input_;
    // Widgets of destroyed windows that Qt has not deleted yet.
    std::vector<QPointer<QWidget>> dying_;
    std::map<int, std::unique_ptr<Record>> records_;
    std::map<int, QMenu*> menus_;
    std::map<intptr_t, std::unique_ptr<TreeEntry>> tree_items_;
    std::map<std::pair<int, int>, QTimer*> timers_;
    int next_handle_ = 1;
    int next_menu_ = 1;
    intptr_t next_tree_item_ = 1;
    bool waiting_cursor_ = false;
};

}  // namespace tavimor
