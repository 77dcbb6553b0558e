#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
set -euo pipefail
packages=(cmake g++ make pkg-config clang-format qt6-base-dev qt6-charts-dev libgl-dev libsodium-dev
          libbenchmark-dev libhwy-dev fonts-ipafont-gothic)
if [ "${1:-}" = "--with-display" ]; then
  packages+=(xvfb xdotool imagemagick)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
