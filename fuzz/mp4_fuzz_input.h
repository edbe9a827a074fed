// Runs arbitrary bytes as an MP4/3GP file through the extraction run, with a
// structure text, a message file and an output for an H.264 track; shared by
// the libFuzzer harness and the corpus run of the tests.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "containers/extraction_run.h"
#include "containers/mp4/mp4_format.h"

namespace tavimor::fuzz {

class Mp4Input {
  public:
    // The run's files go into a folder of their own, in memory where the system has it.
    Mp4Input() {
        std::string pattern = std::filesystem::is_directory("/dev/shm")
                                  ? "/dev/shm/tavimor-mp4-fuzz-XXXXXX"
                                  : "/tmp/tavimor-mp4-fuzz-XXXXXX";
        if (mkdtemp(pattern.data())) folder_ = pattern;
    }
    ~Mp4Input() {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    Mp4Input(const Mp4Input&) = delete;
    Mp4Input& operator=(const Mp4Input&) = delete;

    // False when the bytes could not be put into a file. The run itself
    // always completes: its result is what the parser made of the bytes.
    bool run(const uint8_t* data, size_t size, ExtractionResult& result) const {
        if (folder_.empty()) return false;
        const std::string input = folder_ + "/input.mp4";
        std::FILE* file = std::fopen(input.c_str(), "wb");
        if (!file) return false;
        const bool written = std::fwrite(data, 1, size, file) == size;
        if (std::fclose(file) != 0 || !written) return false;

        ExtractionRequest request;
        request.input_path = input;
        request.raw_output_path = folder_ + "/tmp.raw";
        request.structure_path = folder_ + "/filestruct.txt";
        request.message_path = folder_ + "/messages.txt";
        request.container_kind = kContainerMp4;
        const std::string output = folder_ + "/video.264";
        request.codec_found = [&](int type, const std::string&) -> std::optional<std::string> {
            if (type == 0) return std::nullopt;
            return output;
        };
        // Every input as the program's first H.264 file, whatever ran before.
        mp4::reset_output_question();
        result = run_extraction(request);
        return true;
    }

  private:
    std::string folder_;
};

}  // namespace tavimor::fuzz
