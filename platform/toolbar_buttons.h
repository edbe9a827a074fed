// The toolbar's buttons as the window system keeps them: the buttons of the
// toolbar template in order (separators included), each with its state bits
// and tooltip, and what a press does to them.
#pragma once

#include <string>
#include <vector>

#include "resources/resource_types.h"

namespace tavimor {

struct ToolbarButton {
    int command = 0;  // 0 for a separator
    int image = -1;
    unsigned state = 0;
    ButtonStyle style = ButtonStyle::kButton;
    std::string tooltip;  // the string with the command's identifier
};

class ToolbarButtons {
  public:
    // The buttons of the toolbar template, in their starting states.
    ToolbarButtons();

    const std::vector<ToolbarButton>& buttons() const { return buttons_; }
    // Index of the button with the command; -1 when none (command 0 never matches).
    int find(int command) const;
    // False when no button has the command.
    bool set_state(int command, unsigned state);
    unsigned state(int command) const;  // 0 when no button has the command
    std::string tooltip(int command) const;
    // Whether the user can press the button: shown, enabled and not
    // indeterminate (an indeterminate button shows greyed).
    bool can_press(int command) const;
    // The user presses the button: a check-group button checks itself and
    // unchecks the rest of its group; other buttons keep their state (the
    // application decides). False, and nothing changes, when it cannot be pressed.
    bool press(int command);

  private:
    std::vector<ToolbarButton> buttons_;
};

// Whether a button in the state shows enabled (not greyed).
bool button_shows_enabled(unsigned state);

}  // namespace tavimor
