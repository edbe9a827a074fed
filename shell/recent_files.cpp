#include "shell/recent_files.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "containers/file_kind.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "resources/command_ids.h"
#include "resources/menu_templates.h"
#include "shell/module_registry.h"
#include "shell/shell.h"
#include "shell/view_state.h"

namespace tavimor {

namespace {

constexpr std::string_view kSection = "File History";

std::string key_of(int slot) {
    return "File" + std::to_string(slot);
}

MenuHandle recent_menu(Shell& shell) {
    return shell.platform.submenu(shell.platform.submenu(shell.menu_bar, 0), kRecentFilesPosition);
}

// The history slot of each item of the submenu, in menu order.
std::vector<int> slots_in_menu(Platform& platform, MenuHandle menu) {
    std::vector<int> slots;
    for (int position = 0; position < platform.menu_item_count(menu); ++position)
        slots.push_back(platform.menu_item_command(menu, position) - cmd::kRecentFirst);
    return slots;
}

int free_slot(const std::vector<int>& taken) {
    for (int slot = 0; slot < kHistorySlots; ++slot)
        if (std::find(taken.begin(), taken.end(), slot) == taken.end()) return slot;
    return -1;
}

// The stream kind an entry names by its first letter.
int kind_of_entry(std::string_view entry) {
    switch (entry.empty() ? '\0' : entry.front()) {
        case 'Y':
            return kStreamYuv;
        case 'R':
            return kStreamH264Rtp;
        case 'V':
            return kStreamVp8;
        default:
            return kStreamH264AnnexB;
    }
}

bool file_exists(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    return file != nullptr;
}

}  // namespace

std::vector<std::string> load_history(Shell& shell) {
    std::vector<std::string> entries;
    for (int slot = 0; slot < kHistorySlots; ++slot) {
        std::string value = shell.platform.profile_string(kSection, key_of(slot), "",
                                                          kHistoryCharacters, shell.settings_path);
        if (value.size() < 2) break;
        entries.push_back(std::move(value));
    }
    return entries;
}

void show_history(Shell& shell, const std::vector<std::string>& entries) {
    MenuHandle menu = recent_menu(shell);
    for (size_t slot = 0; slot < entries.size(); ++slot)
        shell.platform.insert_menu_item(menu, -1, cmd::kRecentFirst + static_cast<int>(slot),
                                        entries[slot]);
}

std::string history_entry(int stream_kind, int codec_code, std::string_view path) {
    const char* prefix = "ANNEXB: ";
    if (stream_kind == kStreamVp8 || codec_code == kCodecVp8)
        prefix = "VP8: ";
    else if (stream_kind == kStreamH264Rtp)
        prefix = "RTP: ";
    return prefix + std::string(path);
}

std::string_view history_path(std::string_view entry) {
    const size_t colon = entry.find(": ");
    return colon == std::string_view::npos ? std::string_view{} : entry.substr(colon + 2);
}

void add_to_history(Shell& shell, std::string_view path) {
    Platform& platform = shell.platform;
    platform.set_window_text(shell.window, path);
    MenuHandle menu = recent_menu(shell);
    for (int position = 0; position < platform.menu_item_count(menu); ++position)
        if (history_path(platform.menu_item_label(menu, by_position(position))) == path) return;
    const std::vector<int> taken = slots_in_menu(platform, menu);
    int slot = free_slot(taken);
    if (slot < 0) {
        // All four are taken: the oldest entry gives up its slot and its place.
        slot = taken.front();
        platform.delete_menu_item(menu, by_position(0));
    }
    const ViewState& view = view_state();
    const std::string entry = history_entry(view.stream_kind, view.codec_code, path);
    platform.write_profile_string(kSection, key_of(slot), entry, shell.settings_path);
    platform.insert_menu_item(menu, -1, cmd::kRecentFirst + slot, entry);
    platform.draw_menu_bar(shell.window);
}

std::optional<HistoryChoice> choose_from_history(Shell& shell, int command) {
    Platform& platform = shell.platform;
    MenuHandle menu = recent_menu(shell);
    const std::string entry = platform.menu_item_label(menu, by_command(command));
    const std::string path(history_path(entry));
    if (!file_exists(path)) {
        platform.delete_menu_item(menu, by_command(command));
        platform.message_box(shell.window, "This file does not exist any more.", "Error",
                             mb::kOk | mb::kIconError);
        return std::nullopt;
    }
    return HistoryChoice{path, kind_of_entry(entry)};
}

void save_history(Shell& shell) {
    Platform& platform = shell.platform;
    MenuHandle menu = recent_menu(shell);
    const int count = std::min(platform.menu_item_count(menu), kHistorySlots);
    for (int position = 0; position < kHistorySlots; ++position) {
        if (position < count)
            platform.write_profile_string(kSection, key_of(position),
                                          platform.menu_item_label(menu, by_position(position)),
                                          shell.settings_path);
        else
            platform.write_profile_string(kSection, key_of(position), std::nullopt,
                                          shell.settings_path);
    }
}

}  // namespace tavimor
