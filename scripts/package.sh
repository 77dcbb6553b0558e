#!/usr/bin/env bash
# Builds the Debian package build/queldo_<version>_<arch>.deb: the program, its help, the sample
# problems, a menu entry and its icon. Install it with `sudo apt install ./build/queldo_*.deb`,
# which brings in the libraries it needs. Extra arguments go to CMake's configure step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --with-package
desktop-file-validate "$root/packaging/queldo.desktop"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target queldo sample_problems
cd "$root/build"
rm -f queldo_*.deb
cpack -G DEB
ls "$root"/build/queldo_*.deb
