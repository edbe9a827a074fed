#include "shell/indented_tree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tavimor {

namespace {

constexpr size_t kMaxItemCharacters = 511;
constexpr int kDeepest = 9;  // the deepest depth that becomes a parent

// Reads a file's lines a block at a time, counting the bytes they take, so
// that the position is known without asking the file for each line.
class LineReader {
  public:
    explicit LineReader(std::FILE* file) : file_(file), block_(kBlockBytes) {}

    // The next line without its line break, of which an item keeps the
    // first characters; false at the end of the file. A longer line is read
    // whole, so that its rest does not come back as lines of their own.
    bool next(std::string& line) {
        line.clear();
        if (at_end()) return false;
        while (!at_end()) {
            const char* start = block_.data() + at_;
            const size_t left = size_ - at_;
            const auto* stop = static_cast<const char*>(std::memchr(start, '\n', left));
            const size_t length = stop ? static_cast<size_t>(stop - start) : left;
            if (line.size() < kMaxItemCharacters)
                line.append(start, std::min(length, kMaxItemCharacters - line.size()));
            const size_t taken = length + (stop ? 1 : 0);
            at_ += taken;
            consumed_ += static_cast<int64_t>(taken);
            if (stop) break;
        }
        return true;
    }
    bool at_end() {
        if (at_ < size_) return false;
        at_ = 0;
        size_ = std::fread(block_.data(), 1, block_.size(), file_);
        return size_ == 0;
    }
    int64_t consumed() const { return consumed_; }

  private:
    static constexpr size_t kBlockBytes = 64 * 1024;
    std::FILE* file_;
    std::vector<char> block_;
    size_t at_ = 0, size_ = 0;
    int64_t consumed_ = 0;
};

}  // namespace

IndentedText read_indented_text(std::FILE* file, int64_t end_position, int max_lines) {
    IndentedText text;
    // The node last made at each depth; -1 stands for "none yet".
    std::array<int, kDeepest + 1> last{};
    last.fill(-1);
    const int64_t start = end_position >= 0 ? std::ftell(file) : 0;
    LineReader reader(file);
    auto at_end = [&] {
        return (end_position >= 0 && start >= 0 && start + reader.consumed() >= end_position) ||
               reader.at_end();
    };
    std::string line;
    while (!at_end()) {
        if (static_cast<int>(text.nodes.size()) == max_lines) return text;  // the text goes on
        reader.next(line);
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
    IndentedText text = read_indented_text(file, end_position, max_lines);
    const TreeFill fill{static_cast<int>(text.nodes.size()), text.complete};
    platform.tree_set_items(tree, std::move(text.nodes));
    return fill;
}

}  // namespace tavimor
