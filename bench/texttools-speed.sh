#!/usr/bin/env bash
# Whole-process speed of the text tools: `kerfwerk --do NAME big.nc out.nc` on the generated
# 1,000,000-line program, best of RUNS wall-clock runs each, against the goal of 2 s, and the
# floor of reading the file line by line.
#
# Usage: bench/texttools-speed.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  Release build with -DKERFWERK_BENCH=ON (default build-bench), holding kerfwerk and
#              bench/kerfwerk_gen_program and bench/kerfwerk_read_lines
#   RUNS       runs per command, the best counts (default 3)
# The program folder is a temporary KERFWERK_HOME seeded with the bundled profiles.
# Exit status: 0 when every command ran, 1 on a failure (the goal does not change it).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}
RUNS=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$BUILD/bench/kerfwerk_gen_program" "$work/big.nc" >/dev/null
# The conversion to incremental refuses a program with K words: its arcs in the XZ and YZ planes
# are left out of the program the conversions time.
grep -v K "$work/big.nc" >"$work/flat.nc"

# Best of RUNS runs of the command: "WALL CPU" in seconds, CPU being user + system time of the
# best run (on a machine shared with other work the CPU time is the steadier figure).
best() {
  local best="1e9 0"
  for _ in $(seq "$RUNS"); do
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    best=$(awk -v b="$best" '{split(b, o, " "); if ($1 < o[1]) print $1, $2 + $3; else print b}' "$work/time")
  done
  echo "$best"
}

read -r floor floorCpu < <(best "$BUILD/bench/kerfwerk_read_lines" "$work/big.nc")
printf '%-48s %7.3f s wall %7.3f s cpu\n' "floor (reading the lines)" "$floor" "$floorCpu"
echo "program: $(wc -l <"$work/big.nc") lines, $(wc -l <"$work/flat.nc") without K words for the conversions"
# Each entry: the commands, then any --set CONTROL=VALUE of the run. The bundled profile has relative arc
# centres ("Incremental  Type I J"), with which the way back to absolute takes three passes.
for entry in AddLineNumbers1Click RemoveLineNumbers1Click Packthefileremoveallspaces1Click Compress1Click \
             ConverttoIncremental1Click ConverttoIncremental1Click,Main.ConverttoAbsolute1Click; do
  read -r names set <<<"$entry"
  input=$work/big.nc
  [[ $names == Convert* ]] && input=$work/flat.nc
  run=("$BUILD/kerfwerk" --do "Main.$names" "$input" "$work/out.nc")
  [ -n "${set:-}" ] && run+=(--set "$set")
  read -r t cpu < <(KERFWERK_HOME="$work/home" best "${run[@]}")
  KERFWERK_HOME="$work/home" "${run[@]}" 2>&1 | grep -q . &&
    { echo "$entry said something: it did not run over the whole program" >&2; exit 1; }
  printf '%-48s %7.3f s wall %7.3f s cpu  (%s the 2 s goal)\n' "${entry//Click,Main./ + }" "$t" "$cpu" \
    "$(awk -v t="$t" 'BEGIN {print (t < 2 ? "within" : "OVER")}')"
done
