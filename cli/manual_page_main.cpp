// Writes the manual page of tavimor-cli to the file named by its argument
// (a build step).
#include <cstdio>
#include <fstream>

#include "cli/manual_page.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavimor-cli-manual-page OUT.1\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << tavimor::manual_page();
    out.close();
    if (!out) {
        std::fprintf(stderr, "tavimor-cli-manual-page: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
