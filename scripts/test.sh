#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as errors and runs every
# test offscreen, then a short run of every fuzz target; non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --with-display
"$root/scripts/check-format.sh"
# Optional packages are switched off, so the build is the one a new machine with only what
# install-deps.sh installs would make, whatever else this machine has (OpenCV from bench.sh).
"$root/scripts/build.sh" -DQUELDO_WARNINGS_AS_ERRORS=ON -DQUELDO_OPENCV=OFF
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
# Every fuzz target over its seed corpus and a few seconds more (scripts/fuzz.sh for longer runs).
"$root/scripts/fuzz.sh" --seconds "${QUELDO_FUZZ_SECONDS:-5}"
