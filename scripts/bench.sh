#!/usr/bin/env bash
# Installs what the benchmarks need (OpenCV included), builds Release, runs every benchmark
# built under build/bench/ (every bench_* program) and prints one table of their ratios,
# ours / peer, below 1 where ours is faster. Times are medians of the repetitions (3 unless
# given, never fewer). Each program's whole output is kept in build/bench-logs/.
# Not part of the test command or CI: a shared machine gives noisy timings.
# Usage: scripts/bench.sh [repetitions]
# Non-zero when a benchmark fails, prints no ratio, or a ratio misses its goal.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
repetitions="${1:-3}"
if ! [[ "$repetitions" =~ ^[0-9]+$ ]] || [ "$repetitions" -lt 3 ]; then
  echo "bench.sh: repetitions must be a whole number, at least 3 (got '$repetitions')" >&2
  exit 2
fi

"$root/scripts/install-deps.sh" --with-bench
"$root/scripts/build.sh" -DQUELDO_WARNINGS_AS_ERRORS=ON -DQUELDO_OPENCV=ON

logs="$root/build/bench-logs"
mkdir -p "$logs"
rm -f "$logs"/*.txt
mapfile -t programs < <(find "$root/build/bench" -maxdepth 1 -type f -name 'bench_*' -perm -u+x | sort)
if [ ${#programs[@]} -eq 0 ]; then
  echo "bench.sh: no benchmark was built (is Google Benchmark installed?)" >&2
  exit 1
fi

status=0
for program in "${programs[@]}"; do
  name="$(basename "$program")"
  echo "bench.sh: running $name ($repetitions repetitions)..." >&2
  if ! QT_QPA_PLATFORM=offscreen "$program" --benchmark_repetitions="$repetitions" >"$logs/$name.txt" 2>&1; then
    echo "bench.sh: $name failed; the end of its output ($logs/$name.txt):" >&2
    tail -n 5 "$logs/$name.txt" >&2
    status=1
  elif ! grep -q $'^ratio\t' "$logs/$name.txt"; then
    echo "bench.sh: $name printed no ratio line (see bench/CMakeLists.txt)" >&2
    status=1
  fi
done

# One table: the ratio lines of every program, aligned, then their info lines.
awk -F'\t' '
  FNR == 1 { program = FILENAME; sub(/.*\//, "", program); sub(/\.txt$/, "", program) }
  $1 == "ratio" {
    n++
    row[n, 1] = program
    for (i = 2; i <= 10; i++) row[n, i] = $i
    if ($10 == "MISSED") missed++
  }
  $1 == "info" { info[++m] = $2 }
  END {
    split("benchmark|routine|pixels or data|ours / peer|geomean|worst|worst case|cases|goal|verdict", head, "|")
    for (i = 1; i <= 10; i++) width[i] = length(head[i])
    for (r = 1; r <= n; r++)
      for (i = 1; i <= 10; i++) if (length(row[r, i]) > width[i]) width[i] = length(row[r, i])
    line = ""
    for (i = 1; i <= 10; i++) line = line sprintf("%-*s  ", width[i], head[i])
    print line
    line = ""
    for (i = 1; i <= 10; i++) { dash = sprintf("%*s", width[i], ""); gsub(/ /, "-", dash); line = line dash "  " }
    print line
    for (r = 1; r <= n; r++) {
      line = ""
      for (i = 1; i <= 10; i++) line = line sprintf("%-*s  ", width[i], row[r, i])
      print line
    }
    print ""
    for (k = 1; k <= m; k++) print info[k]
    if (missed) printf "\n%d ratio(s) missed their goal\n", missed
  }' "$logs"/*.txt
grep -q $'\tMISSED$' "$logs"/*.txt && status=1
exit "$status"
