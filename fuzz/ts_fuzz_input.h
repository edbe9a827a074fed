// Reads arbitrary bytes as an MPEG-2 transport stream through the extraction
// run, with the structure text, the PES text and the video output all
// written, as if each input were the process's first. Beyond the sanitizers'
// findings, an input fails when the run does not succeed, or when it
// extracts more bytes than the input holds or writes more packet blocks than
// the input has room for.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "containers/extraction_run.h"
#include "containers/ts/ts_format.h"

namespace tavimor::fuzz {

namespace ts_input {

// The run's files, in a folder of the process's own removed at its end.
class RunFolder {
  public:
    RunFolder() {
        std::string pattern = std::filesystem::is_directory("/dev/shm")
                                  ? "/dev/shm/tavimor-ts-fuzz-XXXXXX"
                                  : "/tmp/tavimor-ts-fuzz-XXXXXX";
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~RunFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    std::string path(const char* name) const { return path_ + "/" + name; }
    bool made() const { return !path_.empty(); }

  private:
    std::string path_;
};

inline uintmax_t size_of(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

inline size_t count_blocks(const std::string& path) {
    std::ifstream text(path);
    size_t blocks = 0;
    for (std::string line; std::getline(text, line);)
        if (line.rfind("transport_packet(pos=0x", 0) == 0) ++blocks;
    return blocks;
}

}  // namespace ts_input

using ts_input::count_blocks;
using ts_input::RunFolder;
using ts_input::size_of;

// Runs one input; what went wrong, or empty.
inline std::string run_ts_input(const uint8_t* data, size_t size) {
    static const RunFolder folder;
    if (!folder.made()) return {};
    const std::string input = folder.path("input.ts");
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::filesystem::remove(folder.path("video.264"));

    ExtractionRequest request;
    request.input_path = input;
    request.raw_output_path = folder.path("tmp.raw");
    request.second_output_path = folder.path("audio.bin");
    request.structure_path = folder.path("filestruct.txt");
    request.pes_path = folder.path("pes.txt");
    request.message_path = folder.path("messages.txt");
    request.container_kind = kContainerTs;
    request.codec_found = [&](int type, const std::string&) -> std::optional<std::string> {
        if (type == 0) return std::nullopt;
        return folder.path("video.264");
    };
    ts::forget_output_asked();
    const ExtractionResult result = run_extraction(request);
    if (!result.ok) return "the run failed: " + result.failure;
    const uintmax_t extracted = size_of(folder.path("video.264")) + size_of(folder.path("tmp.raw"));
    if (extracted > size) return "more bytes extracted than the input holds";
    if (count_blocks(folder.path("filestruct.txt")) > size / 188)
        return "more packet blocks than the input has packets";
    return {};
}

}  // namespace tavimor::fuzz
