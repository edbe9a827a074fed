// Runs the FLV/F4V parser through the extraction run on bytes made in a
// test and collects everything it wrote.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "containers/extraction_run.h"

namespace tavimor::test {

inline std::string flv_file_contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct FlvRun {
    ExtractionResult result;
    std::string structure;   // the structure text
    std::string output;      // the file the codec-found step named
    std::string raw;         // the run's raw output
    std::vector<int> asked;  // codec codes the step was asked for
    std::vector<std::string> warnings;
};

// What the codec-found step answers.
enum class Answer { kOutput, kDecline, kUncreatable };

// A private folder with the input file, the outputs and the texts.
class FlvFolder {
  public:
    FlvFolder() {
        char pattern[] = "/tmp/tavimor-flv-test-XXXXXX";
        folder_ = mkdtemp(pattern);
    }
    ~FlvFolder() { std::filesystem::remove_all(folder_); }
    FlvFolder(const FlvFolder&) = delete;
    FlvFolder& operator=(const FlvFolder&) = delete;

    std::string path(const std::string& name) const { return folder_ + "/" + name; }

    // Runs the parser on the file; the codec-found step names "video.264".
    FlvRun run_file(const std::string& input, bool with_structure = true,
                    Answer answer = Answer::kOutput) const {
        FlvRun run;
        ExtractionRequest request;
        request.input_path = input;
        request.raw_output_path = path("raw.bin");
        request.structure_path = with_structure ? path("structure.txt") : "";
        request.message_path = path("messages.txt");
        request.container_kind = kContainerFlv;
        request.codec_found = [&](int type, const std::string& text) -> std::optional<std::string> {
            if (type == 0) {
                run.warnings.push_back(text);
                return std::nullopt;
            }
            run.asked.push_back(type);
            if (answer == Answer::kDecline) return std::nullopt;
            if (answer == Answer::kUncreatable) return path("no/such/folder/video.264");
            return path("video.264");
        };
        for (const char* name : {"video.264", "structure.txt", "messages.txt", "raw.bin"})
            std::filesystem::remove(path(name));
        run.result = run_extraction(request);
        run.structure = flv_file_contents(path("structure.txt"));
        run.output = flv_file_contents(path("video.264"));
        run.raw = flv_file_contents(path("raw.bin"));
        return run;
    }

    FlvRun run(const std::string& bytes, bool with_structure = true,
               Answer answer = Answer::kOutput) const {
        std::ofstream(path("input.flv"), std::ios::binary) << bytes;
        return run_file(path("input.flv"), with_structure, answer);
    }

  private:
    std::string folder_;
};

}  // namespace tavimor::test
