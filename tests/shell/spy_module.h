// A module that records what the shell asks of it, handed to the registry in
// place of the VP8 module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/codec_module.h"

namespace tavimor::test {

struct SpyModule {
    int open_answer = 1;  // what is-open answers once open was called
    bool opened = false;
    std::vector<std::string> calls;  // "open", "close", "tick", "refresh0", "command291", ...
    std::vector<intptr_t> command_extras;
    std::vector<unsigned> command_messages;

    // The spy the registry hands out: cleared, and made the VP8 factory's result.
    static SpyModule& install();
    static SpyModule& instance();
    static CodecModule* table();

    int count(const std::string& call) const;
};

}  // namespace tavimor::test
