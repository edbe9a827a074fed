// The dialog templates, looked up by name ("FPSDLG", "DISPCTRLDLG", ...).
#pragma once

#include <span>
#include <string_view>

#include "resources/resource_types.h"

namespace tavimor {

std::span<const DialogTemplate> dialog_templates();

// The template called name, or nullptr.
const DialogTemplate* find_dialog_template(std::string_view name);

}  // namespace tavimor
