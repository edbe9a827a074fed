// The shapes of the application's resources: dialog templates with their
// controls, menus with their command identifiers, the toolbar's buttons and
// the string table. The resources themselves are plain tables of these.
#pragma once

#include <span>
#include <string_view>

namespace tavimor {

// Identifier of a control that nobody addresses (a caption, a group frame).
inline constexpr int kUnaddressedControl = -1;

enum class ControlKind {
    kLabel,         // static text, left aligned
    kCentredLabel,  // static text, centred
    kGroupBox,      // a frame with a caption around related controls
    kEdit,          // one-line edit field
    kTextView,      // multi-line, read-only text with scroll bars
    kCheckBox,      // toggles itself when clicked
    kRadioButton,   // checks itself and unchecks the others of its group
    kPushButton,
    kDefaultButton,  // the button that Enter presses
    kImageButton,    // a push button that shows an image resource
    kComboBox,       // drop-down list; confirming an entry notifies the dialog
    kListBox,
    kTreeView,
    kTabControl,
    kGraphFrame,  // an empty frame the dialog paints into
};

struct ControlTemplate {
    ControlKind kind;
    int id;
    std::string_view text;
    int x, y, width, height;  // pixels from the dialog's top-left corner
    bool visible = true;
    bool group_start = false;  // first radio button of a group
    int image = 0;             // image resource of an image button
};

struct DialogTemplate {
    std::string_view name;
    std::string_view title;
    int width, height;  // client size in pixels
    std::span<const ControlTemplate> controls;
    bool resizable = false;
};

struct MenuItemTemplate {
    std::string_view label;  // empty for a separator
    int command;             // command identifier; for a submenu its own identifier (or 0)
    std::span<const MenuItemTemplate> submenu;
    bool is_submenu = false;
};

struct MenuTemplate {
    std::string_view name;
    std::span<const MenuItemTemplate> items;
};

// Toolbar button states and styles.
inline constexpr unsigned kButtonChecked = 0x01;
inline constexpr unsigned kButtonPressed = 0x02;
inline constexpr unsigned kButtonEnabled = 0x04;
inline constexpr unsigned kButtonHidden = 0x08;
inline constexpr unsigned kButtonIndeterminate = 0x10;

enum class ButtonStyle { kButton, kCheckGroup, kSeparator };

struct ToolbarButtonTemplate {
    int image;    // index in the toolbar image strip; -1 for a separator
    int command;  // 0 for a separator
    unsigned state;
    ButtonStyle style;
};

struct StringResource {
    int id;
    std::string_view text;
};

}  // namespace tavimor
