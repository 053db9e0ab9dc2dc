#!/usr/bin/env bash
# Builds the program and opens its window. On Debian and Ubuntu it first installs what is
# missing, make and the compiler included, so it works on a system with nothing but the clone.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
scripts/install-deps.sh run
exec make run
