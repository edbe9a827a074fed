#include "shell/shell_services.h"

#include <cstdlib>

namespace tavimor {

ShellServices& shell_services() {
    static ShellServices services;
    return services;
}

void exit_process(int status) {
    if (auto exit_routine = shell_services().exit_process) exit_routine(status);
    std::exit(status);
}

}  // namespace tavimor
