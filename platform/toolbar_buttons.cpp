#include "platform/toolbar_buttons.h"

#include "platform/control_groups.h"
#include "resources/string_table.h"
#include "resources/toolbar_template.h"

namespace tavimor {

ToolbarButtons::ToolbarButtons() {
    for (const ToolbarButtonTemplate& button : toolbar_template()) {
        std::string tooltip =
            button.command != 0 ? std::string(load_string(button.command)) : std::string{};
        buttons_.push_back({button.command, button.image, button.state, button.style, tooltip});
    }
}

int ToolbarButtons::find(int command) const {
    if (command == 0) return -1;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i].command == command) return static_cast<int>(i);
    }
    return -1;
}

bool ToolbarButtons::set_state(int command, unsigned state) {
    int at = find(command);
    if (at < 0) return false;
    buttons_[at].state = state;
    return true;
}

unsigned ToolbarButtons::state(int command) const {
    int at = find(command);
    return at < 0 ? 0 : buttons_[at].state;
}

std::string ToolbarButtons::tooltip(int command) const {
    int at = find(command);
    return at < 0 ? std::string{} : buttons_[at].tooltip;
}

bool ToolbarButtons::can_press(int command) const {
    int at = find(command);
    if (at < 0) return false;
    unsigned state = buttons_[at].state;
    return button_shows_enabled(state) && !(state & kButtonHidden);
}

bool ToolbarButtons::press(int command) {
    if (!can_press(command)) return false;
    size_t at = static_cast<size_t>(find(command));
    if (buttons_[at].style == ButtonStyle::kCheckGroup) check_in_group(buttons_, at);
    return true;
}

bool button_shows_enabled(unsigned state) {
    return (state & kButtonEnabled) && !(state & kButtonIndeterminate);
}

}  // namespace tavimor
