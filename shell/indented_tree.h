// Indented text as a tree: one item a line, its depth the number of tab
// characters that start it. The structure texts of the containers and the
// header trace of a picture are shown this way.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/platform.h"

namespace tavimor {

struct IndentedText {
    std::vector<TreeNode> nodes;
    bool complete = false;  // the text ended before the line limit
};

// The lines from the file's current position, until its end, the end
// position (when not negative) or the line limit. A line of depth d (1 to 9)
// becomes the last child of the item last made at depth d - 1 (or a
// top-level item when there is none); a line with 10 or more tabs goes, tabs
// kept, under the item last made at depth 9 and does not become a parent
// itself. Items hold at most 511 characters of their line, without its line
// break.
IndentedText read_indented_text(std::FILE* file, int64_t end_position, int max_lines);

struct TreeFill {
    int lines = 0;          // items inserted
    bool complete = false;  // the text ended before the line limit
};

// The tree's items replaced, in one go, by those of the indented text.
TreeFill fill_indented_tree(Platform& platform, WindowHandle tree, std::FILE* file,
                            int64_t end_position, int max_lines);

}  // namespace tavimor
