#!/usr/bin/env bash
# Runs a validator on a file; exit status 77 (the test is skipped) when the
# validator is not installed (Debian packages desktop-file-utils, appstream).
#   run_validator.sh VALIDATOR [ARGUMENTS...] FILE
set -uo pipefail
command -v "$1" >/dev/null 2>&1 || { echo "$1 is not installed: skipped"; exit 77; }
"$@"
