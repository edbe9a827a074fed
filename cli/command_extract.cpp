// extract: a container file's video track, as the extraction run writes it.
#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/container_input.h"

namespace tavimor {

int run_extract(const CliOptions& options) {
    const auto output = options.value("-o");
    if (!output) throw UsageError("missing -o OUT");
    const int kind = container_kind_for(options.input);
    PrivateFolder folder;
    const ExtractionResult result = extract_container(folder, options.input, kind, "", "",
                                                      [&](int) { return std::optional(*output); });
    if (!result.ok) throw InputError(result.failure);
    if (!result.codec_found) throw InputError("the file holds no video track the extraction knows");
    return 0;
}

}  // namespace tavimor
