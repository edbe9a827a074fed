// Runs the Matroska/WebM parser through the extraction run on bytes made in
// a test and collects everything it wrote.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "containers/extraction_run.h"

namespace tavimor::test {

inline std::string mkv_file_contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::vector<std::string> mkv_text_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct MatroskaRun {
    ExtractionResult result;
    std::string structure;   // the structure text
    std::string messages;    // the message stream
    std::string output;      // the file the codec-found step named
    std::vector<int> asked;  // codec codes the step was asked for
    std::vector<std::string> warnings;
};

struct IvfFrame {
    uint32_t size = 0;
    uint64_t timestamp = 0;
    std::string bytes;
};

inline uint32_t ivf_le32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

inline uint16_t ivf_le16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

// The frames after the 32-byte file header.
inline std::vector<IvfFrame> ivf_frames(const std::string& ivf) {
    std::vector<IvfFrame> frames;
    size_t at = 32;
    while (at + 12 <= ivf.size()) {
        IvfFrame frame;
        frame.size = ivf_le32(ivf, at);
        frame.timestamp = ivf_le32(ivf, at + 4) | (uint64_t{ivf_le32(ivf, at + 8)} << 32);
        at += 12;
        frame.bytes = ivf.substr(at, frame.size);
        at += frame.size;
        frames.push_back(frame);
    }
    return frames;
}

// A private folder with the input file, the outputs and the texts.
class MatroskaFolder {
  public:
    MatroskaFolder() {
        char pattern[] = "/tmp/tavimor-mkv-test-XXXXXX";
        folder_ = mkdtemp(pattern);
    }
    ~MatroskaFolder() { std::filesystem::remove_all(folder_); }
    MatroskaFolder(const MatroskaFolder&) = delete;
    MatroskaFolder& operator=(const MatroskaFolder&) = delete;

    std::string path(const std::string& name) const { return folder_ + "/" + name; }

    // Runs the parser on the file; the codec-found step names "video.out"
    // (or declines when decline is set).
    MatroskaRun run_file(const std::string& input, bool with_structure = true,
                         bool decline = false) const {
        MatroskaRun run;
        ExtractionRequest request;
        request.input_path = input;
        request.raw_output_path = path("raw.bin");
        request.structure_path = with_structure ? path("structure.txt") : "";
        request.message_path = path("messages.txt");
        request.container_kind = kContainerMkv;
        request.codec_found = [&](int type, const std::string& text) -> std::optional<std::string> {
            if (type == 0) {
                run.warnings.push_back(text);
                return std::nullopt;
            }
            run.asked.push_back(type);
            if (decline) return std::nullopt;
            return path("video.out");
        };
        for (const char* name : {"video.out", "structure.txt", "messages.txt"})
            std::filesystem::remove(path(name));
        run.result = run_extraction(request);
        run.structure = mkv_file_contents(path("structure.txt"));
        run.messages = mkv_file_contents(path("messages.txt"));
        run.output = mkv_file_contents(path("video.out"));
        return run;
    }

    MatroskaRun run(const std::string& bytes, bool with_structure = true,
                    bool decline = false) const {
        std::ofstream(path("input.webm"), std::ios::binary) << bytes;
        return run_file(path("input.webm"), with_structure, decline);
    }

  private:
    std::string folder_;
};

}  // namespace tavimor::test
