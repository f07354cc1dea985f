#!/usr/bin/env bash
# Whole-process speed of the backplot on a generated 1,000,000-line program, against the floor
# of reading the file line by line and against two other G-code interpreters.
#
# Usage: bench/plot-speed.sh [-n RUNS] [-b BUILD_DIR] [-l LINES] [--no-build]
#   -n RUNS       wall-clock runs per program, the best one counts (default 3)
#   -b BUILD_DIR  Release build with the benchmarks (default build-bench in the repository,
#                 or $KERFWERK_BENCH_BUILD)
#   -l LINES      size of the generated program file (default 1000000; the in-process
#                 PlotAll figure is always on 1,000,000 lines)
#   --no-build    use the binaries already in BUILD_DIR
#
# What it does:
#   1. Installs what is missing (the project's build packages, linuxcnc-uspace for rs274, GNU
#      time, node and npm; the npm package gcode-toolpath goes to BUILD_DIR/plot-speed/npm),
#      builds Release with -DKERFWERK_BENCH=ON and writes the program
#      BUILD_DIR/plot-speed/program.nc (rapids, lines, arcs in G17/G18/G19, cut-on M07 and
#      cut-off M08, CR LF). It checks that every program reads the whole file: rs274 must end
#      on PROGRAM_END with one ARC_FEED per arc block and no error, gcode-toolpath must see
#      every line and every arc.
#   2. Times, best of RUNS wall-clock runs each:
#        floor           kerfwerk_read_lines FILE (std::getline, every line a string)
#        kerfwerk        kerfwerk --report FILE: load, interpret, draw, statistics, exit
#        PlotAll         kerfwerk_bench BM_PlotAllRaster/0: the full plot into a 1920x1080
#                        image in-process (no load, no process start), its best repetition
#        rs274           rs274 -g FILE /dev/null (LinuxCNC's standalone interpreter)
#        gcode-toolpath  node bench/tools/gcode-toolpath-run.js FILE
#   3. Prints the times with their ratios to the floor and to rs274, the ratio
#      kerfwerk/rs274 against its goal (at most 0.4) and the peak RSS of kerfwerk --report
#      against its goal (under 200 MB).
#
# The program writes its arc centres relative to the arc's start, as the bundled profile and
# the other interpreters read them. kerfwerk --report runs with the bundled profiles in a
# temporary KERFWERK_HOME.
# Exit status: 0 when every measurement ran, 1 on any failure (the goals do not change it).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)

runs=3
build=${KERFWERK_BENCH_BUILD:-$repo/build-bench}
lines=1000000
do_build=1

