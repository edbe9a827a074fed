#include "vp8dec/coefficient_trace_lines.h"

#include <string>
#include <vector>

#include "vp8dec/tables.h"

namespace vp8 {

namespace {

int line_index(int i, int j, int k, int l) {
    return ((i * kCoefBands + j) * kCoefContexts + k) * kCoefNodes + l;
}

std::vector<std::string> make_kept_lines() {
    std::vector<std::string> lines(kBlockTypes * kCoefBands * kCoefContexts * kCoefNodes);
    for (int i = 0; i < kBlockTypes; ++i)
        for (int j = 0; j < kCoefBands; ++j)
            for (int k = 0; k < kCoefContexts; ++k)
                for (int l = 0; l < kCoefNodes; ++l)
                    lines[line_index(i, j, k, l)] =
                        "\t\t0 <- is_avaible[" + std::to_string(i) + "][" + std::to_string(j) +
                        "][" + std::to_string(k) + "][" + std::to_string(l) + "]\n";
    return lines;
}

}  // namespace

std::string_view coefficient_kept_line(int i, int j, int k, int l) {
    static const std::vector<std::string> lines = make_kept_lines();
    return lines[line_index(i, j, k, l)];
}

}  // namespace vp8
