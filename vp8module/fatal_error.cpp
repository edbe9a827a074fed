#include "vp8module/fatal_error.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/message_box.h"
#include "platform/platform.h"
#include "shell/shell_services.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

void fatal_decoder_error(const Vp8ModuleState& state, const char* operation) {
    const char* detail = vp8::decoder_error_detail(&state.decoder);
    const std::string text = std::string(operation) + ": " +
                             vp8::decoder_error_string(&state.decoder) + "\n" +
                             (detail ? detail : "\n");
    ShellServices& services = shell_services();
    if (services.platform)
        services.platform->message_box(services.main_window, text, "Warning",
                                       mb::kOk | mb::kIconError);
    exit_process(1);
}

void stop_on_working_files(const char* what) {
    const int error = errno;
    const std::string text = std::string(what) +
                             " in the temporary folder: " + std::strerror(error) +
                             ".\nThe analyser stops.";
    ShellServices& services = shell_services();
    if (services.platform)
        services.platform->message_box(services.main_window, text, "Warning",
                                       mb::kOk | mb::kIconError);
    exit_process(1);
}

}  // namespace tavimor
