// The string table: the toolbar tooltips (keyed by command identifier) and the
// names of the module's view commands.
#pragma once

#include <span>
#include <string_view>

#include "resources/resource_types.h"

namespace tavimor {

std::span<const StringResource> string_table();

// The string with this identifier; empty when there is none.
std::string_view load_string(int id);

}  // namespace tavimor
