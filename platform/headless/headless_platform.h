// The window system in memory. Every window, dialog and control is a record
// that tests can read back; the user is scripted: answers to message boxes and
// file dialogs, what happens inside a modal dialog, the command chosen from a
// popup menu, clicks, keys and dropped files. Nothing needs a display server.
//
// Invalidating a main window or a dialog makes one kPaint due (however often
// it is invalidated before), delivered after the posted messages by the
// message loop and deliver_posted() once the window is seen; showing or
// resizing such a window invalidates it too.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "platform/dialog_builder.h"
#include "platform/menu_lookup.h"
#include "platform/platform.h"

namespace tavimor {

class HeadlessPlatform : public Platform, private DialogParts, private MenuTree {
  public:
    // What a modal dialog's user does once the dialog is initialised. When
    // the script leaves the dialog open, it is cancelled (as with Escape).
    using DialogScript = std::function<void(HeadlessPlatform&, WindowHandle dialog)>;

    struct MessageBoxRecord {
        std::string text;
        std::string caption;
        unsigned style;
        int answer;
    };
    struct FileDialogRecord {
        bool save;
        FileDialogRequest request;
        std::optional<std::string> answer;
    };
    struct PopupRecord {
        MenuHandle menu;
        Point screen;
        int chosen;
    };
    struct TipState {
        bool active = false;
        std::string text;
        Point position;
        int tracked = 0;  // how often the tip was moved
    };
    // One line drawn on a dialog while it painted.
    struct DrawnLine {
        ColourRef colour;
        Point from;
        Point to;
    };

    HeadlessPlatform();
    ~HeadlessPlatform() override;

    // --- Scripting the user ----------------------------------------------------
    void answer_next_message_box(int answer);
    void answer_next_file_dialog(std::optional<std::string> path);
    // The script for the next modal dialog made from the template (an empty
    // name matches any template).
    void script_next_dialog(std::string template_name, DialogScript script);
    void choose_next_popup_command(int command);  // 0 dismisses the popup
    void set_key_down(int virtual_key, bool down);
    // What the user does when the message loop has nothing left to deliver:
    // each action runs once, in order; the loop ends when none is left.
    void when_idle(std::function<void(HeadlessPlatform&)> action);

    // --- Acting as the user --------------------------------------------------------
    // Clicks a button, check box or radio button of a dialog (nothing when it
    // is hidden, or it or a window it lies in is disabled); check boxes toggle
    // and radio buttons check themselves first, as on the desktop. Returns
    // false when the control does not exist.
    bool click(WindowHandle dialog, int control_id);
    // Replaces the text of an edit field, as typing would (nothing when it
    // cannot take input).
    bool type_text(WindowHandle dialog, int control_id, std::string_view text);
    // Picks an entry of a combo box and confirms it (selection-end-OK).
    bool choose_list_entry(WindowHandle dialog, int control_id, int index);
    // Clicks a tab: a tab other than the selected one becomes selected and the
    // tab control's parent is notified (kNotify, kTabSelectionChange).
    bool choose_tab(WindowHandle tab_control, int index);
    // Chooses an enabled item of the window's menu bar.
    bool choose_menu_command(WindowHandle window, int command);
    // Presses a toolbar button that is shown, enabled and not indeterminate.
    bool press_toolbar_button(WindowHandle toolbar, int command);
    // A key pressed in the window. A tab control moves its selection with the
    // left and right arrows (notifying as a click does); a dialog answers
    // Escape with the Cancel command and Return with a click of its default
    // button; everything else arrives as kKeyDown.
    void press_key(WindowHandle window, int virtual_key);
    void left_click(WindowHandle window, Point client, unsigned key_state = key::kLeftButtonState);
    void move_mouse(WindowHandle window, Point client);
    void open_context_menu(WindowHandle window, Point screen);
    void drop_files(WindowHandle window, const std::vector<std::string>& paths);
    void request_close(WindowHandle window);
    void resize_client(WindowHandle window, int width, int height);
    void scroll(WindowHandle window, ScrollBar bar, int code, int position = 0);
    // Fires the timer when it is set; false otherwise.
    bool fire_timer(WindowHandle window, int id);
    // Delivers the queued messages, then the kPaint due to each window that
    // is seen; returns how many messages it delivered.
    int deliver_posted();
    // Paints the window now: its procedure gets kPaint (dialogs with a canvas
    // that records lines); returns the lines drawn.
    std::vector<DrawnLine> paint(WindowHandle window);

