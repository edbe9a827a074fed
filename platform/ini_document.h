// The text of a settings (ini) file: "[Section]" lines followed by "key=value"
// lines. Section and key names compare without regard to case; a key written
// with no value is deleted (every line of it). A value is kept up to its first
// line break, and written in quotes where white space at its ends or quotes
// around it would otherwise be lost on reading. Sections and keys keep their
// order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Sets the value, or deletes the key when value is empty-optional.
    void set(std::string_view section, std::string_view key, std::optional<std::string_view> value);

    std::string text() const;

  private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    Section* find_section(std::string_view name);
    const Section* find_section(std::string_view name) const;

    std::vector<Section> sections_;
};

// The first max_chars characters of a UTF-8 text, never splitting a character.
std::string truncate_characters(std::string_view text, size_t max_chars);

// A value read as an integer the way settings files are: optional sign, then
// decimal digits up to the first non-digit; no digits give 0.
int profile_integer(std::string_view text);

}  // namespace tavimor
