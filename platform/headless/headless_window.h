// The records behind the handles of the headless window system.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/toolbar_buttons.h"

namespace tavimor {

enum class WindowRole { kMain, kDialog, kControl, kToolbar, kTip };

struct HeadlessTreeNode {
    std::string text;
    TreeItem parent;
    std::vector<TreeItem> children;
};

struct HeadlessPlatform::Window {
    WindowHandle handle{};
    WindowRole role = WindowRole::kControl;
    ControlKind kind = ControlKind::kLabel;
    WindowHandle parent = kNoWindow;
    int id = kUnaddressedControl;
    std::string text;
    Rect rect;
    bool visible = false;      // shown itself; what is seen also needs the ancestors shown
    bool enabled = true;       // enabled itself; input also needs the ancestors enabled
    bool needs_paint = false;  // invalidated: a kPaint is due once the window is seen
    bool group_start = false;
    WindowProc proc;
    WindowProc control_proc;
    std::vector<WindowHandle> children;

    // Main window.
    MenuHandle menu = kNoMenu;
    bool accepts_drops = false;
    std::array<ScrollInfo, 2> scroll{};
    std::vector<uint32_t> frame;  // client pixels, 0x00RRGGBB
    int presents = 0;

    // Dialogs.
    std::string template_name;
    bool modal = false;
    bool ended = false;
    intptr_t result = 0;

    // Controls.
    CheckState check = CheckState::kUnchecked;
    std::vector<std::string> entries;  // list, combo and tab entries
    int selection = -1;
    std::map<intptr_t, HeadlessTreeNode> tree;  // kTreeRoot holds the top level
    bool all_selected = false;
    std::optional<ColourRef> text_colour;
    std::optional<FontRequest> font;

    // Toolbar.
    std::optional<ToolbarButtons> buttons;

    // Tip window.
    TipState tip;

    // Main windows, dialogs and tips stand alone; the others live in their parent.
    bool top_level() const {
        return role == WindowRole::kMain || role == WindowRole::kDialog || role == WindowRole::kTip;
    }
};

struct HeadlessPlatform::MenuItem {
    std::string label;
    int command = 0;
    MenuHandle submenu = kNoMenu;
    bool enabled = true;
    bool checked = false;
};

struct HeadlessPlatform::Menu {
    std::vector<MenuItem> items;
};

}  // namespace tavimor
