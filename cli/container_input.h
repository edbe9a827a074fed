// Container files for the commands: their kind, the extraction run with the
// command's private folder, and Matroska/WebM inputs of the decoding commands
// turned into an IVF stream first.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "cli/private_folder.h"
#include "containers/extraction_run.h"

namespace tavimor {

// The container kind of the input as the file-type step finds it (extension,
// else content). Throws InputError when the input is no container file.
int container_kind_for(const std::string& input);

// Answers where the video of the codec found goes; nothing declines it.
using OutputChooser = std::function<std::optional<std::string>(int codec_code)>;

// Runs the extraction of the input; the run's own files (the raw output, its
// messages) go into the folder, warnings to standard error as messages.
ExtractionResult extract_container(const PrivateFolder& folder, const std::string& input,
                                   int container_kind, const std::string& structure_path,
                                   const std::string& pes_path, const OutputChooser& output_for);

// Whether the file starts with the four bytes of a Matroska/WebM file.
bool is_matroska(const std::string& path);

// The IVF stream a decoding command reads: the input itself, or for a
// Matroska/WebM input its VP8 track extracted into a private folder.
class StreamInput {
  public:
    // Throws InputError when a Matroska/WebM input has no VP8 track that
    // could be extracted.
    explicit StreamInput(const std::string& input);

    const std::string& ivf_path() const { return ivf_path_; }
    bool matroska() const { return folder_.has_value(); }

  private:
    std::optional<PrivateFolder> folder_;
    std::string ivf_path_;
};

}  // namespace tavimor
