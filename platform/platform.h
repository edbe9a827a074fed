// What the application asks of the window system: the main window with its
// client area and scroll bars, timers and private messages, menus, the
// toolbar, tab bars and labels, dialogs built from the resource templates,
// message boxes, file dialogs, cursors, documents opened with the desktop's
// program, dropped files, settings files, paths and the tracking tip.
//
// Windows, dialogs and controls are all addressed by WindowHandle; the
// application reacts through the WindowProc it gives each window and dialog,
// which receives the messages of messages.h. Two implementations exist:
// platform/qt (the desktop) and platform/headless (in memory, scripted by
// tests and used by the command-line tool).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/colour.h"
#include "platform/file_dialog.h"
#include "platform/font_request.h"
#include "platform/geometry.h"
#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/surface_view.h"
#include "resources/resource_types.h"

namespace tavimor {

enum class ScrollBar { kHorizontal, kVertical };

struct ScrollInfo {
    int min = 0;
    int max = 0;
    int page = 0;
    int position = 0;
    friend bool operator==(const ScrollInfo&, const ScrollInfo&) = default;
};

enum class ShowCommand { kHide, kShow, kMaximised };

enum class Cursor { kArrow, kWait };

enum class CheckState { kUnchecked = 0, kChecked = 1, kIndeterminate = 2 };

// An item of a tree filled in one call: its text and the index of its parent
// among the nodes before it (-1: a top-level item).
struct TreeNode {
    int parent = -1;
    std::string text;
    friend bool operator==(const TreeNode&, const TreeNode&) = default;
};

// A menu item addressed by its command identifier (searched in submenus too;
// a submenu item answers to its own identifier when no plain item has it) or
// by its position in the menu.
struct MenuItemRef {
    enum class By { kCommand, kPosition };
    By by;
    int value;
};
inline MenuItemRef by_command(int command) {
    return {MenuItemRef::By::kCommand, command};
}
inline MenuItemRef by_position(int position) {
    return {MenuItemRef::By::kPosition, position};
}

class Platform {
  public:
    virtual ~Platform() = default;

    // --- The message loop --------------------------------------------------
    // Runs until post_quit; returns its exit code.
    virtual int run_message_loop() = 0;
    virtual void post_quit(int exit_code) = 0;

    // --- Windows -------------------------------------------------------------
    // The top-level window with a client area and both scroll bars (hidden
    // while their range is empty). Receives kCreate before this returns.
    virtual WindowHandle create_main_window(std::string_view title, WindowProc proc) = 0;
    // Sends kDestroy to the window's procedure, then removes it and its children.
    virtual void destroy_window(WindowHandle window) = 0;
    virtual bool is_window(WindowHandle window) const = 0;
    // What a window does with a message its procedure leaves alone: kClose
    // destroys the window; everything else is ignored.
    virtual intptr_t default_window_proc(WindowHandle window, unsigned message, uintptr_t first,
                                         intptr_t second) = 0;
    virtual void show_window(WindowHandle window, ShowCommand command) = 0;
    // Whether the window is shown and so is every window it lies in, up to
    // its main window or dialog: a control of a hidden dialog is not visible.
    virtual bool is_window_visible(WindowHandle window) const = 0;
    virtual void enable_window(WindowHandle window, bool enabled) = 0;
    // The window's own state: a control of a disabled dialog reads enabled,
    // though the user cannot reach it while the dialog is disabled.
    virtual bool is_window_enabled(WindowHandle window) const = 0;
    // Position in the parent's client area (on the screen for top-level windows).
    virtual void move_window(WindowHandle window, const Rect& rect) = 0;
    virtual Rect window_rect(WindowHandle window) const = 0;
    // The client area, with its top-left corner at (0, 0).
    virtual Rect client_rect(WindowHandle window) const = 0;
    virtual Point client_to_screen(WindowHandle window, Point point) const = 0;
    // Title of a window or dialog, text of a control. A control reads back
    // the text as it was set (an edit field: as the user left it).
    virtual void set_window_text(WindowHandle window, std::string_view text) = 0;
    virtual std::string window_text(WindowHandle window) const = 0;
    // Asks for a kPaint of the main window or dialog soon: invalidations before
    // it comes make one kPaint, delivered once the window is seen. Showing and
    // resizing a window invalidate it too.
    virtual void invalidate(WindowHandle window) = 0;
    // Draws a control as it is now at once, for a long operation that keeps
    // the message loop waiting (a progress text in a label).
    virtual void update_window(WindowHandle control) = 0;
    // Files dropped on the window arrive as kDropFiles.
    virtual void accept_dropped_files(WindowHandle window, bool accept) = 0;
    virtual WindowHandle parent_window(WindowHandle window) const = 0;

