#include "cli/cli_main.h"

int main(int argc, char** argv) {
    return tavimor::run_cli(argc, argv);
}
