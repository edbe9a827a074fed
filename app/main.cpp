// tavimor: the interactive analyser.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/qt/qt_platform.h"
#include "shell/application.h"
#include "shell/module_registry.h"
#include "vp8module/vp8_module.h"

namespace {

bool display_server_named() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!display_server_named()) {
        std::fprintf(stderr, "tavimor: no display server is reachable (DISPLAY is not set)\n");
        return 3;
    }
    // Connects to the display server (Qt ends the process when it cannot).
    tavimor::QtPlatform platform(argc, argv);
    if (!arguments.empty() && arguments[0] == "--check-display") return 0;
    tavimor::provide_vp8_module(tavimor::create_vp8_module);
    return tavimor::run_application(platform, arguments);
}
