#!/bin/bash
# The main window with a large converted sheet open: how long opening it keeps the program busy
# and how much memory it takes, against reading the program's lines once.
#
# Usage: bench/window-speed.sh [-n RUNS] [-b BUILD_DIR] [--entities N] [--no-build]
#   -n RUNS         windows opened, the best time and the largest peak kept (default 3)
#   -b BUILD_DIR    Release build folder (default build-bench, or $KERFWERK_BENCH_BUILD)
#   --entities N    entities of the generated R2000 sheet with ellipses (default 100000)
#   --no-build      use the binaries already in BUILD_DIR
#
#   1. Installs what is missing (Xvfb, openbox, ImageMagick, python3-ezdxf), builds kerfwerk
#      Release, writes the sheet with bench/tools/gen-sheet.py (--version R2000 --ellipse-share
#      22, the R2000E drawing of dxf-speed.sh) and converts it in batch with the bundled profile.
#   2. Starts Xvfb and openbox on a display of its own, opens the converted program in the main
#      window RUNS times and takes, for each, the time from the start until the process last
#      used the processor before two quiet seconds (the program is in the editor and plotted),
#      and its peak RSS. The last window is kept as BUILD_DIR/window-speed/window.png to look at.
#   3. Prints the figures, the ratio against the floor (kerfwerk_read_lines reading the program
#      once) and the goals: open under 3 s, peak under 600 MB.
# Exit status: 0 when every measurement ran, 1 on any failure (the goals do not change it).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)

runs=3
build=${KERFWERK_BENCH_BUILD:-$repo/build-bench}
entities=100000
do_build=1

die() { echo "window-speed: $*" >&2; exit 1; }
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

py=/usr/bin/python3
work=$build/window-speed
mkdir -p "$work"
tmp=$(mktemp -d)
xpids=()
cleanup() {
  for pid in "${xpids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
# shellcheck source=tools/common.sh
source "$here/tools/common.sh"

"$repo/scripts/install-deps.sh"
missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v openbox >/dev/null || missing+=(openbox)
command -v import >/dev/null || missing+=(imagemagick)
{ [ -x $py ] && $py -c 'import ezdxf' 2>/dev/null; } || missing+=(python3-ezdxf)
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"

build_release window-speed kerfwerk kerfwerk_read_lines

drawing=$work/sheet-R2000E-$entities.dxf
if [ ! -s "$drawing" ] || [ "$here/tools/gen-sheet.py" -nt "$drawing" ]; then
  say "Writing $drawing"
  $py "$here/tools/gen-sheet.py" "$drawing.part" --entities "$entities" --version R2000 --ellipse-share 22 \
    >/dev/null || die "gen-sheet.py could not write $drawing"
  mv "$drawing.part" "$drawing"
fi
program=$work/sheet-R2000E-$entities.nc
mkdir -p "$tmp/convert-home"
KERFWERK_HOME=$tmp/convert-home "$build/kerfwerk" "$drawing" "$program" 2>"$tmp/convert.err" ||
  { tail -n 5 "$tmp/convert.err" >&2; die "kerfwerk could not convert $drawing"; }
lines=$(wc -l <"$program")

# The floor: the program's lines read once.
fresh_home=0
must_measure floor "reading the program's lines" "$build/bench/kerfwerk_read_lines" "$program"

# A display of its own with a window manager.
display=
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=:$n; break; fi
done
[ -n "$display" ] || die "no free X display between :90 and :120"
Xvfb "$display" -screen 0 1600x1000x24 >"$tmp/xvfb.log" 2>&1 &
xpids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${display#:}" ] || die "Xvfb did not start on $display"
DISPLAY=$display openbox >"$tmp/openbox.log" 2>&1 &
xpids+=($!)
sleep 1

# open_window: opens the program, sets $open_s (seconds until the last use of the processor
# before two quiet seconds) and $peak_kb, keeps a screenshot.
ticks_of() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null; }
open_window() {
  local home pid t0 last now ticks quiet=0 busy_until
  home=$(mktemp -d "$tmp/home.XXXXXX")
  t0=$EPOCHREALTIME
  DISPLAY=$display KERFWERK_HOME=$home "$build/kerfwerk" "$program" >"$tmp/window.out" 2>&1 &
  pid=$!
  last=-1
  busy_until=$t0
  while kill -0 "$pid" 2>/dev/null; do
    sleep 0.1
    ticks=$(ticks_of "$pid") || break
    now=$EPOCHREALTIME
    if [ "$ticks" = "$last" ]; then
      quiet=$((quiet + 1))
      [ $quiet -ge 20 ] && break
    else
      quiet=0
      last=$ticks
      busy_until=$now
    fi
  done
  kill -0 "$pid" 2>/dev/null || die "the window closed by itself: $(tail -n 3 "$tmp/window.out")"
  peak_kb=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
  open_s=$(awk -v a="$t0" -v b="$busy_until" 'BEGIN { printf "%.3f", b - a }')
  DISPLAY=$display import -window root "$work/window.png" 2>/dev/null || say "no screenshot taken"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  rm -rf "$home"
}

say "Opening $program ($lines lines) in the main window, $runs times, on $display"
best_s=
max_kb=0
for ((i = 1; i <= runs; i++)); do
  open_window
  say "  run $i: $open_s s, $((peak_kb / 1024)) MB"
  if [ -z "$best_s" ] || awk -v a="$open_s" -v b="$best_s" 'BEGIN { exit !(a < b) }'; then best_s=$open_s; fi
  [ "$peak_kb" -gt "$max_kb" ] && max_kb=$peak_kb
done

floor_s=$(awk -v us="${best[floor]}" 'BEGIN { printf "%.3f", us / 1e6 }')
peak_mb=$((max_kb / 1024))
verdict() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b) ? "met" : "MISSED" }'; }
echo "Main window with a converted sheet open: best of $runs (load average $(cut -d' ' -f1 /proc/loadavg))"
echo "  program: $lines lines, $(( $(stat -c %s "$program") / 1024 / 1024 )) MB, from $entities entities"
echo "  floor, reading its lines once:  $floor_s s"
echo "  opening the window:             $best_s s, peak $peak_mb MB, $(awk -v a="$best_s" -v b="$floor_s" 'BEGIN { printf "%.1f", a / b }') times the floor"
echo "  goal, open under 3 s:           $(verdict "$best_s" 3)"
echo "  goal, peak under 600 MB:        $(verdict "$peak_mb" 600)"
echo "  screenshot of the last window:  $work/window.png"
