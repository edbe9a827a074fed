// The toolbar: 34 positions, buttons and separators, in order.
#pragma once

#include <span>

#include "resources/resource_types.h"

namespace tavimor {

std::span<const ToolbarButtonTemplate> toolbar_template();

}  // namespace tavimor
