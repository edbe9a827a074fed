#include "platform/ini_document.h"

#include <cctype>
#include <climits>

namespace tavimor {

namespace {

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

// A value as its line holds it: in quotes when reading would otherwise take
// something off (white space at either end, or quotes around it).
std::string written(const std::string& value) {
    if (value.empty() || unquote(trim(value)) == value) return value;
    return '"' + value + '"';
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            if (close == std::string_view::npos) continue;
            sections_.push_back({std::string(trim(line.substr(1, close - 1))), {}});
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos || sections_.empty()) continue;
        sections_.back().entries.push_back({std::string(trim(line.substr(0, equals))),
                                            std::string(unquote(trim(line.substr(equals + 1))))});
    }
}

IniDocument::Section* IniDocument::find_section(std::string_view name) {
    for (Section& section : sections_) {
        if (same_name(section.name, name)) return &section;
    }
    return nullptr;
}

const IniDocument::Section* IniDocument::find_section(std::string_view name) const {
    for (const Section& section : sections_) {
        if (same_name(section.name, name)) return &section;
    }
    return nullptr;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const Section* found = find_section(section);
    if (!found) return std::nullopt;
    for (const Entry& entry : found->entries) {
        if (same_name(entry.key, key)) return entry.value;
    }
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key,
                      std::optional<std::string_view> value) {
    Section* found = find_section(section);
    if (!found) {
        if (!value) return;
        sections_.push_back({std::string(section), {}});
        found = &sections_.back();
    }
    auto& entries = found->entries;
    if (!value) {
        // Every line of the key goes, so that no duplicate of it is read in its place.
        std::erase_if(entries, [&](const Entry& entry) { return same_name(entry.key, key); });
        return;
    }
    // A line holds the value up to its first line break.
    const std::string_view line = value->substr(0, value->find('\n'));
    for (Entry& entry : entries) {
        if (!same_name(entry.key, key)) continue;
        entry.value = std::string(line);
        return;
    }
    entries.push_back({std::string(key), std::string(line)});
}

std::string IniDocument::text() const {
    std::string out;
    for (const Section& section : sections_) {
        out += "[" + section.name + "]\n";
        for (const Entry& entry : section.entries)
            out += entry.key + "=" + written(entry.value) + "\n";
    }
    return out;
}

std::string truncate_characters(std::string_view text, size_t max_chars) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool starts_character = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (starts_character && count++ == max_chars) return std::string(text.substr(0, i));
    }
    return std::string(text);
}

int profile_integer(std::string_view text) {
    text = trim(text);
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    long long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) value = INT_MAX;  // a run of digits too long for an int saturates
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace tavimor
