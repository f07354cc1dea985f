#!/usr/bin/env bash
# Whole-process speed of the text tools: `kerfwerk --do NAME big.nc out.nc` on the generated
# 1,000,000-line program, best of RUNS wall-clock runs each, against the goal of 2 s, and the
# floor of reading the file line by line.
#
# Usage: bench/texttools-speed.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  Release build with -DKERFWERK_BENCH=ON (default build-bench), holding kerfwerk,
#              kerfwerk_gen_program and kerfwerk_read_lines
#   RUNS       runs per command, the best counts (default 3)
# The program folder is a temporary KERFWERK_HOME seeded with the bundled profiles.
# Exit status: 0 when every command ran, 1 on a failure (the goal does not change it).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}
RUNS=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$BUILD/kerfwerk_gen_program" "$work/big.nc" >/dev/null

best() {  # best wall time of RUNS runs of the command, in seconds
  local best=""
  for _ in $(seq "$RUNS"); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s.%N)
    best=$(echo "$start $end ${best:-1e9}" | awk '{t = $2 - $1; print (t < $3 ? t : $3)}')
  done
  echo "$best"
}

floor=$(best "$BUILD/kerfwerk_read_lines" "$work/big.nc")
printf '%-45s %8.3f s\n' "floor (reading the lines)" "$floor"
for name in AddLineNumbers1 RemoveLineNumbers1 Packthefileremoveallspaces1 Compress1 ConverttoIncremental1 \
            ConverttoIncremental1Click,Main.ConverttoAbsolute1; do
  t=$(KERFWERK_HOME="$work/home" best "$BUILD/kerfwerk" --do "Main.${name}Click" "$work/big.nc" "$work/out.nc")
  printf '%-45s %8.3f s  (%s the 2 s goal)\n' "$name" "$t" "$(awk -v t="$t" 'BEGIN {print (t < 2 ? "within" : "OVER")}')"
done
