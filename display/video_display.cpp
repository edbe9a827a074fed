#include "display/video_display.h"

#include <algorithm>
#include <cstring>

#include "platform/message_box.h"
#include "platform/platform.h"

namespace tavimor {

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

bool is_bound(const VideoDisplay* display) {
    return display && display->platform && display->primary && display->window != kNoWindow;
}

void fill_surface(Surface& surface, uint32_t value, const Rect& rect) {
    Rect area = intersect(rect, {0, 0, surface.width, surface.height});
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) put_raw_pixel(surface, x, y, value);
    }
}

// Both surfaces for the display's size; false when memory runs out.
bool create_surfaces(VideoDisplay& display, int bytes_per_pixel) {
    auto composition = std::make_unique<Surface>();
    auto picture = std::make_unique<Surface>();
    if (!allocate_surface(*composition, display.width, display.height, bytes_per_pixel))
        return false;
    fill_surface(*composition, kWhite, {0, 0, display.width, display.height});
    if (!allocate_surface(*picture, display.width, display.height, bytes_per_pixel)) return false;
    picture->colour_key_low = kPictureColourKey;
    picture->colour_key_high = kPictureColourKey;
    display.composition = std::move(composition);
    display.picture = std::move(picture);
    return true;
}

// The set-up failure: everything made so far goes, the user is told and the
// window is destroyed.
int fail_setup(VideoDisplay& display) {
    Platform* platform = display.platform;
    WindowHandle window = display.window;
    display.composition.reset();
    display.picture.reset();
    display.primary = false;
    display.platform = nullptr;
    if (platform) {
        platform->message_box(window, "Failed to setup DirectDraw", "Warning", mb::kIconError);
        platform->destroy_window(window);
    }
    return 0;
}

bool supported_depth(int bits_per_pixel) {
    return bits_per_pixel == 16 || bits_per_pixel == 24 || bits_per_pixel == 32;
}

}  // namespace

VideoDisplay* display_create() {
    return new VideoDisplay();
}

int display_bind(VideoDisplay* display, Platform* platform, WindowHandle window) {
    if (!display || !platform || window == kNoWindow) return 0;
    display->window = window;
    display->platform = platform;
    if (!platform->is_window(window) || !supported_depth(platform->screen_bits_per_pixel()))
        return fail_setup(*display);
    display->primary = true;
    return 1;
}

int display_init_surfaces(VideoDisplay* display, int height, int width, int origin_y,
                          int origin_x) {
    if (!is_bound(display) || width <= 0 || height <= 0 || origin_x < 0 || origin_y < 0) return 0;
    display->height = height;
    display->width = width;
    display->origin_y = origin_y;
    display->origin_x = origin_x;
    int bytes_per_pixel = display->platform->screen_bits_per_pixel() / 8;
    if (!create_surfaces(*display, bytes_per_pixel)) return fail_setup(*display);
    return 1;
}

void display_set_origin(VideoDisplay* display, int x, int y) {
    if (!is_bound(display)) return;
    display->origin_x = x;
    display->origin_y = y;
}

void display_release_surfaces(VideoDisplay* display) {
    if (!display) return;
    display->picture.reset();
    display->composition.reset();
    display->origin_x = display->origin_y = 0;
    display->width = display->height = 0;
}

void display_destroy(VideoDisplay* display) {
    if (!display) return;
    display->picture.reset();
    display->primary = false;
    display->composition.reset();
    display->platform = nullptr;
    delete display;
}

void display_compose(VideoDisplay* display) {
    if (!is_bound(display) || !display->picture || !display->composition) return;
    Surface& from = *display->picture;
    Surface& to = *display->composition;
    if (from.pitch == to.pitch && from.height == to.height) {
        to.pixels = from.pixels;
        return;
    }
    int rows = std::min(from.height, to.height);
    size_t bytes = static_cast<size_t>(std::min(from.pitch, to.pitch));
    for (int y = 0; y < rows; ++y) std::memcpy(to.row(y), from.row(y), bytes);
}

void display_fill_rect(VideoDisplay* display, uint32_t pixel_value, const Rect* rect) {
    if (!is_bound(display) || !display->composition) return;
    Surface& surface = *display->composition;
    fill_surface(surface, pixel_value, rect ? *rect : Rect{0, 0, surface.width, surface.height});
}

void display_clear(VideoDisplay* display) {
    if (!is_bound(display) || !display->composition) return;
    fill_surface(*display->composition, kWhite,
                 {0, 0, display->composition->width, display->composition->height});
    display_present(display, nullptr);
}

int display_present(VideoDisplay* display, const Rect* source) {
    if (!is_bound(display) || !display->composition) return 0;
    Rect from = source ? *source : Rect{0, 0, display->width, display->height};
    bool painted = display->platform->present(display->window, view_of(*display->composition), from,
                                              {display->origin_x, display->origin_y});
    return painted ? 1 : 0;
}

}  // namespace tavimor
