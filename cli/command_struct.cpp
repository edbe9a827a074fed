// struct: a container file's structure text (and for TS its PES text).
#include <cstdio>
#include <memory>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/container_input.h"

namespace tavimor {

namespace {

void copy_to_stdout(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    if (!file) return;
    char buffer[1 << 16];
    size_t size = 0;
    while ((size = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        std::fwrite(buffer, 1, size, stdout);
}

}  // namespace

int run_struct(const CliOptions& options) {
    const int kind = container_kind_for(options.input);
    const auto pes = options.value("--pes");
    if (pes && kind != kContainerTs)
        throw UsageError("--pes: only an MPEG-2 TS file has a PES text");
    const auto output = options.value("-o");
    PrivateFolder folder;
    const std::string structure = output ? *output : folder.path("structure.txt");
    // The video is not wanted: it goes into the private folder.
    const ExtractionResult result =
        extract_container(folder, options.input, kind, structure, pes.value_or(""),
                          [&](int) { return std::optional<std::string>(folder.path("video")); });
    // What was written before a failure is output all the same.
    if (!output) copy_to_stdout(structure);
    if (!result.ok) throw InputError(result.failure);
    return 0;
}

}  // namespace tavimor
