#!/usr/bin/env bash
# Installs what is missing, builds, lays out the program folder and starts the program from it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
program="$root/program"
mkdir -p "$program/Images" "$program/Result"
cp -f "$root/build/src/queldo" "$program/queldo"
# The help opens from beside the program file: its pages and their pictures.
cp -rf "$root/help/." "$program/"
if ! ls "$program/Images"/*/*.set >/dev/null 2>&1; then
  echo "Laying out the sample problems in $program/Images"
  "$root/build/tools/samplegen/queldo_samplegen" --out "$program/Images" --karyograms "$program/karyograms" \
    --abnormal
fi
cd "$program"
exec ./queldo