    // --- Reading back -------------------------------------------------------------------
    const std::vector<MessageBoxRecord>& message_boxes() const { return message_boxes_; }
    const std::vector<FileDialogRecord>& file_dialogs() const { return file_dialogs_; }
    const std::vector<PopupRecord>& popups() const { return popups_; }
    const std::vector<std::string>& opened_documents() const { return opened_documents_; }
    // The main window, or kNoWindow.
    WindowHandle main_window() const;
    // The most recent dialog made from the template and not destroyed.
    WindowHandle find_dialog(std::string_view template_name) const;
    std::string dialog_template_name(WindowHandle dialog) const;
    // The window's timer period, if the timer is set.
    std::optional<int> timer_period(WindowHandle window, int id) const;
    Cursor cursor() const { return cursor_; }
    std::optional<ColourRef> text_colour(WindowHandle control) const;
    std::optional<FontRequest> font(WindowHandle control) const;
    TipState tip_state(WindowHandle tip) const;
    std::optional<int> quit_code() const { return quit_code_; }
    bool accepts_dropped_files(WindowHandle window) const;
    // What was last presented in the window's client area, one 0x00RRGGBB value
    // per pixel (white where the last picture does not reach), client size.
    std::vector<uint32_t> client_pixels(WindowHandle window) const;
    int present_count(WindowHandle window) const;

    // --- Setting up the machine --------------------------------------------------------
    void set_temp_directory(std::string directory) { temp_directory_ = std::move(directory); }
    void set_executable_path(std::string path) { executable_path_ = std::move(path); }
    void set_screen_bits_per_pixel(int bits) { screen_bits_per_pixel_ = bits; }
    void set_settings_text(const std::string& file, std::string text) {
        settings_[file] = std::move(text);
    }
    std::optional<std::string> settings_text(const std::string& file) const;
    void set_document_opening_fails(bool fails) { document_opening_fails_ = fails; }
    void set_tip_window_fails(bool fails) { tip_window_fails_ = fails; }

    // --- Platform ----------------------------------------------------------------------
    // Delivers posted messages and runs the idle actions until post_quit or
    // until nothing is left; returns the quit code (0 without one).
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

    int screen_bits_per_pixel() const override { return screen_bits_per_pixel_; }
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
    bool all_text_selected(WindowHandle control) const;

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
    void set_cursor(Cursor cursor) override { cursor_ = cursor; }
    bool open_document(std::string_view path_or_address) override;
    bool is_key_down(int virtual_key) const override;

    std::string temp_directory() const override { return temp_directory_; }
    std::string executable_path() const override { return executable_path_; }

    WindowHandle create_tip_window(WindowHandle owner) override;
    void tip_activate(WindowHandle tip, bool active) override;
    void tip_set_text(WindowHandle tip, std::string_view text) override;
    void tip_track_position(WindowHandle tip, Point screen) override;

  protected:
    std::string load_settings_text(const std::string& file) const override;
    bool store_settings_text(const std::string& file, const std::string& text) override;

  private:
    struct Window;
    struct Menu;
    struct MenuItem;

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

    struct Posted {
        WindowHandle window;
        unsigned message;
        uintptr_t first;
        intptr_t second;
    };
    struct DialogScriptEntry {
        std::string template_name;
        DialogScript script;
    };

    Window* find(WindowHandle window);
    const Window* find(WindowHandle window) const;
    WindowHandle add_window(std::unique_ptr<Window> window);
    // Shows or hides the window itself; a main window or dialog that comes
    // into view is invalidated.
    void set_shown(Window& window, bool shown);
    // Whether the user can act on the window: it and the windows it lies in
    // are enabled.
    bool takes_input(const Window& window) const;
    // The first window with a kPaint due that is seen, or null.
    Window* next_to_paint();
    void notify_parent(const Window& control, int notification);
    void notify_tab_change(const Window& tabs);
    void apply_radio_click(Window& radio);
    Menu* find_menu(MenuHandle menu);
    const Menu* find_menu(MenuHandle menu) const;
    MenuHandle build_menu(std::span<const MenuItemTemplate> items);
    MenuItem* item_at(MenuHandle menu, MenuItemRef item);
    const MenuItem* item_at(MenuHandle menu, MenuItemRef item) const;
    DialogScript take_dialog_script(std::string_view template_name);

    std::map<int, std::unique_ptr<Window>> windows_;
    std::map<int, std::unique_ptr<Menu>> menus_;
    int next_handle_ = 1;
    int next_menu_ = 1;
    intptr_t next_tree_item_ = 1;
    std::deque<Posted> posted_;
    std::map<std::pair<int, int>, int> timers_;
    std::optional<int> quit_code_;

    std::deque<int> message_box_answers_;
    std::deque<std::optional<std::string>> file_dialog_answers_;
    std::deque<DialogScriptEntry> dialog_scripts_;
    std::deque<int> popup_choices_;
    std::deque<std::function<void(HeadlessPlatform&)>> idle_actions_;
    std::map<int, bool> keys_down_;
    std::vector<MessageBoxRecord> message_boxes_;
    std::vector<FileDialogRecord> file_dialogs_;
    std::vector<PopupRecord> popups_;
    std::vector<std::string> opened_documents_;

    std::map<std::string, std::string> settings_;
    std::string temp_directory_ = "/tmp/tavimor-headless/";
    std::string executable_path_ = "/opt/tavimor/bin/tavimor";
    int screen_bits_per_pixel_ = 32;
    Cursor cursor_ = Cursor::kArrow;
    bool document_opening_fails_ = false;
    bool tip_window_fails_ = false;
};

}  // namespace tavimor
