#include "vp8dec/frame_syntax.h"

#include <utility>

namespace vp8 {

void reset_frame_syntax(FrameSyntax& syntax) {
    std::vector<CoefProbUpdate> coef = std::move(syntax.coef_prob_updates);
    std::vector<MvProbUpdate> mv = std::move(syntax.mv_prob_updates);
    coef.clear();
    mv.clear();
    syntax = FrameSyntax{};
    syntax.coef_prob_updates = std::move(coef);
    syntax.mv_prob_updates = std::move(mv);
}

}  // namespace vp8
