// Text rendered through Qt's font machinery, for both implementations of the
// window system. Works without a display server: when no Qt application
// exists yet, an off-screen one is made for the fonts.
#pragma once

#include <string_view>

#include "platform/font_request.h"

namespace tavimor {

TextBitmap render_text_with_qt(std::string_view text, const FontRequest& font);

// Maps the faces the application asks for ("Times New Roman", "Lucida
// Console") to the metric-compatible faces installed on Linux.
void install_font_substitutes();

}  // namespace tavimor
