#include "cli/output_stream.h"

#include <cerrno>
#include <cstring>

#include "cli/cli_error.h"
#include "containers/output_file.h"

namespace tavimor {

OutputStream::OutputStream(const std::string& path) : path_(path) {
    std::string why;
    file_ = open_output_file(path, "wb", why);
    if (!file_) throw InputError("cannot write " + path + ": " + why);
}

OutputStream::~OutputStream() {
    if (file_) std::fclose(file_);
}

void OutputStream::fail() {
    const std::string why = std::strerror(errno);
    throw InputError("cannot write " + path_ + ": " + why);
}

void OutputStream::write(const void* data, size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) fail();
}

void OutputStream::write_pieces(Pieces& pieces) {
    if (std::fflush(file_) != 0 || !tavimor::write_pieces(::fileno(file_), pieces, -1)) fail();
}

void OutputStream::finish() {
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) fail();
}

void write_whole_file(const std::string& path, const void* data, size_t size) {
    OutputStream out(path);
    try {
        out.write(data, size);
        out.finish();
    } catch (const InputError&) {
        discard_output_file(path);
        throw;
    }
}

}  // namespace tavimor