    // --- Messages and timers -------------------------------------------------
    // Calls the window's procedure now and returns its result.
    virtual intptr_t send_message(WindowHandle window, unsigned message, uintptr_t first,
                                  intptr_t second) = 0;
    // Queues the message; the loop delivers it after what is pending.
    virtual void post_message(WindowHandle window, unsigned message, uintptr_t first,
                              intptr_t second) = 0;
    // kTimer with the identifier every period (a period below the minimum,
    // 0 included, runs at the minimum); setting it again replaces the period.
    virtual void set_timer(WindowHandle window, int id, int period_ms) = 0;
    virtual void kill_timer(WindowHandle window, int id) = 0;

    // --- Scroll bars of the main window ----------------------------------------
    virtual void set_scroll_info(WindowHandle window, ScrollBar bar, const ScrollInfo& info) = 0;
    virtual ScrollInfo scroll_info(WindowHandle window, ScrollBar bar) const = 0;

    // --- Pictures and text for the display ---------------------------------------
    // Bytes per pixel times 8 of the surfaces the display should use.
    virtual int screen_bits_per_pixel() const = 0;
    // Paints the source rectangle of the pixels into the window's client area
    // with its top-left corner at destination, clipped to the client area.
    // The picture stays until the next present, which replaces it; a present
    // asks for no kPaint.
    virtual bool present(WindowHandle window, const SurfaceView& pixels, const Rect& source,
                         Point destination) = 0;
    // Renders text in the font, left and top aligned, without smoothing.
    virtual TextBitmap render_text(std::string_view text, const FontRequest& font) = 0;

    // --- Menus --------------------------------------------------------------------
    // A menu (bar or popup) built from the menu template called name.
    virtual MenuHandle load_menu(std::string_view name) = 0;
    virtual MenuHandle create_popup_menu() = 0;
    virtual void destroy_menu(MenuHandle menu) = 0;
    // Attaches a menu bar to the window (kNoMenu detaches it).
    virtual void set_menu(WindowHandle window, MenuHandle menu) = 0;
    virtual MenuHandle window_menu(WindowHandle window) const = 0;
    virtual void draw_menu_bar(WindowHandle window) = 0;
    // The submenu at the position, or kNoMenu.
    virtual MenuHandle submenu(MenuHandle menu, int position) const = 0;
    virtual int menu_item_count(MenuHandle menu) const = 0;
    // Command identifier of the item at the position (-1 for a submenu or none).
    virtual int menu_item_command(MenuHandle menu, int position) const = 0;
    // Inserts before the position; a position of -1 or past the end appends.
    virtual bool insert_menu_item(MenuHandle menu, int position, int command,
                                  std::string_view label) = 0;
    virtual bool insert_submenu(MenuHandle menu, int position, MenuHandle submenu,
                                std::string_view label) = 0;
    virtual bool delete_menu_item(MenuHandle menu, MenuItemRef item) = 0;
    // Label of the item; empty when there is none.
    virtual std::string menu_item_label(MenuHandle menu, MenuItemRef item) const = 0;
    // Enables or greys the item.
    virtual bool enable_menu_item(MenuHandle menu, MenuItemRef item, bool enabled) = 0;
    virtual bool is_menu_item_enabled(MenuHandle menu, MenuItemRef item) const = 0;
    virtual bool check_menu_item(MenuHandle menu, MenuItemRef item, bool checked) = 0;
    virtual bool is_menu_item_checked(MenuHandle menu, MenuItemRef item) const = 0;
    // Shows the popup at the screen point and waits for the user. The chosen
    // command is sent to the owner as kCommand and returned; 0 when dismissed.
    virtual int track_popup_menu(MenuHandle menu, WindowHandle owner, Point screen) = 0;

