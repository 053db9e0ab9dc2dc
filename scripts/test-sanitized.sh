#!/usr/bin/env bash
# Builds the program and all its tests with AddressSanitizer and UBSan into build-sanitize/
# (the "sanitize" preset of CMakePresets.json) and runs every test there, without a display.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh test
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize
