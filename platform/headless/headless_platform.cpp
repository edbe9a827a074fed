#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/headless/headless_window.h"
#include "platform/message_box.h"
#include "platform/scroll_limits.h"
#include "platform/text_renderer.h"
#include "platform/timer_period.h"
#include "resources/control_ids.h"

namespace tavimor {

namespace {

constexpr int kDefaultClientWidth = 1024;
constexpr int kDefaultClientHeight = 768;
constexpr uint32_t kBackground = 0xFFFFFF;

// The client area all background: one row is filled, the others are copies
// of it (a window of 1024 x 768 is filled on every present).
void fill_background(std::vector<uint32_t>& frame, int width, int height) {
    if (width <= 0 || height <= 0) {
        frame.clear();
        return;
    }
    const size_t row = static_cast<size_t>(width);
    frame.resize(row * static_cast<size_t>(height));
    std::fill_n(frame.data(), row, kBackground);
    for (int y = 1; y < height; ++y)
        std::memcpy(frame.data() + row * static_cast<size_t>(y), frame.data(),
                    row * sizeof(uint32_t));
}

}  // namespace

HeadlessPlatform::HeadlessPlatform() = default;
HeadlessPlatform::~HeadlessPlatform() = default;

HeadlessPlatform::Window* HeadlessPlatform::find(WindowHandle window) {
    auto it = windows_.find(static_cast<int>(window));
    return it == windows_.end() ? nullptr : it->second.get();
}

const HeadlessPlatform::Window* HeadlessPlatform::find(WindowHandle window) const {
    auto it = windows_.find(static_cast<int>(window));
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowHandle HeadlessPlatform::add_window(std::unique_ptr<Window> window) {
    WindowHandle handle{next_handle_++};
    window->handle = handle;
    if (Window* parent = find(window->parent)) parent->children.push_back(handle);
    windows_[static_cast<int>(handle)] = std::move(window);
    return handle;
}

// --- The message loop --------------------------------------------------------

int HeadlessPlatform::run_message_loop() {
    while (!quit_code_) {
        if (!posted_.empty() || next_to_paint()) {
            deliver_posted();
        } else if (!idle_actions_.empty()) {
            auto action = std::move(idle_actions_.front());
            idle_actions_.pop_front();
            action(*this);
        } else {
            break;
        }
    }
    return quit_code_.value_or(0);
}

void HeadlessPlatform::when_idle(std::function<void(HeadlessPlatform&)> action) {
    idle_actions_.push_back(std::move(action));
}

void HeadlessPlatform::post_quit(int exit_code) {
    quit_code_ = exit_code;
}

int HeadlessPlatform::deliver_posted() {
    int count = 0;
    for (;;) {
        if (!posted_.empty()) {
            Posted message = posted_.front();
            posted_.pop_front();
            send_message(message.window, message.message, message.first, message.second);
        } else if (Window* window = next_to_paint()) {
            paint(window->handle);
        } else {
            return count;
        }
        ++count;
    }
}

HeadlessPlatform::Window* HeadlessPlatform::next_to_paint() {
    for (auto& [handle, window] : windows_) {
        if (window->needs_paint && is_window_visible(window->handle)) return window.get();
    }
    return nullptr;
}

// --- Windows ---------------------------------------------------------------------

WindowHandle HeadlessPlatform::create_main_window(std::string_view title, WindowProc proc) {
    auto window = std::make_unique<Window>();
    window->role = WindowRole::kMain;
    window->text = std::string(title);
    window->rect = rect_at(0, 0, kDefaultClientWidth, kDefaultClientHeight);
    window->proc = std::move(proc);
    WindowHandle handle = add_window(std::move(window));
    send_message(handle, msg::kCreate, 0, 0);
    return handle;
}

void HeadlessPlatform::destroy_window(WindowHandle handle) {
    Window* window = find(handle);
    if (!window) return;
    send_message(handle, msg::kDestroy, 0, 0);
    window = find(handle);
    if (!window) return;
    std::vector<WindowHandle> children = window->children;
    for (WindowHandle child : children) destroy_window(child);
    if (Window* parent = find(window->parent)) std::erase(parent->children, handle);
    std::erase_if(timers_,
                  [&](const auto& timer) { return timer.first.first == static_cast<int>(handle); });
    windows_.erase(static_cast<int>(handle));
}

bool HeadlessPlatform::is_window(WindowHandle window) const {
    return find(window) != nullptr;
}

intptr_t HeadlessPlatform::default_window_proc(WindowHandle window, unsigned message, uintptr_t,
                                               intptr_t) {
    if (message == msg::kClose) destroy_window(window);
    return 0;
}

void HeadlessPlatform::set_shown(Window& window, bool shown) {
    if (shown && !window.visible) window.needs_paint = true;
    window.visible = shown;
}

void HeadlessPlatform::show_window(WindowHandle handle, ShowCommand command) {
    if (Window* window = find(handle)) set_shown(*window, command != ShowCommand::kHide);
}

bool HeadlessPlatform::is_window_visible(WindowHandle handle) const {
    for (const Window* window = find(handle); window; window = find(window->parent)) {
        if (!window->visible) return false;
        if (window->top_level()) return true;
    }
    return false;
}

bool HeadlessPlatform::takes_input(const Window& window) const {
    for (const Window* at = &window; at; at = find(at->parent)) {
        if (!at->enabled) return false;
        if (at->top_level()) return true;
    }
    return true;
}

void HeadlessPlatform::enable_window(WindowHandle handle, bool enabled) {
    if (Window* window = find(handle)) window->enabled = enabled;
}

bool HeadlessPlatform::is_window_enabled(WindowHandle handle) const {
    const Window* window = find(handle);
    return window && window->enabled;
}

void HeadlessPlatform::move_window(WindowHandle handle, const Rect& rect) {
    if (Window* window = find(handle)) window->rect = rect;
}

Rect HeadlessPlatform::window_rect(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->rect : Rect{};
}

Rect HeadlessPlatform::client_rect(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? Rect{0, 0, window->rect.width(), window->rect.height()} : Rect{};
}

Point HeadlessPlatform::client_to_screen(WindowHandle handle, Point point) const {
    for (const Window* window = find(handle); window; window = find(window->parent)) {
        point.x += window->rect.left;
        point.y += window->rect.top;
        if (window->top_level()) break;  // placed on the screen itself
    }
    return point;
}

void HeadlessPlatform::set_window_text(WindowHandle handle, std::string_view text) {
    if (Window* window = find(handle)) {
        window->text = std::string(text);
        window->all_selected = false;
    }
}

std::string HeadlessPlatform::window_text(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->text : std::string{};
}

void HeadlessPlatform::invalidate(WindowHandle handle) {
    Window* window = find(handle);
    // Controls, toolbars and tips draw themselves; only windows with a
    // procedure are asked to paint.
    if (window && (window->role == WindowRole::kMain || window->role == WindowRole::kDialog))
        window->needs_paint = true;
}

// Controls hold their text as set: nothing waits to be drawn.
void HeadlessPlatform::update_window(WindowHandle) {}

void HeadlessPlatform::accept_dropped_files(WindowHandle handle, bool accept) {
    if (Window* window = find(handle)) window->accepts_drops = accept;
}

bool HeadlessPlatform::accepts_dropped_files(WindowHandle handle) const {
    const Window* window = find(handle);
    return window && window->accepts_drops;
}

WindowHandle HeadlessPlatform::parent_window(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->parent : kNoWindow;
}

// --- Messages and timers -----------------------------------------------------------

intptr_t HeadlessPlatform::send_message(WindowHandle handle, unsigned message, uintptr_t first,
                                        intptr_t second) {
    Window* window = find(handle);
    if (!window) return 0;
    if (window->control_proc) {
        WindowProc proc = window->control_proc;
        if (intptr_t handled = proc(handle, message, first, second)) return handled;
        return 0;
    }
    if (window->proc) {
        WindowProc proc = window->proc;  // the procedure may destroy the window
        return proc(handle, message, first, second);
    }
    return default_window_proc(handle, message, first, second);
}

void HeadlessPlatform::post_message(WindowHandle window, unsigned message, uintptr_t first,
                                    intptr_t second) {
    posted_.push_back({window, message, first, second});
}

void HeadlessPlatform::set_timer(WindowHandle window, int id, int period_ms) {
    if (!is_window(window)) return;
    timers_[{static_cast<int>(window), id}] = effective_timer_period(period_ms);
}

void HeadlessPlatform::kill_timer(WindowHandle window, int id) {
    timers_.erase({static_cast<int>(window), id});
}

std::optional<int> HeadlessPlatform::timer_period(WindowHandle window, int id) const {
    auto it = timers_.find({static_cast<int>(window), id});
    if (it == timers_.end()) return std::nullopt;
    return it->second;
}

// --- Scroll bars -------------------------------------------------------------------------

void HeadlessPlatform::set_scroll_info(WindowHandle handle, ScrollBar bar, const ScrollInfo& info) {
    if (Window* window = find(handle))
        window->scroll[static_cast<int>(bar)] = clamp_scroll_position(info);
}

ScrollInfo HeadlessPlatform::scroll_info(WindowHandle handle, ScrollBar bar) const {
    const Window* window = find(handle);
    return window ? window->scroll[static_cast<int>(bar)] : ScrollInfo{};
}

// --- Pictures and text -------------------------------------------------------------------

bool HeadlessPlatform::present(WindowHandle handle, const SurfaceView& pixels, const Rect& source,
                               Point destination) {
    Window* window = find(handle);
    if (!window || !pixels.pixels) return false;
    // The picture replaces the one before: where it does not reach, the
    // client area shows its background.
    int width = window->rect.width(), height = window->rect.height();
    Rect from = intersect(source, {0, 0, pixels.width, pixels.height});
    // The columns and rows of the picture that land inside the client area.
    const int shift_x = destination.x - source.left, shift_y = destination.y - source.top;
    const int left = std::max(from.left, -shift_x), right = std::min(from.right, width - shift_x);
    const int top = std::max(from.top, -shift_y), bottom = std::min(from.bottom, height - shift_y);
    const bool covers_all = left + shift_x <= 0 && right + shift_x >= width && top + shift_y <= 0 &&
                            bottom + shift_y >= height;
    if (covers_all)
        window->frame.resize(static_cast<size_t>(width) * height);
    else
        fill_background(window->frame, width, height);
    for (int y = top; y < bottom; ++y) {
        uint32_t* out = window->frame.data() + static_cast<size_t>(y + shift_y) * width + shift_x;
        if (pixels.bytes_per_pixel == 4) {
            // Blue, green, red and an unused byte: the little-endian word
            // with its top byte cleared.
            static_assert(std::endian::native == std::endian::little);
            const uint8_t* in = pixels.pixels + static_cast<size_t>(y) * pixels.pitch;
            for (int x = left; x < right; ++x) {
                uint32_t word;
                std::memcpy(&word, in + static_cast<size_t>(x) * 4, 4);
                out[x] = word & 0xFFFFFF;
            }
        } else {
            for (int x = left; x < right; ++x) out[x] = rgb_at(pixels, x, y);
        }
    }
    ++window->presents;
    return true;
}

std::vector<uint32_t> HeadlessPlatform::client_pixels(WindowHandle handle) const {
    const Window* window = find(handle);
    if (!window) return {};
    size_t size = static_cast<size_t>(window->rect.width()) * window->rect.height();
    if (window->frame.size() != size) return std::vector<uint32_t>(size, kBackground);
    return window->frame;
}

int HeadlessPlatform::present_count(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->presents : 0;
}

TextBitmap HeadlessPlatform::render_text(std::string_view text, const FontRequest& font) {
    return render_text_with_qt(text, font);
}

// --- Dialogs ---------------------------------------------------------------------------------

WindowHandle HeadlessPlatform::make_dialog_window(const DialogTemplate& dialog_template,
                                                  std::string_view name, WindowHandle owner,
                                                  bool modal) {
    auto dialog = std::make_unique<Window>();
    dialog->role = WindowRole::kDialog;
    dialog->parent = owner;
    dialog->text = std::string(dialog_template.title);
    dialog->rect = rect_at(0, 0, dialog_template.width, dialog_template.height);
    dialog->template_name = std::string(name);
    dialog->modal = modal;
    return add_window(std::move(dialog));
}

void HeadlessPlatform::mark_group_start(WindowHandle control) {
    if (Window* window = find(control)) window->group_start = true;
}

void HeadlessPlatform::set_dialog_proc(WindowHandle dialog, WindowProc proc) {
    if (Window* window = find(dialog)) window->proc = std::move(proc);
}

WindowHandle HeadlessPlatform::create_dialog(std::string_view template_name, WindowHandle owner,
                                             WindowProc proc) {
    return build_dialog_from_template(*this, *this, template_name, owner, std::move(proc), false);
}

intptr_t HeadlessPlatform::run_dialog(std::string_view template_name, WindowHandle owner,
                                      WindowProc proc) {
    WindowHandle handle =
        build_dialog_from_template(*this, *this, template_name, owner, std::move(proc), true);
    Window* dialog = find(handle);
    if (!dialog) return -1;
    // A dialog ended during its initialisation is never shown.
    if (!dialog->ended) set_shown(*dialog, true);
    if (!dialog->ended) {
        if (DialogScript script = take_dialog_script(template_name)) script(*this, handle);
    }
    dialog = find(handle);
    if (dialog && !dialog->ended) {
        press_key(handle, key::kEscape);
        dialog = find(handle);
        if (dialog && !dialog->ended) end_dialog(handle, ctl::kCancel);
    }
    dialog = find(handle);
    intptr_t result = dialog ? dialog->result : ctl::kCancel;
    destroy_window(handle);
    return result;
}

void HeadlessPlatform::end_dialog(WindowHandle handle, intptr_t result) {
    Window* dialog = find(handle);
    if (!dialog) return;
    dialog->ended = true;
    dialog->result = result;
    dialog->visible = false;
}

HeadlessPlatform::DialogScript HeadlessPlatform::take_dialog_script(
    std::string_view template_name) {
    for (auto it = dialog_scripts_.begin(); it != dialog_scripts_.end(); ++it) {
        if (it->template_name.empty() || it->template_name == template_name) {
            DialogScript script = std::move(it->script);
            dialog_scripts_.erase(it);
            return script;
        }
    }
    return {};
}

WindowHandle HeadlessPlatform::main_window() const {
    for (const auto& [handle, window] : windows_) {
        if (window->role == WindowRole::kMain) return window->handle;
    }
    return kNoWindow;
}

WindowHandle HeadlessPlatform::find_dialog(std::string_view template_name) const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        if (it->second->role == WindowRole::kDialog && it->second->template_name == template_name)
            return it->second->handle;
    }
    return kNoWindow;
}

