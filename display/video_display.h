// The video display of the main window: the picture is converted into the
// picture surface, copied onto the composition surface where the overlays are
// drawn, and the composition surface is presented in the window's client
// area at the picture origin.
#pragma once

#include <cstdint>
#include <memory>

#include "display/surface.h"
#include "platform/geometry.h"
#include "platform/handles.h"
#include "vp8dec/planar_picture.h"

namespace tavimor {

class Platform;
using PlanarPicture = vp8::PlanarPicture;

struct VideoDisplay {
    WindowHandle window = kNoWindow;  // the main window, once bound
    int origin_x = 0;                 // picture origin in the client area
    int origin_y = 0;
    int width = 0;  // size of the two surfaces
    int height = 0;
    Platform* platform = nullptr;          // the window system that presents, once bound
    bool primary = false;                  // the window's client area can be painted
    std::unique_ptr<Surface> composition;  // picture and overlays, presented
    std::unique_ptr<Surface> picture;      // receives the converted picture
};

// The colour key the picture surface carries.
inline constexpr uint32_t kPictureColourKey = 28;

// A zeroed display object.
VideoDisplay* display_create();

// Binds the display to the window. Nothing happens (0) without a display, a
// platform or a window. When the window cannot be painted into, reports
// "Failed to setup DirectDraw", destroys the window and returns 0; else 1.
int display_bind(VideoDisplay* display, Platform* platform, WindowHandle window);

// Makes both surfaces of width x height, the composition surface white.
// Returns 0 without a bound display, for a size below 1 or a negative origin;
// when the surfaces cannot be made, reports as display_bind does.
int display_init_surfaces(VideoDisplay* display, int height, int width, int origin_y, int origin_x);

void display_set_origin(VideoDisplay* display, int x, int y);

// Releases both surfaces and zeroes origin and size.
void display_release_surfaces(VideoDisplay* display);

// Releases everything and frees the object.
void display_destroy(VideoDisplay* display);

// Converts the picture into the picture surface with the component mask
// (4 Y, 2 U, 1 V) and the vertical zoom (each picture row repeated zoom
// times); surface rows below the picture become white.
void display_draw_picture(VideoDisplay* display, const PlanarPicture* picture, int component_mask,
                          int vertical_zoom);

// Copies the picture surface onto the composition surface.
void display_compose(VideoDisplay* display);

// Fills the rectangle (the whole surface when null) of the composition
// surface with the raw pixel value.
void display_fill_rect(VideoDisplay* display, uint32_t pixel_value, const Rect* rect);

// Clears the picture from the window: the composition surface becomes white
// (the window's background) and is presented.
void display_clear(VideoDisplay* display);

// Paints the composition surface (or its source rectangle) into the client
// area at the picture origin. Returns 1 on success, 0 otherwise.
int display_present(VideoDisplay* display, const Rect* source);

}  // namespace tavimor
