#!/usr/bin/env bash
# Whole-process speed of converting a drawing of splines, against ezdxf reading the same file in
# the same run.
#
# Usage: bench/spline-speed.sh [-n RUNS] [-b BUILD_DIR] [--entities N] [--no-build]
#   -n RUNS         wall-clock runs of each program, the best one counts (default 3)
#   -b BUILD_DIR    Release build (default build-bench in the repository, or $KERFWERK_BENCH_BUILD)
#   --entities N    SPLINE entities of the drawing (default 10000)
#   --no-build      use the kerfwerk binary already in BUILD_DIR
#
# What it does:
#   1. Installs what is missing (python3-ezdxf, GNU time), builds kerfwerk Release and writes
#      the drawing with bench/tools/gen-splines.py (ezdxf) into BUILD_DIR/spline-speed/ (written
#      again when the generator changes).
#   2. Times, best of RUNS, with the peak RSS: kerfwerk FILE OUT.nc (the whole conversion with
#      the bundled profile, a fresh KERFWERK_HOME each run) and ezdxf.readfile alone
#      (bench/tools/ezdxf-read.py). It checks that the program holds one path per spline, one
#      arc per rational quarter circle at least, and that ezdxf saw every spline.
#   3. Prints both times, the ratio kerfwerk / ezdxf and the goal: the conversion under 1 s
#      (MISSED when it is not). Exit status: 0 when every measurement ran, 1 on any failure.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
runs=3
build=${KERFWERK_BENCH_BUILD:-$repo/build-bench}
entities=10000
do_build=1

die() { echo "spline-speed: $*" >&2; exit 1; }
usage() { sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d' | sed 's/^# \{0,1\}//'; }

while [ $# -gt 0 ]; do
  case $1 in
    -n) [ $# -ge 2 ] || die "-n needs a number"; runs=$2; shift 2 ;;
    -b) [ $# -ge 2 ] || die "-b needs a folder"; build=$2; shift 2 ;;
    --entities) [ $# -ge 2 ] || die "--entities needs a number"; entities=$2; shift 2 ;;
    --no-build) do_build=0; shift ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; die "unknown argument: $1" ;;
  esac
done
for v in "$runs" "$entities"; do
  [[ $v =~ ^[1-9][0-9]*$ ]] || die "'$v' is not a positive whole number"
done
mkdir -p "$build"
build=$(cd "$build" && pwd)

py=/usr/bin/python3  # Debian's python, whose ezdxf is python3-ezdxf
work=$build/spline-speed
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# shellcheck source=tools/common.sh
source "$here/tools/common.sh"

missing=()
{ [ -x $py ] && $py -c 'import ezdxf' 2>/dev/null; } || missing+=(python3-ezdxf)
[ -x /usr/bin/time ] || missing+=(time)
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"

build_release spline-speed kerfwerk

mkdir -p "$work"
drawing=$work/splines-$entities.dxf
generator=$here/tools/gen-splines.py
if [ ! -s "$drawing" ] || [ ! -s "$drawing.counts" ] || [ "$generator" -nt "$drawing" ]; then
  say "Writing $drawing ($entities splines, ezdxf)"
  $py "$generator" "$drawing.part" --entities "$entities" >"$drawing.counts.part" || die "gen-splines.py failed"
  mv "$drawing.part" "$drawing"
  mv "$drawing.counts.part" "$drawing.counts"
fi
read -r _ splines _ paths _ arcs _ lines <"$drawing.counts"

fresh_home=1 must_measure kerfwerk "kerfwerk" "$build/kerfwerk" "$drawing" "$tmp/out.nc"
fresh_home=0 must_measure ezdxf "ezdxf" $py "$here/tools/ezdxf-read.py" "$drawing"

# The program must hold the whole drawing.
got_paths=$(tr -d '\r' <"$tmp/out.nc" | grep -c '^M07 *$' || true)
got_arcs=$(grep -c '^G0[23] ' "$tmp/out.nc" || true)
[ "$got_paths" -eq "$paths" ] || die "$got_paths paths in the program for $paths splines"
[ "$got_arcs" -ge "$arcs" ] || die "$got_arcs arc moves, fewer than the $arcs quarter circles"
grep -q "^entities $splines " "$tmp/ezdxf.out" || die "ezdxf saw $(cat "$tmp/ezdxf.out"), not $splines splines"

kw_us=${best[kerfwerk]}
ez_us=${best[ezdxf]}
goal=OK
[ "$kw_us" -lt 1000000 ] || goal=MISSED
printf '%-10s %10s %10s\n' program seconds "peak MB"
printf '%-10s %10.3f %10.1f\n' kerfwerk "$(echo "$kw_us / 1000000" | bc -l)" "$(echo "${rss_kb[kerfwerk]} / 1024" | bc -l)"
printf '%-10s %10.3f %10.1f\n' ezdxf "$(echo "$ez_us / 1000000" | bc -l)" "$(echo "${rss_kb[ezdxf]} / 1024" | bc -l)"
printf 'kerfwerk / ezdxf read: %.2f\n' "$(echo "$kw_us / $ez_us" | bc -l)"
printf 'program: %s lines, %s paths, %s arc moves (%s splines, %s straight)\n' \
  "$(wc -l <"$tmp/out.nc")" "$got_paths" "$got_arcs" "$splines" "$lines"
printf 'goal: %s splines converted under 1 s: %s\n' "$splines" "$goal"
