#!/usr/bin/env bash
# Fails when a C++ file of the repository (new ones included) differs from its .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
files=()
while IFS= read -r -d '' f; do
  [ -f "$f" ] && files+=("$f")
done < <(git ls-files -z --cached --others --exclude-standard '*.cpp' '*.h')
clang-format --dry-run -Werror "${files[@]}"
