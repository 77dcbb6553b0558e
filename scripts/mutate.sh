#!/usr/bin/env bash
# Applies each one-line mutation of scripts/mutations.txt to a copy of the committed tree,
# builds the test programs it names and runs them: a mutation is killed when one of them
# fails, survives when all pass. A surviving mutation is a rule the tests do not hold. Slow
# (a build per mutation), so not part of the test command. Non-zero when any survives or
# cannot be applied.
#
#   scripts/mutate.sh [LIST]      LIST defaults to scripts/mutations.txt
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
list="${1:-$root/scripts/mutations.txt}"
# A copy of what is committed, so that a mutation can never be left behind in the work tree;
# laid out like the work tree (sources beside build/) so that ccache finds what it compiled.
work="$root/build-mutate"
src="$work"
build="$work/build"
find "$work" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} + 2>/dev/null || true
mkdir -p "$work"
git -C "$root" archive HEAD | tar -x -C "$src"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUELDO_OPENCV=OFF "${launcher[@]}" \
      >/dev/null

run_tests() { # test programs...; succeeds when every one passes
  cmake --build "$build" -j"$(nproc)" --target "$@" >"$work/build.log" 2>&1 || return 2
  local regex
  regex="^($(IFS='|'; echo "$*"))\$"
  (cd "$build" && QT_QPA_PLATFORM=offscreen ctest -R "$regex" >"$work/ctest.log" 2>&1)
}

killed=0
survived=0
broken=0
# Fields are split at " | " (blanks around the bar), so that "||" in code stays whole.
while IFS=$'\t' read -r file before after tests; do
  if [ "$file" = BAD ]; then
    echo "NOT RUN  a line without four fields: $before"
    broken=$((broken + 1))
    continue
  fi
  read -r -a programs <<<"$tests"
  target="$src/$file"
  if ! run_tests "${programs[@]}"; then
    echo "NOT RUN  $file: the tests fail without the mutation (${programs[*]})"
    broken=$((broken + 1))
    continue
  fi
  count="$(grep -cF -- "$before" "$target" || true)"
  if [ "$count" != 1 ]; then
    echo "NOT RUN  $file: '$before' occurs $count times"
    broken=$((broken + 1))
    continue
  fi
  cp "$target" "$target.orig"
  BEFORE="$before" AFTER="$after" perl -0pi -e 's/\Q$ENV{BEFORE}\E/$ENV{AFTER}/' "$target"
  status=0
  run_tests "${programs[@]}" || status=$?
  # Copied back, not moved: the restored file must be newer than the mutated build.
  cp "$target.orig" "$target"
  rm "$target.orig"
  case $status in
    0) echo "SURVIVED $file: '$before' -> '$after'"; survived=$((survived + 1)) ;;
    2) echo "killed   $file: '$before' -> '$after' (does not build)"; killed=$((killed + 1)) ;;
    *) echo "killed   $file: '$before' -> '$after'"; killed=$((killed + 1)) ;;
  esac
done < <(grep -v '^#' "$list" | awk -F ' [|] ' 'NF == 4 { print $1 "\t" $2 "\t" $3 "\t" $4; next }
                                          NF > 0 { print "BAD\t" $0 "\t-\t-" }')

echo "$killed killed, $survived survived, $broken not run"
[ "$survived" -eq 0 ] && [ "$broken" -eq 0 ]
