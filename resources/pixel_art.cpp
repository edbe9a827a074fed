#include "resources/pixel_art.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <sstream>

namespace tavimor {

namespace {

struct Palette {
    std::array<std::optional<uint32_t>, 256> colours{};
};

std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool starts_with_word(std::string_view line, std::string_view word) {
    return line.size() > word.size() && line.substr(0, word.size()) == word &&
           line[word.size()] == ' ';
}

void read_colour(std::string_view line, Palette& palette) {
    std::istringstream in{std::string(line)};
    std::string word, symbol, hex;
    in >> word >> symbol >> hex;
    if (symbol.size() != 1 || hex.size() != 6) return;
    char* end = nullptr;
    unsigned long rgb = std::strtoul(hex.c_str(), &end, 16);
    if (*end != '\0') return;
    palette.colours[static_cast<unsigned char>(symbol[0])] =
        0xFF000000u | static_cast<uint32_t>(rgb);
}

PixelArtEntry read_header(std::string_view line) {
    std::istringstream in{std::string(line)};
    PixelArtEntry entry;
    in >> entry.kind >> entry.number;
    std::getline(in >> std::ws, entry.name);
    return entry;
}

bool is_row(std::string_view line) {
    return !line.empty() && line[0] != '#' && !starts_with_word(line, "colour") &&
           !starts_with_word(line, "strip") && !starts_with_word(line, "image");
}

// Fills entry.image from rows; false when a row is ragged or uses an unknown colour.
bool read_rows(const std::vector<std::string_view>& rows, const Palette& palette,
               PixelArtEntry& entry) {
    if (rows.empty()) return false;
    Image& image = entry.image;
    image.width = static_cast<int>(rows[0].size());
    image.height = static_cast<int>(rows.size());
    for (std::string_view row : rows) {
        if (static_cast<int>(row.size()) != image.width) return false;
        for (char symbol : row) {
            if (symbol == '.') {
                image.argb.push_back(0);
                continue;
            }
            const auto& colour = palette.colours[static_cast<unsigned char>(symbol)];
            if (!colour) return false;
            image.argb.push_back(*colour);
        }
    }
    return true;
}

}  // namespace

std::vector<PixelArtEntry> parse_pixel_art(std::string_view text) {
    std::vector<PixelArtEntry> entries;
    Palette palette;
    std::vector<std::string_view> lines = split_lines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (starts_with_word(line, "colour")) read_colour(line, palette);
        if (!starts_with_word(line, "strip") && !starts_with_word(line, "image")) continue;
        PixelArtEntry entry = read_header(line);
        std::vector<std::string_view> rows;
        while (i + 1 < lines.size() && is_row(lines[i + 1])) rows.push_back(lines[++i]);
        if (read_rows(rows, palette, entry)) entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace tavimor
