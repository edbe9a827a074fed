#include "shell/indented_tree.h"

#include <array>
#include <string>

namespace tavimor {

namespace {

constexpr size_t kMaxItemCharacters = 511;
constexpr int kDeepest = 9;  // the deepest depth that becomes a parent

// One line of the file without its line break. A line longer than an item
// shows is read whole, so that its rest does not come back as lines of its own.
void read_line(std::FILE* file, std::string& line) {
    line.clear();
    for (int c = std::fgetc(file); c != EOF && c != '\n'; c = std::fgetc(file))
        if (line.size() < kMaxItemCharacters) line.push_back(static_cast<char>(c));
}

}  // namespace

IndentedText read_indented_text(std::FILE* file, int64_t end_position, int max_lines) {
    IndentedText text;
    // The node last made at each depth; -1 stands for "none yet".
    std::array<int, kDeepest + 1> last{};
    last.fill(-1);
    auto at_end = [&] {
        if (end_position >= 0 && std::ftell(file) >= end_position) return true;
        const int next = std::fgetc(file);
        if (next == EOF) return true;
        std::ungetc(next, file);
        return false;
    };
    std::string line;
    while (!at_end()) {
        if (static_cast<int>(text.nodes.size()) == max_lines) return text;  // the text goes on
        read_line(file, line);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of('\t');
        const size_t depth = first == std::string::npos ? line.size() : first;
        if (depth > kDeepest) {
            text.nodes.push_back({last[kDeepest], line});
            continue;
        }
        text.nodes.push_back({depth == 0 ? -1 : last[depth - 1], line.substr(depth)});
        last[depth] = static_cast<int>(text.nodes.size()) - 1;
        for (size_t deeper = depth + 1; deeper <= kDeepest; ++deeper) last[deeper] = -1;
    }
    text.complete = true;
    return text;
}

TreeFill fill_indented_tree(Platform& platform, WindowHandle tree, std::FILE* file,
                            int64_t end_position, int max_lines) {
    const IndentedText text = read_indented_text(file, end_position, max_lines);
    platform.tree_set_items(tree, text.nodes);
    return {static_cast<int>(text.nodes.size()), text.complete};
}

}  // namespace tavimor
