// The user of a window system, for the tests that hold both implementations
// to the same behaviour: the headless one acts through its scripting
// methods, the Qt one through real widgets and synthesized Qt events.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tavimor::test {

class PlatformUser {
  public:
    virtual ~PlatformUser() = default;
    virtual Platform& platform() = 0;

    // Lets the window system deliver what it has queued (posted messages, paints).
    virtual void settle() = 0;
    // Clicks a button, check box or radio button.
    virtual void click(WindowHandle control) = 0;
    virtual void click_tab(WindowHandle tabs, int index) = 0;
    // Turns the mouse wheel over a tab control, notches towards the user.
    virtual void turn_wheel(WindowHandle tabs, int notches) = 0;
    virtual void press_key(WindowHandle window, int virtual_key, bool control = false) = 0;
    virtual void left_click(WindowHandle window, Point client, bool control) = 0;
    // Replaces the text of an edit field by typing.
    virtual void type(WindowHandle edit, std::string_view text) = 0;
    // Picks an entry of an open combo box and confirms it.
    virtual void choose_entry(WindowHandle combo, int index) = 0;
    virtual void press_toolbar_button(WindowHandle toolbar, int command) = 0;
    // Asks for the context menu at the client point; returns the screen point.
    virtual Point open_context_menu(WindowHandle window, Point client) = 0;
    virtual void drop_files(WindowHandle window, const std::vector<std::string>& paths) = 0;
    virtual void resize_client(WindowHandle window, int width, int height) = 0;
    virtual std::optional<int> timer_period(WindowHandle window, int id) = 0;
    // Lets the timer run until fired() says it did (or long enough that it would have).
    virtual void let_timer_run(WindowHandle window, int id, const std::function<bool()>& fired) = 0;
    // What the user sees at the client point, 0x00RRGGBB.
    virtual uint32_t client_pixel(WindowHandle window, Point at) = 0;
    // What the user does once the next modal dialog is up; a dialog the
    // script leaves open is cancelled with Escape.
    virtual void in_next_dialog(std::function<void(WindowHandle dialog)> script) = 0;
};

// "headless" or "qt".
std::unique_ptr<PlatformUser> make_platform_user(const std::string& kind);

}  // namespace tavimor::test
