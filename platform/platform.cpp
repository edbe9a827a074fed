#include "platform/platform.h"

#include "platform/ini_document.h"

namespace tavimor {

std::string Platform::profile_string(std::string_view section, std::string_view key,
                                     std::string_view default_value, size_t max_chars,
                                     const std::string& file) {
    IniDocument document(load_settings_text(file));
    std::optional<std::string> value = document.value(section, key);
    return truncate_characters(value ? *value : default_value, max_chars);
}

int Platform::profile_int(std::string_view section, std::string_view key, int default_value,
                          const std::string& file) {
    IniDocument document(load_settings_text(file));
    std::optional<std::string> value = document.value(section, key);
    return value ? profile_integer(*value) : default_value;
}

bool Platform::write_profile_string(std::string_view section, std::string_view key,
                                    std::optional<std::string_view> value,
                                    const std::string& file) {
    IniDocument document(load_settings_text(file));
    document.set(section, key, value);
    return store_settings_text(file, document.text());
}

void check_radio_button(Platform& platform, WindowHandle dialog, int first, int last, int id) {
    for (int control = first; control <= last; ++control) {
        WindowHandle button = platform.dialog_item(dialog, control);
        if (button == kNoWindow) continue;
        platform.set_check(button, control == id ? CheckState::kChecked : CheckState::kUnchecked);
    }
}

std::string directory_of(std::string_view path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return {};
    return std::string(path.substr(0, slash + 1));
}

}  // namespace tavimor
