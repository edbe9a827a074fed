// The image resources: the toolbar strip (200) and its single button images,
// the application icon (101) and the browse button image (201).
#pragma once

#include "resources/pixel_art.h"

namespace tavimor {

// Toolbar image index (0 to 33); an empty image when out of range.
const Image& toolbar_image(int index);

// The resource with this identifier (the strip for 200); an empty image when unknown.
const Image& load_image(int id);

}  // namespace tavimor