std::string HeadlessPlatform::dialog_template_name(WindowHandle handle) const {
    const Window* window = find(handle);
    return window ? window->template_name : std::string{};
}

// --- Message boxes, file dialogs, documents, keyboard ------------------------------------------

int HeadlessPlatform::message_box(WindowHandle, std::string_view text, std::string_view caption,
                                  unsigned style) {
    bool yes_no = (style & mb::kButtonMask) == mb::kYesNo;
    int answer = yes_no ? mb::kAnswerNo : mb::kAnswerOk;
    if (!message_box_answers_.empty()) {
        answer = message_box_answers_.front();
        message_box_answers_.pop_front();
    }
    message_boxes_.push_back({std::string(text), std::string(caption), style, answer});
    return answer;
}

std::optional<std::string> HeadlessPlatform::open_file_dialog(WindowHandle,
                                                              const FileDialogRequest& request) {
    std::optional<std::string> answer;
    if (!file_dialog_answers_.empty()) {
        answer = file_dialog_answers_.front();
        file_dialog_answers_.pop_front();
    }
    file_dialogs_.push_back({false, request, answer});
    return answer;
}

std::optional<std::string> HeadlessPlatform::save_file_dialog(WindowHandle,
                                                              const FileDialogRequest& request) {
    std::optional<std::string> answer;
    if (!file_dialog_answers_.empty()) {
        answer = file_dialog_answers_.front();
        file_dialog_answers_.pop_front();
    }
    file_dialogs_.push_back({true, request, answer});
    return answer;
}

