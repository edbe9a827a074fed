#include "shell/indented_tree.h"

#include <array>
#include <string>

#include "platform/platform.h"

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

TreeFill fill_indented_tree(Platform& platform, WindowHandle tree, std::FILE* file,
                            int64_t end_position, int max_lines) {
    TreeFill fill;
    platform.tree_clear(tree);
    // The item last inserted at each depth; kTreeRoot stands for "none yet".
    std::array<TreeItem, kDeepest + 1> last{};
    last.fill(kTreeRoot);
    auto at_end = [&] {
        if (end_position >= 0 && std::ftell(file) >= end_position) return true;
        const int next = std::fgetc(file);
        if (next == EOF) return true;
        std::ungetc(next, file);
        return false;
    };
    std::string line;
    while (!at_end()) {
        if (fill.lines == max_lines) return fill;  // the text goes on
        read_line(file, line);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t text = line.find_first_not_of('\t');
        const size_t depth = text == std::string::npos ? line.size() : text;
        if (depth > kDeepest) {
            platform.tree_insert(tree, last[kDeepest], line);
        } else {
            const TreeItem parent = depth == 0 ? kTreeRoot : last[depth - 1];
            last[depth] = platform.tree_insert(tree, parent, std::string_view(line).substr(depth));
            for (size_t deeper = depth + 1; deeper <= kDeepest; ++deeper) last[deeper] = kTreeRoot;
        }
        ++fill.lines;
    }
    fill.complete = true;
    return fill;
}

}  // namespace tavimor
