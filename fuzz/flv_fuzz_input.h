// One input of the FLV/F4V fuzzer: the bytes as an FLV file through the
// extraction run, with a structure text and an output for the AVC video, as
// the first FLV file of the process each time. Aborts when the run breaks a
// promise a caller relies on, so that the fuzzer reports it.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "containers/extraction_run.h"
#include "containers/flv/flv_format.h"

namespace tavimor::fuzz {

// One folder for the run's files, in memory where the system has it; it
// goes when the process ends.
class FlvFuzzFolder {
  public:
    FlvFuzzFolder() {
        std::string pattern = std::filesystem::is_directory("/dev/shm")
                                  ? "/dev/shm/tavimor-flv-fuzz-XXXXXX"
                                  : "/tmp/tavimor-flv-fuzz-XXXXXX";
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~FlvFuzzFolder() {
        std::error_code error;
        if (!path_.empty()) std::filesystem::remove_all(path_, error);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;  // empty when none could be made
};

inline const std::string& flv_fuzz_folder() {
    static const FlvFuzzFolder folder;
    return folder.path();
}

inline void run_flv_input(const uint8_t* data, size_t size) {
    const std::string& folder = flv_fuzz_folder();
    if (folder.empty()) abort();
    const std::string input = folder + "/input.flv";
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (!file) return;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) return;

    ExtractionRequest request;
    request.input_path = input;
    request.raw_output_path = folder + "/raw.bin";
    request.structure_path = folder + "/structure.txt";
    request.message_path = folder + "/messages.txt";
    request.container_kind = kContainerFlv;
    const std::string output = folder + "/video.264";
    std::filesystem::remove(output);
    request.codec_found = [&](int type, const std::string&) -> std::optional<std::string> {
        if (type == 0) return std::nullopt;
        return output;
    };
    flv::set_flv_session({});
    const ExtractionResult result = run_extraction(request);
    // The output can always be made, so the run never fails.
    if (!result.ok) {
        std::fprintf(stderr, "the run failed: %s\n", result.failure.c_str());
        abort();
    }
    // Every unit written takes at least one byte of the file for its start
    // code's four: nothing is written twice or from outside the file.
    std::error_code error;
    const uintmax_t written_size =
        result.codec_found ? std::filesystem::file_size(output, error) : 0;
    if (!error && written_size > 4 * uintmax_t{size}) {
        std::fprintf(stderr, "%ju bytes written from a file of %zu\n", written_size, size);
        abort();
    }
}

}  // namespace tavimor::fuzz
