// The list of the four streams opened last, kept in the settings file's
// "File History" section (File0 to File3, oldest first) and shown in the
// "Recent Files" submenu, where the item of history slot i has the command
// 215 + i. An entry reads "<kind>: <path>" ("VP8: /videos/clip.ivf").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

struct Shell;

inline constexpr int kHistorySlots = 4;
inline constexpr size_t kHistoryCharacters = 100;

// The entries of the settings file: File0, File1, ... up to the first value
// shorter than two characters, each cut at 100 characters.
std::vector<std::string> load_history(Shell& shell);

// Puts the entries into the "Recent Files" submenu, slot by slot.
void show_history(Shell& shell, const std::vector<std::string>& entries);

// The text of a history entry for a stream of the kind (the codec code
// decides for containers).
std::string history_entry(int stream_kind, int codec_code, std::string_view path);

// The path of an entry: what follows its first ": ".
std::string_view history_path(std::string_view entry);

// Remembers a newly opened stream (the window title becomes its path): a
// path already listed changes nothing; otherwise the entry takes a free
// slot, or, with all four taken, the oldest entry's slot and place.
void add_to_history(Shell& shell, std::string_view path);

// An entry chosen from the submenu, when its file still exists.
struct HistoryChoice {
    std::string path;
    int stream_kind;
};

// The stream of the entry with the command; when its file has gone, the
// entry leaves the submenu with "This file does not exist any more." and
// nothing is returned.
std::optional<HistoryChoice> choose_from_history(Shell& shell, int command);

// Writes the submenu's entries in their order to File0 upward and deletes
// the keys after them.
void save_history(Shell& shell);

}  // namespace tavimor
