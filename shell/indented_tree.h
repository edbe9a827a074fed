// A tree control filled from indented text: one item a line, its depth the
// number of tab characters that start it. The structure texts of the
// containers and the header trace of a picture are shown this way.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/handles.h"

namespace tavimor {

class Platform;

struct TreeFill {
    int lines = 0;          // items inserted
    bool complete = false;  // the text ended before the line limit
};

// Empties the tree and inserts the lines read from the file's current
// position, until its end, the end position (when not negative) or the line
// limit. A line of depth d (1 to 9) becomes the last child of the item last
// inserted at depth d - 1 (or a root item when there is none); a line with 10
// or more tabs goes, tabs kept, under the item last inserted at depth 9 and
// does not become a parent itself. Items show at most 511 characters of their
// line, without its line break.
TreeFill fill_indented_tree(Platform& platform, WindowHandle tree, std::FILE* file,
                            int64_t end_position, int max_lines);

}  // namespace tavimor
