#!/usr/bin/env bash
# Runs the fuzz targets (tests/fuzz) under libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, each for a set time, and prints the executions and coverage of each.
#
# Usage: bench/fuzz.sh [SECONDS] [TARGET ...]
#   SECONDS   run time of each target (default 600)
#   TARGET    the targets to run, named as their corpus folders (default: every one)
# Environment: KERFWERK_FUZZ_BUILD the build folder (default build-fuzz), KERFWERK_FUZZ_JOBS
# how many targets run at once (default 1).
#
# Builds with Debian's clang into the build folder. Each target starts from its corpus,
# tests/fuzz/corpus/TARGET, and keeps the inputs that reach new code in BUILD/corpus/TARGET,
# so the next run goes on from there. An input runs at most 5 seconds (longer is a hang) and
# in at most 2 GB. A crash, hang or sanitizer report stops the target and leaves the input in
# BUILD/findings/TARGET/ and the log in BUILD/findings/TARGET.log; fixed, the input belongs in
# the target's corpus, which the test suite runs.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-600}
[ $# -gt 0 ] && shift
BUILD=${KERFWERK_FUZZ_BUILD:-build-fuzz}
JOBS=${KERFWERK_FUZZ_JOBS:-1}
command -v clang++ >/dev/null || { echo "fuzz.sh needs clang (Debian: apt-get install clang)" >&2; exit 2; }
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKERFWERK_FUZZ=ON >/dev/null
cmake --build "$BUILD" -j2 >/dev/null
targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(ls tests/fuzz/corpus)

run() {
  local t=$1
  mkdir -p "$BUILD/corpus/$t" "$BUILD/findings/$t"
  "$BUILD/tests/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$BUILD/findings/$t/" "$BUILD/corpus/$t" "tests/fuzz/corpus/$t" >"$BUILD/findings/$t.log" 2>&1 || true
}

running=0
for t in "${targets[@]}"; do
  run "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$JOBS" ]; then wait -n; running=$((running - 1)); fi
done
wait

status=0
printf '%-18s %12s %7s %7s %s\n' target executions cov ft findings
for t in "${targets[@]}"; do
  log="$BUILD/findings/$t.log"
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  execs=$(grep -o 'number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "${last%%[^#0-9]*}")
  cov=$(grep -o 'cov: [0-9]*' <<<"$last" | grep -o '[0-9]*' || echo '?')
  ft=$(grep -o 'ft: [0-9]*' <<<"$last" | grep -o '[0-9]*' || echo '?')
  found=$(find "$BUILD/findings/$t" -type f | wc -l)
  [ "$found" -eq 0 ] || status=1
  printf '%-18s %12s %7s %7s %s\n' "$t" "${execs#\#}" "$cov" "$ft" "$found"
done
exit $status
