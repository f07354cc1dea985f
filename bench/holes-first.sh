#!/usr/bin/env bash
# "Holes first, short rapids" on the generated sheets of nested plates: the rapid travel of the
# ordered program against the default order (both measured with --report), and the time the
# ordering adds to the whole conversion.
#
# Usage: bench/holes-first.sh [-n RUNS] [-b BUILD_DIR] [--no-build]
#   -n RUNS         wall-clock runs of each conversion, the best one counts (default 3)
#   -b BUILD_DIR    Release build (default build-bench in the repository, or $KERFWERK_BENCH_BUILD)
#   --no-build      use the kerfwerk binary already in BUILD_DIR
#
# The sheets (10,000 and 100,000 entities, R12 and R2000) are written by bench/tools/gen-sheet.py
# with its plain-text writer into BUILD_DIR/holes-first/. Each is converted with the bundled
# plasma profile as it is and with HolesFirst=1. Prints per sheet: both rapid distances, their
# ratio (goal: at most 0.55), both conversion times and the difference (goal: under 1 s extra),
# and whether every hole of the ordered program comes before its outline
# (tests/tools/check_holes_first.py checks the same on a small sheet as a test).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
runs=3
build=${KERFWERK_BENCH_BUILD:-$repo/build-bench}
do_build=1
die() { echo "holes-first: $*" >&2; exit 1; }
while [ $# -gt 0 ]; do
  case $1 in
    -n) runs=$2; shift 2 ;;
    -b) build=$2; shift 2 ;;
    --no-build) do_build=0; shift ;;
    *) sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d' | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
  esac
done
mkdir -p "$build"
build=$(cd "$build" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# shellcheck source=tools/common.sh
source "$here/tools/common.sh"
[ -x /usr/bin/time ] || apt_install time
build_release holes-first kerfwerk
exe=$build/kerfwerk
work=$build/holes-first
mkdir -p "$work"
sed 's/^HolesFirst=0/HolesFirst=1/' "$repo/profiles/kerfwerk.ini" >"$work/holes-first.ini"

status=0
printf '%-14s %12s %12s %6s %9s %9s %8s %s\n' sheet "rapid" "rapid first" ratio "time s" "first s" "extra s" "holes first"
for entities in 10000 100000; do
  for version in R12 R2000; do
    sheet=$work/sheet-$version-$entities.dxf
    [ -s "$sheet" ] && [ "$sheet" -nt "$here/tools/gen-sheet.py" ] ||
      /usr/bin/python3 "$here/tools/gen-sheet.py" "$sheet" --entities "$entities" --version "$version" --writer text >/dev/null
    key=$version-$entities
    fresh_home=1 must_measure "plain$key" "default order" "$exe" "$sheet" "$tmp/plain$key.nc" "$repo/profiles/kerfwerk.ini"
    fresh_home=1 must_measure "first$key" "holes first" "$exe" "$sheet" "$tmp/first$key.nc" "$work/holes-first.ini"
    r0=$(KERFWERK_HOME=$tmp/h "$exe" --report "$tmp/plain$key.nc" | grep -o 'Rapid [0-9.]*' | head -1 | cut -d' ' -f2)
    r1=$(KERFWERK_HOME=$tmp/h "$exe" --report "$tmp/first$key.nc" --profile "$work/holes-first.ini" |
      grep -o 'Rapid [0-9.]*' | head -1 | cut -d' ' -f2)
    ratio=$(echo "$r1 / $r0" | bc -l)
    extra=$(echo "(${best[first$key]} - ${best[plain$key]}) / 1000000" | bc -l)
    late=$(/usr/bin/python3 - "$tmp/first$key.nc" <<'PY'
import re, sys
boxes, pts = [], None
for line in open(sys.argv[1]):
    if line.startswith("M07"): pts = []
    elif line.startswith("M08") and pts:
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]; boxes.append((min(xs), min(ys), max(xs), max(ys))); pts = None
    elif pts is not None:
        x, y = re.search(r"X(-?[\d.]+)", line), re.search(r"Y(-?[\d.]+)", line)
        if x and y: pts.append((float(x.group(1)), float(y.group(1))))
# Plates stand in cells of their own: a box inside another lies in the same cell.
cells = {}
for i, b in enumerate(boxes): cells.setdefault((int(b[0] // 60), int(b[1] // 40)), []).append(i)
inside = lambda a, b: b[0] < a[0] and b[1] < a[1] and a[2] < b[2] and a[3] < b[3]
print(sum(1 for ids in cells.values() for i in ids for j in ids if i > j and inside(boxes[i], boxes[j])))
PY
)
    verdict="yes"
    [ "$late" -eq 0 ] || { verdict="NO ($late late)"; status=1; }
    awk -v r="$ratio" 'BEGIN { exit !(r <= 0.55) }' || { verdict="$verdict, ratio MISSED"; status=1; }
    awk -v e="$extra" 'BEGIN { exit !(e < 1) }' || { verdict="$verdict, extra time MISSED"; status=1; }
    printf '%-14s %12.1f %12.1f %6.3f %9.3f %9.3f %8.3f %s\n' "$version-$entities" "$r0" "$r1" "$ratio" \
      "$(echo "${best[plain$key]} / 1000000" | bc -l)" "$(echo "${best[first$key]} / 1000000" | bc -l)" "$extra" "$verdict"
  done
done
exit $status
