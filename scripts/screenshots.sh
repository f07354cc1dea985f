#!/usr/bin/env bash
# Takes the pictures of the help pages (docs/*.png) from the real program: starts it on a
# virtual screen under a window manager, works it with keys and clicks as a user would and
# photographs each window.
#
# Usage: scripts/screenshots.sh [BUILD_DIR]    (default: build; pictures go to docs/,
#                                               or to $KERFWERK_SCREENSHOTS when set)
# Needs Xvfb, openbox, xdotool and ImageMagick's import (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
exe=$(cd "$build" && pwd)/kerfwerk
out=${KERFWERK_SCREENSHOTS:-$root/docs}
[ -x "$exe" ] || { echo "no program at $exe: build it first" >&2; exit 1; }
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d)
pids=()
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number.
display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
export DISPLAY=:$display
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# Starts the program on a fresh program folder using PROFILE (one of profiles/).
start() {
  local home="$work/home-$RANDOM"
  mkdir -p "$home"
  printf '[Files]\r\nLastUsedFile=%s\r\n' "$1" >"$home/LastIni.ini"
  (cd "$work" && KERFWERK_HOME="$home" exec "$exe") >"$work/kerfwerk.log" 2>&1 &
  program=$!
  main=$(window '^Kerfwerk - ')
}
stop() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
}
# The visible window whose title matches the pattern, waiting up to 20 seconds for it (a
# search may fail while another window closes).
window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window called $1 appeared" >&2
  return 1
}
# Opens a file through File Open (F4), typing its path into the dialog.
open_file() {
  xdotool windowactivate --sync "$main"
  xdotool key F4
  local dialog
  dialog=$(window '^Open$')
  xdotool windowactivate --sync "$dialog"
  xdotool type --delay 5 -- "$1"
  xdotool key Return
  window '^Cut ' >/dev/null  # the program is plotted once it is open
}
# Puts a window at the top left of the screen at the given size, in front of the others.
place() {
  xdotool windowmove --sync "$1" 0 0
  xdotool windowsize --sync "$1" "$2" "$3"
  xdotool windowactivate --sync "$1"
  sleep 0.7
}
# Photographs a window into the picture file; more arguments go to import (e.g. -crop).
shot() {
  sleep 0.5
  import -window "$1" "${@:3}" +repage "$out/$2"
  echo "wrote $out/$2"
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
# Types a value into the spin box or line edit at x y of the window.
enter() {
  xdotool mousemove --window "$1" "$2" "$3" click --repeat 3 1
  xdotool key ctrl+a
  xdotool type --delay 20 -- "$4"
  xdotool key Tab
}
# Sets the angle box at x y of the window, which takes no typing, to a multiple of ten:
# down to -180 first, then up ten degrees a key.
angle() {
  click "$1" "$2" "$3"
  xdotool key --delay 10 --repeat 36 Down
  xdotool key --delay 10 --repeat $((($4 + 180) / 10)) Up
}
# Fits the whole program into the plot window as it is now placed: a click into the image
# gives it the keys, and Home fits.
fit() {
  click "$1" 540 450
  xdotool key Home
  sleep 1
}

# The main window with a selection (the highlighted block), and the setup window.
start kerfwerk.ini
open_file "$root/examples/bracket.nc"
xdotool windowminimize --sync "$(window '^Cut ')"
place "$main" 900 640
xdotool key ctrl+Home Down Down Down Down shift+Down shift+Down shift+Down shift+Down shift+Down
shot "$main" main.png
# The setup window comes up maximised.
xdotool key F10
setup=$(window '^Setup ')
sleep 1
shot "$setup" setup.png
# Each axis swap, with the options it relabels (the right-hand columns).
click "$setup" 1174 172
shot "$setup" setup-swap-xy.png -crop 1142x620+778+0
click "$setup" 1174 194
shot "$setup" setup-swap-yz.png -crop 1142x620+778+0
stop

# A pocket on the router, turned in 3-D: about Y -30, about X 20, about Z 15, then fitted.
start router.ini
open_file "$root/examples/pocket-router.nc"
xdotool windowminimize --sync "$main"
plot=$(window '^Cut ')
place "$plot" 1100 760
angle "$plot" 197 75 -30
angle "$plot" 258 75 20
enter "$plot" 320 75 15
fit "$plot"
shot "$plot" plot.png
stop

# A drawing converted into a program: the nested plates, fitted.
start kerfwerk.ini
open_file "$root/examples/nested-plates.dxf"
xdotool windowminimize --sync "$main"
plot=$(window '^Cut ')
place "$plot" 1100 760
fit "$plot"
shot "$plot" plot-dxf.png
stop

# The plot window at its own size after a second program was opened: fitted and centred.
start kerfwerk.ini
open_file "$root/examples/bracket.nc"
open_file "$root/examples/pocket-router.nc"
sleep 2
plot=$(window '^Cut ')
xdotool windowactivate --sync "$plot"
sleep 1
shot "$plot" plot-window.png
stop

# The caret line as character codes, with two Find and Insert texts filled in.
start kerfwerk.ini
place "$main" 900 640
for line in G90 M07 "G01 X1 Y2" M08 M30; do
  xdotool type --delay 5 -- "$line"
  xdotool key Return
done
xdotool key ctrl+Home Down Down ctrl+i
ascii=$(window '^Decimal Ascii Editor')
place "$ascii" 1000 420
enter "$ascii" 205 285 M07
enter "$ascii" 519 285 "G04 P1"
shot "$ascii" decimal-ascii.png
stop

# A part nested 3 x 2 (Grid down right with the suggested increments), the plot fitted to the
# nest, beside the array window.
start kerfwerk.ini
printf '%s\r\n' % G90 "G00 X0 Y0" M07 "G01 X0 Y8" "G02 X4 Y12 I4 J0" "G01 X8 Y12" "G01 X8 Y0" "G01 X0 Y0" \
  M08 M30 >"$work/part.nc"
open_file "$work/part.nc"
plot=$(window '^Cut ')
xdotool windowactivate --sync "$main"
xdotool key alt+a
array=$(window '^Array$')
xdotool windowmove --sync "$array" 700 480
xdotool windowactivate --sync "$array"
sleep 0.5
# The vertical and horizontal quantities, then by Tab: Suggest, Grid down right, Re Scale.
xdotool key ctrl+a type 3
xdotool key Tab ctrl+a type 2
xdotool key --delay 20 --repeat 12 Tab
xdotool key space shift+Tab space Tab Tab space
sleep 2
import -window root -crop 1920x900+0+85 +repage -colors 128 "$out/array.png"
echo "wrote $out/array.png"
stop

# A clockwise arc being drawn about the plot's origin: the rubber circle of the radius the
# first click set, the rubber line to the mouse and the numbers in the Drawing window.
start kerfwerk.ini
open_file "$work/part.nc"
plot=$(window '^Cut ')
click "$plot" 340 600
sleep 1
click "$plot" 206 10
xdotool key Down Down Return
window '^Cw Arcs$' >/dev/null
xdotool mousemove --window "$plot" 490 600 mousemove --window "$plot" 500 600 click 1
sleep 0.5
xdotool mousemove --window "$plot" 390 660 mousemove --window "$plot" 380 720
sleep 1
import -window root -crop 1920x900+0+85 +repage -colors 128 "$out/drawing.png"
echo "wrote $out/drawing.png"
stop
