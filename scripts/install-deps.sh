#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
#   --with-display  also what the end-to-end test needs (a virtual display and input) and the
#                   PDF renderer the printing tests look at their pages with
#   --with-bench    also the benchmarks' yardsticks: OpenCV's core and imgproc modules (not the
#                   whole of libopencv-dev, some two hundred packages, which the benchmarks do not use)
set -euo pipefail
packages=(cmake g++ make pkg-config clang-format qt6-base-dev qt6-charts-dev libgl-dev libsodium-dev
          libbenchmark-dev libhwy-dev fonts-ipafont-gothic fonts-ipafont-mincho
          qt6-translations-l10n)
for option in "$@"; do
  case "$option" in
    --with-display) packages+=(xvfb xdotool imagemagick poppler-utils) ;;
    --with-bench) packages+=(libopencv-core-dev libopencv-imgproc-dev) ;;
    # The fuzz targets (scripts/fuzz.sh): clang with libFuzzer and the sanitizer runtimes.
    --with-fuzz) packages+=(clang libclang-rt-14-dev) ;;
    *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
  esac
done
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
