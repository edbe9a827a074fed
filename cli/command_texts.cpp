// summary and mbinfo: the analyser's texts of one picture, as the summary
// dialog shows it and as "Start MB Info Dump" writes it.
#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/container_input.h"
#include "cli/module_session.h"
#include "cli/view_options.h"

namespace tavimor {

int run_summary(const CliOptions& options) {
    const int picture = picture_option(options);
    const StreamInput input(options.input);
    std::string text;
    {
        ModuleSession session(input.ivf_path(), cache_limit_option(options));
        session.show_picture(picture);
        text = session.summary_text();
    }
    write_standard_output(text);
    return 0;
}

int run_mbinfo(const CliOptions& options) {
    const int picture = picture_option(options);
    // Dump types 0, 1 and 2, and the tabs of the pixel dialog.
    const int type = choice_option(options, "--type", {"pred", "pixel", "coef"}, 0);
    const int tab =
        choice_option(options, "--view", {"final", "prelf", "pred", "residual", "coef"}, 0);
    const StreamInput input(options.input);
    std::string dump;
    {
        ModuleSession session(input.ivf_path(), cache_limit_option(options));
        dump = session.dump_picture(picture, type, tab);
    }
    write_standard_output(dump);
    return 0;
}

}  // namespace tavimor
