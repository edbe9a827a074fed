// A file a command writes its result into (-o OUT): opened as
// open_output_file opens it, every write and the final close checked, so that
// a full disk or an unwritable path ends the command with status 1 instead of
// success.
#pragma once

#include <cstdio>
#include <string>

#include "vp8module/gathered_io.h"

namespace tavimor {

class OutputStream {
  public:
    // Throws InputError "cannot write PATH: why".
    explicit OutputStream(const std::string& path);
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    // Throw InputError "cannot write PATH: why".
    void write(const void* data, size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    // Writes the pieces after what was written before, straight from where
    // they lie (a picture's rows, say); the pieces are used up.
    void write_pieces(Pieces& pieces);
    // Closes the file; what was buffered is written now.
    void finish();

  private:
    [[noreturn]] void fail();

    std::string path_;
    std::FILE* file_ = nullptr;
};

// Writes a whole file; on failure nothing is left at the path but what was
// there before (a device stays as it is). Throws InputError.
void write_whole_file(const std::string& path, const void* data, size_t size);

}  // namespace tavimor