bool HeadlessPlatform::open_document(std::string_view path_or_address) {
    opened_documents_.emplace_back(path_or_address);
    return !document_opening_fails_;
}

bool HeadlessPlatform::is_key_down(int virtual_key) const {
    auto it = keys_down_.find(virtual_key);
    return it != keys_down_.end() && it->second;
}

// --- The tracking tip ---------------------------------------------------------------------------

WindowHandle HeadlessPlatform::create_tip_window(WindowHandle owner) {
    if (tip_window_fails_) return kNoWindow;
    auto tip = std::make_unique<Window>();
    tip->role = WindowRole::kTip;
    tip->parent = owner;
    return add_window(std::move(tip));
}

void HeadlessPlatform::tip_activate(WindowHandle handle, bool active) {
    if (Window* tip = find(handle)) {
        tip->tip.active = active;
        tip->visible = active;  // an active tip shows at its tracked point
    }
}

void HeadlessPlatform::tip_set_text(WindowHandle handle, std::string_view text) {
    if (Window* tip = find(handle)) tip->tip.text = std::string(text);
}

void HeadlessPlatform::tip_track_position(WindowHandle handle, Point screen) {
    if (Window* tip = find(handle)) {
        tip->tip.position = screen;
        tip->rect = rect_at(screen.x, screen.y, tip->rect.width(), tip->rect.height());
        ++tip->tip.tracked;
    }
}

HeadlessPlatform::TipState HeadlessPlatform::tip_state(WindowHandle handle) const {
    const Window* tip = find(handle);
    return tip ? tip->tip : TipState{};
}

// --- Settings files
// -------------------------------------------------------------------------------

std::string HeadlessPlatform::load_settings_text(const std::string& file) const {
    auto it = settings_.find(file);
    return it == settings_.end() ? std::string{} : it->second;
}

bool HeadlessPlatform::store_settings_text(const std::string& file, const std::string& text) {
    settings_[file] = text;
    return true;
}

std::optional<std::string> HeadlessPlatform::settings_text(const std::string& file) const {
    auto it = settings_.find(file);
    if (it == settings_.end()) return std::nullopt;
    return it->second;
}

}  // namespace tavimor
