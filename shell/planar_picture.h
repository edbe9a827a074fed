// The picture descriptor the decoder fills and the shell, the module and the
// display pass around by value.
#pragma once

#include "vp8dec/planar_picture.h"

namespace tavimor {

using PlanarPicture = vp8::PlanarPicture;
using vp8::allocate_planar_picture;
using vp8::release_planar_picture;

}  // namespace tavimor
