// Where the tests find their streams: the bundled ones, and the shared corpus
// when it sits beside the checkout.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavimor::test {

inline std::string data_path(const std::string& name) {
    return std::string(TAVIMOR_TEST_DATA_DIR) + "/" + name;
}

inline bool corpus_available() {
    return std::filesystem::is_directory(TAVIMOR_VECTORS_DIR);
}

inline std::string corpus_path(const std::string& relative) {
    return std::string(TAVIMOR_VECTORS_DIR) + "/" + relative;
}

// Files of a corpus folder with the given extension, sorted.
std::vector<std::string> corpus_files(const std::string& folder, const std::string& extension);

// Whole file contents; empty when it cannot be read. Reads .gz files decompressed.
std::string read_file(const std::string& path);

// Splits text into lines without their terminators.
std::vector<std::string> split_lines(const std::string& text);

}  // namespace tavimor::test