die() { echo "plot-speed: $*" >&2; exit 1; }
usage() { sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d' | sed 's/^# \{0,1\}//'; }

while [ $# -gt 0 ]; do
  case $1 in
    -n) [ $# -ge 2 ] || die "-n needs a number"; runs=$2; shift 2 ;;
    -b) [ $# -ge 2 ] || die "-b needs a folder"; build=$2; shift 2 ;;
    -l) [ $# -ge 2 ] || die "-l needs a number"; lines=$2; shift 2 ;;
    --no-build) do_build=0; shift ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; die "unknown argument: $1" ;;
  esac
done
[[ $runs =~ ^[1-9][0-9]*$ ]] || die "RUNS must be a positive whole number, not '$runs'"
[[ $lines =~ ^[1-9][0-9]*$ ]] || die "LINES must be a positive whole number, not '$lines'"
mkdir -p "$build"
build=$(cd "$build" && pwd)
case $build/ in "$repo"/bench/*) die "the build folder must not be inside bench/: $build" ;; esac

work=$build/plot-speed
program=$work/program.nc
npm_dir=$work/npm
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# shellcheck source=tools/common.sh
source "$here/tools/common.sh"


# ---------------------------------------------------------------------------------------------
# 1. Tools, build and program
# ---------------------------------------------------------------------------------------------

"$repo/scripts/install-deps.sh"
missing=()
command -v rs274 >/dev/null || missing+=(linuxcnc-uspace)
[ -x /usr/bin/time ] || missing+=(time)
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"
command -v rs274 >/dev/null || die "rs274 is still missing after installing linuxcnc-uspace"

if [ ! -f "$npm_dir/node_modules/gcode-toolpath/package.json" ]; then
  say "Installing the npm package gcode-toolpath into $npm_dir"
  mkdir -p "$npm_dir"
  npm install --prefix "$npm_dir" --no-save --no-audit --no-fund --loglevel=error \
    gcode-toolpath@3 >"$tmp/npm.log" 2>&1 || { cat "$tmp/npm.log" >&2; die "npm install gcode-toolpath failed"; }
fi

build_release plot-speed kerfwerk kerfwerk_bench kerfwerk_gen_program kerfwerk_read_lines

mkdir -p "$work"
"$build/bench/kerfwerk_gen_program" "$program" "$lines" || die "could not write $program"
floor_out=$("$build/bench/kerfwerk_read_lines" "$program")
program_lines=${floor_out%% lines*}
program_bytes=$(stat -c %s "$program")
arc_blocks=$(grep -c 'G0[23]' "$program" || true)
grep -q '^G01 X[0-9.]* F[0-9]' "$program" || die "the first cut of $program carries no F word"

# rs274 reads the whole file: no error (it says so on stderr and exits 1), the canonical
# calls end with PROGRAM_END (M30, the last line), one ARC_FEED per arc block.
say "Checking that rs274 interprets the whole program"
if ! rs274 -g "$program" "$tmp/rs274.canon" 2>"$tmp/rs274.err" ||
   grep -qv '^executing$' "$tmp/rs274.err"; then
  head -n 5 "$tmp/rs274.err" >&2
  die "rs274 stopped on an error in $program"
fi
rs274_arcs=$(grep -c 'ARC_FEED' "$tmp/rs274.canon" || true)
grep -q 'PROGRAM_END' <(tail -n 5 "$tmp/rs274.canon") ||
  die "rs274 did not reach the end of $program"
[ "$rs274_arcs" -eq "$arc_blocks" ] ||
  die "rs274 made $rs274_arcs arcs of the $arc_blocks arc blocks in $program"
rm -f "$tmp/rs274.canon"

# A fresh program folder: the first start seeds it with the bundled profiles.
home=$tmp/kerfwerk-home
mkdir -p "$home"
help_text=$("$build/kerfwerk" --help 2>&1 || true)
have_report=0
[[ $help_text == *--report* ]] && have_report=1

# ---------------------------------------------------------------------------------------------
# 2. Timings
# ---------------------------------------------------------------------------------------------
read -r load1 _ </proc/loadavg
say "Timing, best of $runs runs each (load average $load1 on $(nproc) cores)"

say "  floor: reading the lines"
must_measure floor "reading $program" "$build/bench/kerfwerk_read_lines" "$program"

if [ $have_report -eq 1 ]; then
  say "  kerfwerk --report"
  KERFWERK_HOME=$home must_measure kerfwerk "kerfwerk --report" "$build/kerfwerk" --report "$program"
  report_lines=$(wc -l <"$tmp/kerfwerk.out")
  [ "$report_lines" -eq 7 ] || { cat "$tmp/kerfwerk.out" >&2; die "kerfwerk --report printed $report_lines lines, not 7"; }
else
  say "  kerfwerk --report: this build has no --report option yet (see kerfwerk --help); skipped"
fi

say "  PlotAll in-process (kerfwerk_bench)"
"$build/bench/kerfwerk_bench" --benchmark_filter='^BM_PlotAllRaster/0$' \
  --benchmark_repetitions="$runs" --benchmark_out="$tmp/bench.json" \
  --benchmark_out_format=json >"$tmp/bench.log" 2>&1 ||
  { tail -n 5 "$tmp/bench.log" >&2; die "kerfwerk_bench failed"; }
best[plotall]=$(python3 - "$tmp/bench.json" <<'EOF'
import json, sys
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("run_type", "iteration") == "iteration" and b["name"] == "BM_PlotAllRaster/0"]
if not runs:
    sys.exit("no BM_PlotAllRaster/0 result")
print(round(min(b["real_time"] * scale[b["time_unit"]] for b in runs)))
EOF
) || die "could not read the PlotAll result from $tmp/bench.json"

say "  rs274 -g FILE /dev/null"
must_measure rs274 "rs274" rs274 -g "$program" /dev/null

say "  gcode-toolpath (node)"
NODE_PATH=$npm_dir/node_modules must_measure toolpath "gcode-toolpath" node "$here/tools/gcode-toolpath-run.js" "$program"
read -r _ tp_lines _ tp_moves _ tp_arcs _ <"$tmp/toolpath.out"
[ "$tp_lines" -eq "$program_lines" ] ||
  die "gcode-toolpath read $tp_lines of the $program_lines lines"
[ "$tp_arcs" -eq "$arc_blocks" ] ||
  die "gcode-toolpath made $tp_arcs arcs of the $arc_blocks arc blocks"

# ---------------------------------------------------------------------------------------------
# 3. Table
# ---------------------------------------------------------------------------------------------
python3 - "$program_lines" "$program_bytes" "$runs" "$load1" \
  "${best[floor]}" "${best[kerfwerk]:-}" "${rss_kb[kerfwerk]:-}" "${best[plotall]}" \
  "${best[rs274]}" "${rss_kb[rs274]}" "${best[toolpath]}" "${rss_kb[toolpath]}" \
  "${rss_kb[floor]}" "$tmp/kerfwerk.out" <<'EOF'
import sys
(lines, size, runs, load, floor, kw, kw_rss, plotall, rs, rs_rss, tp, tp_rss, floor_rss,
 report) = sys.argv[1:]
sec = lambda us: int(us) / 1e6 if us else None
mb = lambda kb: int(kb) * 1024 / 1e6 if kb else None
floor, kw, plotall, rs, tp = map(sec, (floor, kw, plotall, rs, tp))
rows = [
    ("floor: read lines (std::getline)", floor, mb(floor_rss)),
    ("kerfwerk --report FILE", kw, mb(kw_rss)),
    ("PlotAll into image, in-process", plotall, None),
    ("rs274 -g FILE /dev/null", rs, mb(rs_rss)),
    ("gcode-toolpath (node)", tp, mb(tp_rss)),
]
print(f"Backplot speed: {int(lines):,} lines, {int(size) / 1e6:.1f} MB; "
      f"best of {runs} wall-clock runs; load average {load} at the start")
print(f"{'':34} {'seconds':>8} {'x floor':>8} {'x rs274':>8} {'peak RSS':>9}")
for name, t, rss in rows:
    if t is None:
        print(f"{name:34} {'n/a':>8}")
        continue
    r = f"{rss:6.0f} MB" if rss is not None else ""
    print(f"{name:34} {t:8.3f} {t / floor:8.1f} {t / rs:8.2f} {r:>9}")
print()
def goal(text, value, limit, met):
    print(f"{text + ':':31} {value:>8} (goal {limit}): {'met' if met else 'MISSED'}")
if kw is not None:
    goal("kerfwerk --report / rs274", f"{kw / rs:.2f}", "at most 0.4", kw / rs <= 0.4)
    goal("peak RSS of kerfwerk --report", f"{mb(kw_rss):.0f} MB", "under 200 MB", mb(kw_rss) < 200)
else:
    print("kerfwerk --report / rs274: n/a (this build has no --report)")
goal("PlotAll in-process", f"{plotall:.3f} s", "under 1.0 s", plotall < 1.0)
if kw is not None:
    print()
    print("kerfwerk --report printed:")
    for line in open(report):
        print("  " + line.rstrip("\n"))
EOF
