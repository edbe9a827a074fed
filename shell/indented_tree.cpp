#include "shell/indented_tree.h"

#include <sys/types.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

namespace tavimor {

namespace {

constexpr size_t kMaxItemCharacters = 511;
constexpr int kDeepest = 9;  // the deepest depth that becomes a parent

// Reads a file line by line, counting the bytes it takes, so that the
// position is known without asking the file (a system call) for each line.
class LineReader {
  public:
    explicit LineReader(std::FILE* file) : file_(file) {}
    ~LineReader() { std::free(buffer_); }
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line break; false at the end of the file. A
    // line longer than an item shows is read whole, so that its rest does not
    // come back as lines of its own.
    bool next(std::string& line) {
        const ssize_t read = ::getline(&buffer_, &capacity_, file_);
        if (read <= 0) return false;
        consumed_ += read;
        size_t length = static_cast<size_t>(read);
        if (buffer_[length - 1] == '\n') --length;
        line.assign(buffer_, std::min(length, kMaxItemCharacters));
        return true;
    }
    int64_t consumed() const { return consumed_; }

  private:
    std::FILE* file_;
    char* buffer_ = nullptr;
    size_t capacity_ = 0;
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
        if (end_position >= 0 && start >= 0 && start + reader.consumed() >= end_position)
            return true;
        const int next = std::fgetc(file);
        if (next == EOF) return true;
        std::ungetc(next, file);
        return false;
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
    const IndentedText text = read_indented_text(file, end_position, max_lines);
    platform.tree_set_items(tree, text.nodes);
    return {static_cast<int>(text.nodes.size()), text.complete};
}

}  // namespace tavimor
