// The macroblock information dump file: chosen and opened by "Start MB Info
// Dump", closed by "End MB info Dump" and when the window closes. The module
// writes each new picture's dump into it.
#pragma once

namespace tavimor {

// Closes the dump file when one is open.
void close_mb_info_dump_file();

}  // namespace tavimor
