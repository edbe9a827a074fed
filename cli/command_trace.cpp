// trace: the decoder's header trace text of the selected decoded frames.
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/decode_session.h"

namespace tavimor {

int run_trace(const CliOptions& options) {
    const FrameRange range = frames_option(options);
    DecodeSession session(options.input);
    std::FILE* trace = std::tmpfile();
    if (!trace) throw InputError("cannot create a temporary file");
    vp8::AnalysisContext analysis{};
    analysis.trace_file = trace;
    session.set_analysis(&analysis);
    std::vector<char> text;
    auto before = [&](int64_t index) {
        if (index > range.last) return false;
        std::rewind(trace);
        if (ftruncate(fileno(trace), 0) != 0) throw InputError("cannot reuse the temporary file");
        return true;
    };
    auto after = [&](const DecodedFrame& frame) {
        if (!range.contains(frame.index)) return;
        std::fflush(trace);
        const long length = std::ftell(trace);
        text.resize(static_cast<size_t>(length));
        std::rewind(trace);
        if (length > 0 && std::fread(text.data(), 1, text.size(), trace) == text.size())
            std::fwrite(text.data(), 1, text.size(), stdout);
        std::fseek(trace, 0, SEEK_END);
    };
    // The captures the decoder made in the context's slots go with it; the
    // trace file is closed here.
    const auto release = [&] {
        analysis.trace_file = nullptr;
        vp8::close_analysis_context(analysis);
        std::fclose(trace);
    };
    try {
        session.run(after, before);
    } catch (...) {
        release();
        throw;
    }
    release();
    return 0;
}

}  // namespace tavimor
