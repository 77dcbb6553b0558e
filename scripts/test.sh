#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as errors and runs every
# test offscreen; non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --with-display
"$root/scripts/check-format.sh"
"$root/scripts/build.sh" -DQUELDO_WARNINGS_AS_ERRORS=ON
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