    // --- The toolbar ----------------------------------------------------------
    // The toolbar of the toolbar template at the top of the parent's client
    // area, its images from the strip and a tooltip (the string with the
    // command's identifier) on every button. A click sends kCommand to the
    // parent; a check-group button checks itself and unchecks its group first.
    // A hidden button, or one not enabled or indeterminate (greyed), cannot
    // be pressed.
    virtual WindowHandle create_toolbar(WindowHandle parent, int control_id) = 0;
    // States are the kButton... bits of resource_types.h.
    virtual void set_button_state(WindowHandle toolbar, int command, unsigned state) = 0;
    virtual unsigned button_state(WindowHandle toolbar, int command) const = 0;
    virtual std::string button_tooltip(WindowHandle toolbar, int command) const = 0;
    // Sizes the toolbar to its parent's width.
    virtual void autosize_toolbar(WindowHandle toolbar) = 0;

    // --- Controls of the main window and of dialogs --------------------------------
    // A child control (a tab bar, a status label, ...) of a window.
    virtual WindowHandle create_control(WindowHandle parent, ControlKind kind, int control_id,
                                        std::string_view text, const Rect& rect) = 0;
    virtual WindowHandle dialog_item(WindowHandle dialog, int control_id) const = 0;
    virtual int control_id(WindowHandle control) const = 0;
    virtual void set_text_colour(WindowHandle control, ColourRef colour) = 0;
    virtual void set_font(WindowHandle control, const FontRequest& font) = 0;

    // Check boxes and radio buttons.
    virtual void set_check(WindowHandle control, CheckState state) = 0;
    virtual CheckState check_state(WindowHandle control) const = 0;

    // Combo boxes and list boxes.
    virtual void list_clear(WindowHandle control) = 0;
    virtual int list_add(WindowHandle control, std::string_view text) = 0;  // index of the entry
    virtual int list_count(WindowHandle control) const = 0;
    virtual std::string list_text(WindowHandle control, int index) const = 0;
    // -1, or an index out of range: no selection.
    virtual void list_select(WindowHandle control, int index) = 0;
    virtual int list_selection(WindowHandle control) const = 0;  // -1: none

    // Tab bars and tab controls. Every change of the selection the user makes
    // (a click, the arrow keys, the wheel) sends kNotify with
    // notify::kTabSelectionChange to the parent, after the change; changes
    // made by the program (select, insert, delete) never notify.
    //
    // The first tab inserted is selected; inserting before the selected tab
    // keeps that tab selected.
    virtual int tab_insert(WindowHandle control, int index, std::string_view text) = 0;
    // Deleting the selected tab selects the tab that takes its place, or the
    // new last tab; -1 only when no tab is left.
    virtual void tab_delete(WindowHandle control, int index) = 0;
    virtual void tab_delete_all(WindowHandle control) = 0;
    virtual int tab_count(WindowHandle control) const = 0;
    virtual std::string tab_text(WindowHandle control, int index) const = 0;
    // An index out of range changes nothing.
    virtual void tab_select(WindowHandle control, int index) = 0;
    virtual int tab_selection(WindowHandle control) const = 0;  // -1: none

    // Tree views. Items are appended as the last child of parent (kTreeRoot:
    // top level).
    virtual void tree_clear(WindowHandle control) = 0;
    virtual TreeItem tree_insert(WindowHandle control, TreeItem parent, std::string_view text) = 0;
    // Replaces every item of the tree with the nodes, in one go (a tree of
    // thousands of items is filled at once, not item by item).
    virtual void tree_set_items(WindowHandle control, std::vector<TreeNode> nodes) = 0;
    virtual int tree_child_count(WindowHandle control, TreeItem parent) const = 0;
    virtual TreeItem tree_child(WindowHandle control, TreeItem parent, int index) const = 0;
    virtual std::string tree_item_text(WindowHandle control, TreeItem item) const = 0;

    // Multi-line text views.
    virtual void select_all_text(WindowHandle control) = 0;
    // A procedure that sees the control's kContextMenu (and the kCommand of a
    // popup menu tracked for it) before the control does; a nonzero result
    // means the message was handled.
    virtual void set_control_proc(WindowHandle control, WindowProc proc) = 0;

    // --- Dialogs ------------------------------------------------------------------
    // A left click on a dialog's own area, or on a frame, label or group box
    // in it, reaches the dialog's procedure as kLeftButtonDown with the point
    // in the dialog's coordinates.
    // A modeless dialog from the template, hidden; its procedure gets
    // kInitDialog before this returns.
    virtual WindowHandle create_dialog(std::string_view template_name, WindowHandle owner,
                                       WindowProc proc) = 0;
    // Runs a modal dialog until end_dialog; returns the result given there,
    // or -1 when the template does not exist.
    virtual intptr_t run_dialog(std::string_view template_name, WindowHandle owner,
                                WindowProc proc) = 0;
    virtual void end_dialog(WindowHandle dialog, intptr_t result) = 0;

    // --- Message boxes, file dialogs, cursors, documents, keyboard -----------------
    // style: a button set and an icon of message_box.h; returns the answer.
    virtual int message_box(WindowHandle owner, std::string_view text, std::string_view caption,
                            unsigned style) = 0;
    virtual std::optional<std::string> open_file_dialog(WindowHandle owner,
                                                        const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> save_file_dialog(WindowHandle owner,
                                                        const FileDialogRequest& request) = 0;
    virtual void set_cursor(Cursor cursor) = 0;
    // Opens a file or an address with the desktop's program for it.
    virtual bool open_document(std::string_view path_or_address) = 0;
    // Control or Shift: while a key or mouse event is handled, as that event
    // found them; otherwise as the keyboard is now.
    virtual bool is_key_down(int virtual_key) const = 0;

    // --- Paths ----------------------------------------------------------------------
    // The user's temporary directory, ending with a separator.
    virtual std::string temp_directory() const = 0;
    // Full path of the running executable.
    virtual std::string executable_path() const = 0;

    // --- The tracking tip window -----------------------------------------------------
    // A topmost tip that shows one text at a point; kNoWindow when it cannot be made.
    virtual WindowHandle create_tip_window(WindowHandle owner) = 0;
    // An active tip is shown at its tracked point, an inactive one hidden.
    virtual void tip_activate(WindowHandle tip, bool active) = 0;
    virtual void tip_set_text(WindowHandle tip, std::string_view text) = 0;
    virtual void tip_track_position(WindowHandle tip, Point screen) = 0;

    // --- Settings files ---------------------------------------------------------------
    // The value of the key, at most max_chars characters, or the default when
    // the file, section or key is missing.
    std::string profile_string(std::string_view section, std::string_view key,
                               std::string_view default_value, size_t max_chars,
                               const std::string& file);
    int profile_int(std::string_view section, std::string_view key, int default_value,
                    const std::string& file);
    // Writes the value; an empty optional deletes the key.
    bool write_profile_string(std::string_view section, std::string_view key,
                              std::optional<std::string_view> value, const std::string& file);

  protected:
    // The whole text of a settings file; empty when it does not exist.
    virtual std::string load_settings_text(const std::string& file) const = 0;
    virtual bool store_settings_text(const std::string& file, const std::string& text) = 0;
};

// Checks the radio button id and unchecks the others from first to last.
void check_radio_button(Platform& platform, WindowHandle dialog, int first, int last, int id);

// The directory part of a path, ending with a separator ("" when there is none).
std::string directory_of(std::string_view path);

}  // namespace tavimor
