#include "tests/support/test_paths.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace tavimor::test {

std::vector<std::string> corpus_files(const std::string& folder, const std::string& extension) {
    std::vector<std::string> files;
    const std::filesystem::path dir = corpus_path(folder);
    if (!std::filesystem::is_directory(dir)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == extension) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string read_file(const std::string& path) {
    if (path.size() > 3 && path.compare(path.size() - 3, 3, ".gz") == 0) {
        gzFile file = gzopen(path.c_str(), "rb");
        if (!file) return {};
        std::string text;
        char buffer[65536];
        int n;
        while ((n = gzread(file, buffer, sizeof(buffer))) > 0)
            text.append(buffer, static_cast<size_t>(n));
        gzclose(file);
        return text;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace tavimor::test
