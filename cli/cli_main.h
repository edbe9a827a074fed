// The command-line front end: parses the arguments, runs the command and
// turns failures into messages and exit statuses.
#pragma once

namespace tavimor {

int run_cli(int argc, char** argv);

}  // namespace tavimor
