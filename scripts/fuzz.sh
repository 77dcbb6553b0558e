#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz (clang, libFuzzer, address and undefined-behaviour
# sanitizers) into build-fuzz/ and runs each over its seed corpus, made afresh by the tests'
# fixture code, plus what earlier runs found, for as long as asked. Non-zero on any finding;
# the input that caused it is kept in build-fuzz/fuzz-artifacts/.
#
#   scripts/fuzz.sh [--seconds N] [--runs N] [TARGET ...]
#
# --seconds N  time budget per target (default 10); --runs N  stop a target after N runs
# (whichever comes first). Targets: bmp problem_set results arrangement settings password cp932
# new_id start_options karyotype session abnormal_attempts user_files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds=10
runs=-1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -eq 0 ] && targets=(bmp problem_set results arrangement settings password cp932 new_id
                                     start_options karyotype session abnormal_attempts user_files)

"$root/scripts/install-deps.sh" --with-fuzz
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELDO_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUELDO_OPENCV=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_all
bin="$build/tests/fuzz"

rm -rf "$build/fuzz-seeds"
QT_QPA_PLATFORM=offscreen "$bin/fuzz_seeds" "$build/fuzz-seeds"
mkdir -p "$build/fuzz-artifacts" "$build/fuzz-logs"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
summary=()
failed=0
for target in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$target"
  log="$build/fuzz-logs/$target.log"
  mkdir -p "$corpus"
  start=$(date +%s%N)
  status=0
  # Pictures well beyond real problem bitmaps (24-26 KB), tried at every length from the start
  # rather than grown to slowly; trainee files beyond the 4 KB an undo note's checksum covers;
  # other inputs as long as libFuzzer guesses from their seeds.
  len_control=100
  case "$target" in
    bmp) max_len=65536 len_control=0 ;;
    user_files) max_len=16384 ;;
    *) max_len=0 ;;
  esac
  # An input running over ten seconds is a finding of its own (a hang), as is any allocation
  # beyond 2 GB.
  "$bin/fuzz_$target" -max_total_time="$seconds" -runs="$runs" -timeout=10 -rss_limit_mb=2048 \
      -max_len="$max_len" -len_control="$len_control" \
      -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$target-" \
      "$corpus" "$build/fuzz-seeds/$target" >"$log" 2>&1 || status=$?
  elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
  elapsed="$((elapsed_ms / 1000)).$(( elapsed_ms % 1000 / 100 ))"
  executed=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  if [ "$status" -eq 0 ]; then
    result="0 crashes"
  else
    result="FINDING (exit $status), see $log"
    failed=1
    tail -40 "$log" >&2
  fi
  summary+=("$(printf '%-12s %12s runs %8s s   %s' "$target" "$executed" "$elapsed" "$result")")
done
printf '%s\n' "${summary[@]}"
exit "$failed"
