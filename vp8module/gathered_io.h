// Writing and reading a list of memory pieces in one pass, each piece where it
// lies, as many pieces per system call as the system takes.
#pragma once

#include <sys/uio.h>

#include <cstdint>
#include <vector>

namespace tavimor {

using Pieces = std::vector<iovec>;

// Adds a piece, joining it to the last one when it follows it in memory.
void add_piece(Pieces& pieces, const void* data, size_t size);

// Writes (or reads) every byte of the pieces at the offset, or at the file's
// own position when the offset is negative (for pipes and devices). The pieces
// are used up. False on a failure or at the end of the file.
bool write_pieces(int fd, Pieces& pieces, int64_t offset);
bool read_pieces(int fd, Pieces& pieces, int64_t offset);

}  // namespace tavimor
