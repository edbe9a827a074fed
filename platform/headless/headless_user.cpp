// The scripted user of the headless window system.
#include <algorithm>

#include "platform/canvas.h"
#include "platform/control_groups.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_window.h"
#include "resources/control_ids.h"

namespace tavimor {

namespace {

// A canvas that remembers the lines drawn on it.
class RecordingCanvas : public Canvas {
  public:
    ColourRef select_pen(ColourRef colour) override {
        ColourRef previous = pen_;
        pen_ = colour;
        return previous;
    }
    void move_to(int x, int y) override { at_ = {x, y}; }
    void line_to(int x, int y) override {
        lines_.push_back({pen_, at_, {x, y}});
        at_ = {x, y};
    }
    void set_pixel(int x, int y, ColourRef colour) override {
        lines_.push_back({colour, {x, y}, {x, y}});
    }
    std::vector<HeadlessPlatform::DrawnLine> lines() const { return lines_; }

  private:
    ColourRef pen_ = 0;
    Point at_;
    std::vector<HeadlessPlatform::DrawnLine> lines_;
};

bool passes_clicks_on(ControlKind kind) {
    return kind == ControlKind::kGraphFrame || kind == ControlKind::kLabel ||
           kind == ControlKind::kCentredLabel || kind == ControlKind::kGroupBox;
}

}  // namespace

void HeadlessPlatform::answer_next_message_box(int answer) {
    message_box_answers_.push_back(answer);
}

void HeadlessPlatform::answer_next_file_dialog(std::optional<std::string> path) {
    file_dialog_answers_.push_back(std::move(path));
}

void HeadlessPlatform::script_next_dialog(std::string template_name, DialogScript script) {
    dialog_scripts_.push_back({std::move(template_name), std::move(script)});
}

void HeadlessPlatform::choose_next_popup_command(int command) {
    popup_choices_.push_back(command);
}

void HeadlessPlatform::set_key_down(int virtual_key, bool down) {
    keys_down_[virtual_key] = down;
}

void HeadlessPlatform::notify_parent(const Window& control, int notification) {
    send_message(control.parent, msg::kCommand, command_parameter(control.id, notification),
                 static_cast<intptr_t>(control.handle));
}

void HeadlessPlatform::apply_radio_click(Window& radio) {
    Window* dialog = find(radio.parent);
    if (!dialog) return;
    const auto& siblings = dialog->children;
    size_t at = std::find(siblings.begin(), siblings.end(), radio.handle) - siblings.begin();
    auto [first, last] = radio_group_around(
        at, siblings.size(),
        [&](size_t i) { return find(siblings[i])->kind == ControlKind::kRadioButton; },
        [&](size_t i) { return find(siblings[i])->group_start; });
    for (size_t i = first; i <= last; ++i) find(siblings[i])->check = CheckState::kUnchecked;
    radio.check = CheckState::kChecked;
}

bool HeadlessPlatform::click(WindowHandle dialog, int control_id) {
    Window* control = find(dialog_item(dialog, control_id));
    if (!control) return false;
    if (!takes_input(*control) || !control->visible) return true;
    if (control->kind == ControlKind::kCheckBox) {
        control->check =
            control->check == CheckState::kChecked ? CheckState::kUnchecked : CheckState::kChecked;
    } else if (control->kind == ControlKind::kRadioButton) {
        apply_radio_click(*control);
    }
    notify_parent(*control, notify::kButtonClicked);
    return true;
}

bool HeadlessPlatform::type_text(WindowHandle dialog, int control_id, std::string_view text) {
    Window* control = find(dialog_item(dialog, control_id));
    if (!control) return false;
    if (!takes_input(*control)) return true;
    control->text = std::string(text);
    notify_parent(*control, notify::kEditChange);
    return true;
}

bool HeadlessPlatform::choose_list_entry(WindowHandle dialog, int control_id, int index) {
    Window* control = find(dialog_item(dialog, control_id));
    if (!control || index < 0 || index >= static_cast<int>(control->entries.size())) return false;
    control->selection = index;
    notify_parent(*control, notify::kComboSelectionChange);
    if ((control = find(dialog_item(dialog, control_id)))) {
        notify_parent(*control, notify::kComboSelectionEndOk);
    }
    return true;
}

void HeadlessPlatform::notify_tab_change(const Window& tabs) {
    NotifyHeader header{tabs.handle, tabs.id, notify::kTabSelectionChange};
    send_message(tabs.parent, msg::kNotify, static_cast<uintptr_t>(tabs.id),
                 notify_parameter(header));
}

bool HeadlessPlatform::choose_tab(WindowHandle tab_control, int index) {
    Window* control = find(tab_control);
    if (!control || index < 0 || index >= static_cast<int>(control->entries.size())) return false;
    if (!takes_input(*control) || index == control->selection) return true;
    control->selection = index;
    notify_tab_change(*control);
    return true;
}

bool HeadlessPlatform::choose_menu_command(WindowHandle window, int command) {
    MenuHandle bar = window_menu(window);
    if (!menu_command_reachable(*this, bar, command)) return false;
    send_message(window, msg::kCommand, command_parameter(command), 0);
    return true;
}

bool HeadlessPlatform::press_toolbar_button(WindowHandle handle, int command) {
    Window* toolbar = find(handle);
    if (!toolbar || !toolbar->buttons || !toolbar->visible || !takes_input(*toolbar)) return false;
    if (!toolbar->buttons->press(command)) return false;
    send_message(toolbar->parent, msg::kCommand, command_parameter(command),
                 static_cast<intptr_t>(handle));
    return true;
}

void HeadlessPlatform::press_key(WindowHandle handle, int virtual_key) {
    Window* window = find(handle);
    if (!window) return;
    if (window->kind == ControlKind::kTabControl && window->role == WindowRole::kControl &&
        (virtual_key == key::kLeft || virtual_key == key::kRight)) {
        int next = window->selection + (virtual_key == key::kLeft ? -1 : 1);
        if (next >= 0 && next < static_cast<int>(window->entries.size()) && takes_input(*window)) {
            window->selection = next;
            notify_tab_change(*window);
        }
        return;
    }
    if (window->role == WindowRole::kDialog && virtual_key == key::kEscape) {
        send_message(handle, msg::kCommand, command_parameter(ctl::kCancel),
                     static_cast<intptr_t>(dialog_item(handle, ctl::kCancel)));
        return;
    }
    if (window->role == WindowRole::kDialog && virtual_key == key::kReturn) {
        for (WindowHandle child : window->children) {
            const Window* button = find(child);
            if (button && button->kind == ControlKind::kDefaultButton) {
                click(handle, button->id);
                return;
            }
        }
        return;
    }
    send_message(handle, msg::kKeyDown, static_cast<uintptr_t>(virtual_key), 0);
}

void HeadlessPlatform::left_click(WindowHandle window, Point client, unsigned key_state) {
    if (is_key_down(key::kControl)) key_state |= key::kControlState;
    if (is_key_down(key::kShift)) key_state |= key::kShiftState;
    // Frames and labels take no clicks: the window they lie in does, at its own point.
    for (const Window* target = find(window);
         target && target->role == WindowRole::kControl && passes_clicks_on(target->kind);
         target = find(window)) {
        client = {client.x + target->rect.left, client.y + target->rect.top};
        window = target->parent;
    }
    send_message(window, msg::kLeftButtonDown, key_state, pack_point(client.x, client.y));
}

void HeadlessPlatform::move_mouse(WindowHandle window, Point client) {
    send_message(window, msg::kMouseMove, 0, pack_point(client.x, client.y));
}

void HeadlessPlatform::open_context_menu(WindowHandle window, Point screen) {
    send_message(window, msg::kContextMenu, static_cast<uintptr_t>(window),
                 pack_point(screen.x, screen.y));
}

void HeadlessPlatform::drop_files(WindowHandle handle, const std::vector<std::string>& paths) {
    const Window* window = find(handle);
    if (!window || !window->accepts_drops || paths.empty()) return;
    send_message(handle, msg::kDropFiles, 0, dropped_paths_parameter(paths));
}

void HeadlessPlatform::request_close(WindowHandle window) {
    send_message(window, msg::kClose, 0, 0);
}

void HeadlessPlatform::resize_client(WindowHandle handle, int width, int height) {
    Window* window = find(handle);
    if (!window) return;
    window->rect = rect_at(window->rect.left, window->rect.top, width, height);
    window->frame.clear();
    invalidate(handle);
    send_message(handle, msg::kSize, 0, pack_point(width, height));
}

void HeadlessPlatform::scroll(WindowHandle window, ScrollBar bar, int code, int position) {
    unsigned message = bar == ScrollBar::kHorizontal ? msg::kHScroll : msg::kVScroll;
    send_message(window, message, scroll_parameter(code, position), 0);
}

bool HeadlessPlatform::fire_timer(WindowHandle window, int id) {
    if (!timer_period(window, id)) return false;
    send_message(window, msg::kTimer, static_cast<uintptr_t>(id), 0);
    return true;
}

std::vector<HeadlessPlatform::DrawnLine> HeadlessPlatform::paint(WindowHandle handle) {
    Window* window = find(handle);
    if (!window) return {};
    window->needs_paint = false;
    if (window->role != WindowRole::kDialog) {
        send_message(handle, msg::kPaint, 0, 0);
        return {};
    }
    RecordingCanvas canvas;
    send_message(handle, msg::kPaint, 0, canvas_parameter(&canvas));
    return canvas.lines();
}

}  // namespace tavimor
