#!/usr/bin/env bash
# Configures and builds in Release into build/. Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build -j"$(nproc)"
