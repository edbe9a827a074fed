#include <algorithm>
#include <utility>

#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_window.h"

namespace tavimor {

namespace {

constexpr int kToolbarHeight = 28;

}  // namespace

// --- The toolbar --------------------------------------------------------------

WindowHandle HeadlessPlatform::create_toolbar(WindowHandle parent, int control_id) {
    const Window* owner = find(parent);
    if (!owner) return kNoWindow;
    auto toolbar = std::make_unique<Window>();
    toolbar->role = WindowRole::kToolbar;
    toolbar->parent = parent;
    toolbar->id = control_id;
    toolbar->visible = true;
    toolbar->rect = rect_at(0, 0, owner->rect.width(), kToolbarHeight);
    toolbar->buttons.emplace();
    return add_window(std::move(toolbar));
}

void HeadlessPlatform::set_button_state(WindowHandle handle, int command, unsigned state) {
    Window* toolbar = find(handle);
    if (toolbar && toolbar->buttons) toolbar->buttons->set_state(command, state);
}

unsigned HeadlessPlatform::button_state(WindowHandle handle, int command) const {
    const Window* toolbar = find(handle);
    return toolbar && toolbar->buttons ? toolbar->buttons->state(command) : 0;
}

std::string HeadlessPlatform::button_tooltip(WindowHandle handle, int command) const {
    const Window* toolbar = find(handle);
    return toolbar && toolbar->buttons ? toolbar->buttons->tooltip(command) : std::string{};
}

void HeadlessPlatform::autosize_toolbar(WindowHandle handle) {
    Window* toolbar = find(handle);
    if (!toolbar) return;
    toolbar->rect = rect_at(0, 0, client_rect(toolbar->parent).width(), kToolbarHeight);
}

// --- Controls ------------------------------------------------------------------------

WindowHandle HeadlessPlatform::create_control(WindowHandle parent, ControlKind kind, int control_id,
                                              std::string_view text, const Rect& rect) {
    if (!find(parent)) return kNoWindow;
    auto control = std::make_unique<Window>();
    control->role = WindowRole::kControl;
    control->kind = kind;
    control->parent = parent;
    control->id = control_id;
    control->text = std::string(text);
    control->rect = rect;
    control->visible = true;
    return add_window(std::move(control));
}

WindowHandle HeadlessPlatform::dialog_item(WindowHandle dialog, int control_id) const {
    const Window* window = find(dialog);
    if (!window) return kNoWindow;
    for (WindowHandle child : window->children) {
        const Window* control = find(child);
        if (control && control->id == control_id) return child;
    }
    return kNoWindow;
}

int HeadlessPlatform::control_id(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->id : kUnaddressedControl;
}

void HeadlessPlatform::set_text_colour(WindowHandle handle, ColourRef colour) {
    if (Window* window = find(handle)) window->text_colour = colour;
}

std::optional<ColourRef> HeadlessPlatform::text_colour(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->text_colour : std::nullopt;
}

void HeadlessPlatform::set_font(WindowHandle handle, const FontRequest& font) {
    if (Window* window = find(handle)) window->font = font;
}

std::optional<FontRequest> HeadlessPlatform::font(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->font : std::nullopt;
}

void HeadlessPlatform::set_check(WindowHandle handle, CheckState state) {
    if (Window* window = find(handle)) window->check = state;
}

CheckState HeadlessPlatform::check_state(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->check : CheckState::kUnchecked;
}

void HeadlessPlatform::list_clear(WindowHandle handle) {
    if (Window* window = find(handle)) {
        window->entries.clear();
        window->selection = -1;
    }
}

int HeadlessPlatform::list_add(WindowHandle handle, std::string_view text) {
    Window* window = find(handle);
    if (!window) return -1;
    window->entries.emplace_back(text);
    return static_cast<int>(window->entries.size()) - 1;
}

int HeadlessPlatform::list_count(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? static_cast<int>(window->entries.size()) : 0;
}

std::string HeadlessPlatform::list_text(WindowHandle handle, int index) const {
    const Window* window = find(handle);
    if (!window || index < 0 || index >= static_cast<int>(window->entries.size())) return {};
    return window->entries[index];
}

void HeadlessPlatform::list_select(WindowHandle handle, int index) {
    Window* window = find(handle);
    if (!window) return;
    window->selection = index >= 0 && index < static_cast<int>(window->entries.size()) ? index : -1;
}

int HeadlessPlatform::list_selection(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->selection : -1;
}

int HeadlessPlatform::tab_insert(WindowHandle handle, int index, std::string_view text) {
    Window* window = find(handle);
    if (!window) return -1;
    int count = static_cast<int>(window->entries.size());
    int at = index < 0 || index > count ? count : index;
    window->entries.insert(window->entries.begin() + at, std::string(text));
    if (window->selection < 0)
        window->selection = 0;  // the first tab is selected
    else if (at <= window->selection)
        ++window->selection;  // the selected tab stays selected
    return at;
}

void HeadlessPlatform::tab_delete(WindowHandle handle, int index) {
    Window* window = find(handle);
    if (!window || index < 0 || index >= static_cast<int>(window->entries.size())) return;
    window->entries.erase(window->entries.begin() + index);
    int count = static_cast<int>(window->entries.size());
    if (window->selection == index)
        window->selection = count == 0 ? -1 : std::min(index, count - 1);
    else if (window->selection > index)
        --window->selection;
}

void HeadlessPlatform::tab_delete_all(WindowHandle handle) {
    list_clear(handle);
}

int HeadlessPlatform::tab_count(WindowHandle handle) const {
    return list_count(handle);
}

std::string HeadlessPlatform::tab_text(WindowHandle handle, int index) const {
    return list_text(handle, index);
}

void HeadlessPlatform::tab_select(WindowHandle handle, int index) {
    Window* window = find(handle);
    if (window && index >= 0 && index < static_cast<int>(window->entries.size()))
        window->selection = index;
}

int HeadlessPlatform::tab_selection(WindowHandle handle) const {
    return list_selection(handle);
}

void HeadlessPlatform::tree_clear(WindowHandle handle) {
    if (Window* window = find(handle)) window->tree.clear();
}

TreeItem HeadlessPlatform::tree_insert(WindowHandle handle, TreeItem parent,
                                       std::string_view text) {
    Window* window = find(handle);
    if (!window) return kTreeRoot;
    auto& tree = window->tree;
    if (parent != kTreeRoot && !tree.contains(static_cast<intptr_t>(parent))) return kTreeRoot;
    TreeItem item{next_tree_item_++};
    tree[static_cast<intptr_t>(item)] = {std::string(text), parent, {}};
    tree[static_cast<intptr_t>(parent)].children.push_back(item);
    return item;
}

void HeadlessPlatform::tree_set_items(WindowHandle handle, std::vector<TreeNode> nodes) {
    Window* window = find(handle);
    if (!window) return;
    // As many tree_insert calls would, without looking up the window and the
    // parent item again for each of the thousand lines of a header trace.
    auto& tree = window->tree;
    tree.clear();
    if (nodes.empty()) return;
    const auto root = tree.try_emplace(static_cast<intptr_t>(kTreeRoot)).first;
    std::vector<decltype(tree.begin())> made;
    made.reserve(nodes.size());
    for (TreeNode& node : nodes) {
        const bool nested = node.parent >= 0 && node.parent < static_cast<int>(made.size());
        const auto parent = nested ? made[node.parent] : root;
        const TreeItem item{next_tree_item_++};
        made.push_back(
            tree.emplace_hint(tree.end(), static_cast<intptr_t>(item),
                              HeadlessTreeNode{std::move(node.text), TreeItem{parent->first}, {}}));
        parent->second.children.push_back(item);
    }
}

int HeadlessPlatform::tree_child_count(WindowHandle handle, TreeItem parent) const {
    const Window* window = find(handle);
    if (!window) return 0;
    auto it = window->tree.find(static_cast<intptr_t>(parent));
    return it == window->tree.end() ? 0 : static_cast<int>(it->second.children.size());
}

TreeItem HeadlessPlatform::tree_child(WindowHandle handle, TreeItem parent, int index) const {
    const Window* window = find(handle);
    if (!window) return kTreeRoot;
    auto it = window->tree.find(static_cast<intptr_t>(parent));
    if (it == window->tree.end() || index < 0 ||
        index >= static_cast<int>(it->second.children.size()))
        return kTreeRoot;
    return it->second.children[index];
}

std::string HeadlessPlatform::tree_item_text(WindowHandle handle, TreeItem item) const {
    const Window* window = find(handle);
    if (!window || item == kTreeRoot) return {};
    auto it = window->tree.find(static_cast<intptr_t>(item));
    return it == window->tree.end() ? std::string{} : it->second.text;
}

void HeadlessPlatform::select_all_text(WindowHandle handle) {
    if (Window* window = find(handle)) window->all_selected = true;
}

bool HeadlessPlatform::all_text_selected(WindowHandle handle) const {
    const Window* window = find(handle);
    return window && window->all_selected;
}

void HeadlessPlatform::set_control_proc(WindowHandle handle, WindowProc proc) {
    if (Window* window = find(handle)) window->control_proc = std::move(proc);
}

}  // namespace tavimor
