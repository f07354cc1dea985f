#!/usr/bin/env bash
# Whole-process speed of the DXF conversion on a generated sheet of nested parts, against the
# floor of reading the file line by line and against three other programs that read DXF.
#
# Usage: bench/dxf-speed.sh [-n RUNS] [-b BUILD_DIR] [-d RUNS] [--small N] [--large N]
#                           [--no-dxf2gcode] [--no-build]
#   -n RUNS         wall-clock runs per program and drawing, the best one counts (default 3)
#   -b BUILD_DIR    Release build with the benchmarks (default build-bench in the repository,
#                   or $KERFWERK_BENCH_BUILD)
#   -d RUNS         runs of dxf2gcode, which takes half a minute or more (default 1)
#   --small N       entities of the small drawings (default 10000)
#   --large N       entities of the large drawings (default 100000, about 13 MB)
#   --no-dxf2gcode  leave dxf2gcode out (its row then reads "skipped")
#   --no-build      use the binaries already in BUILD_DIR
#
# What it does:
#   1. Installs what is missing (the project's build packages, python3-ezdxf, dxf2gcode, GNU
#      time, node and npm; the npm package dxf-parser goes to BUILD_DIR/dxf-speed/npm), builds
#      Release with -DKERFWERK_BENCH=ON and writes six drawings with bench/tools/gen-sheet.py
#      (ezdxf): R12 (POLYLINE / VERTEX / SEQEND), R2000 (LWPOLYLINE with bulges, ELLIPSE) and
#      R2000E (R2000 with about one entity in 22 an ELLIPSE, whole and half ones:
#      --ellipse-share 22), small and large, into BUILD_DIR/dxf-speed/ (kept, and written again
#      only when the generator changes). It checks that every program does the whole work: kerfwerk's program
#      has one path per contour of the sheet, one arc move per arc, bulge and circle, and at
#      least one straight move per straight segment; ezdxf and dxf-parser see every entity and
#      every polyline vertex; dxf2gcode writes one shape per contour.
#   2. Times, best of RUNS wall-clock runs each (for each drawing the programs take turns, one
#      run each per round), with the peak RSS (GNU time %M):
#        floor       kerfwerk_read_lines FILE (std::getline, every line a string)
#        kerfwerk    kerfwerk FILE OUT.nc: the whole conversion (reading, path ordering,
#                    clean-up passes, line order, writing), each run in a fresh KERFWERK_HOME
#        ezdxf       ezdxf.readfile only (bench/tools/ezdxf-read.py, Debian's python3-ezdxf)
#        dxf-parser  parseSync only (node bench/tools/dxf-parser-run.js)
#        dxf2gcode   dxf2gcode -q -e OUT.ngc FILE, small drawings only (offscreen Qt)
#      and on the large R2000E drawing the conversion once more with "EllipsePoints" 720 in the
#      profile, then `kerfwerk --report` of the program that conversion wrote, against the
#      floor of reading that program.
#   3. Prints the table with the ratios kerfwerk / floor, kerfwerk / fastest peer parse,
#      kerfwerk / dxf2gcode and the linearity (large time / small time / (large / small)), and
#      the goals for the large drawings: R12 under 0.4 s and 100 MB; R2000 and R2000E under
#      1.5 s and 300 MB and faster than dxf-parser's parsing alone; R2000E with "EllipsePoints"
#      720 under 2.5 s and 400 MB; its --report under 1 s with a peak RSS under 1.5 times the
#      program's size. A missed goal is printed as MISSED.
#
# dxf2gcode's 2-D canvas crashes when it draws the export route under the current PyQt5 (a
# float font size), so the script runs it with its 3-D view ("mode3d = True" in a private
# config under a temporary HOME), whose export works without a display.
# Exit status: 0 when every measurement ran, 1 on any failure (the goals do not change it).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)

runs=3
d2g_runs=1
build=${KERFWERK_BENCH_BUILD:-$repo/build-bench}
small=10000
large=100000
do_build=1
do_d2g=1

die() { echo "dxf-speed: $*" >&2; exit 1; }
usage() { sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d' | sed 's/^# \{0,1\}//'; }

while [ $# -gt 0 ]; do
  case $1 in
    -n) [ $# -ge 2 ] || die "-n needs a number"; runs=$2; shift 2 ;;
    -b) [ $# -ge 2 ] || die "-b needs a folder"; build=$2; shift 2 ;;
    -d) [ $# -ge 2 ] || die "-d needs a number"; d2g_runs=$2; shift 2 ;;
    --small) [ $# -ge 2 ] || die "--small needs a number"; small=$2; shift 2 ;;
    --large) [ $# -ge 2 ] || die "--large needs a number"; large=$2; shift 2 ;;
    --no-dxf2gcode) do_d2g=0; shift ;;
    --no-build) do_build=0; shift ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; die "unknown argument: $1" ;;
  esac
done
for v in "$runs" "$d2g_runs" "$small" "$large"; do
  [[ $v =~ ^[1-9][0-9]*$ ]] || die "'$v' is not a positive whole number"
done
[ "$small" -lt "$large" ] || die "the small drawing ($small) must have fewer entities than the large one ($large)"
mkdir -p "$build"
build=$(cd "$build" && pwd)
case $build/ in "$repo"/bench/*) die "the build folder must not be inside bench/: $build" ;; esac

py=/usr/bin/python3  # Debian's python, whose ezdxf is python3-ezdxf (a pyenv python may come first on PATH)
work=$build/dxf-speed
npm_dir=$work/npm
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# shellcheck source=tools/common.sh
source "$here/tools/common.sh"


# ---------------------------------------------------------------------------------------------
# 1. Tools, build and drawings
# ---------------------------------------------------------------------------------------------

"$repo/scripts/install-deps.sh"
missing=()
{ [ -x $py ] && $py -c 'import ezdxf' 2>/dev/null; } || missing+=(python3-ezdxf)
[ -x /usr/bin/time ] || missing+=(time)
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
if [ $do_d2g -eq 1 ]; then command -v dxf2gcode >/dev/null || missing+=(dxf2gcode); fi
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"
$py -c 'import ezdxf' 2>/dev/null || die "$py cannot import ezdxf after installing python3-ezdxf"

if [ ! -f "$npm_dir/node_modules/dxf-parser/package.json" ]; then
  say "Installing the npm package dxf-parser into $npm_dir"
  mkdir -p "$npm_dir"
  npm install --prefix "$npm_dir" --no-save --no-audit --no-fund --loglevel=error \
    dxf-parser@1 >"$tmp/npm.log" 2>&1 || { cat "$tmp/npm.log" >&2; die "npm install dxf-parser failed"; }
fi

build_release dxf-speed kerfwerk kerfwerk_read_lines

# The drawings: sheet-<version>-<entities>.dxf with the generator's counts beside them in
# .counts. They are written again when the generator is newer than the drawing.
mkdir -p "$work"
generator=$here/tools/gen-sheet.py
versions=(R12 R2000 R2000E)
sizes=("$small" "$large")
declare -A drawing counts
for version in "${versions[@]}"; do
  for size in "${sizes[@]}"; do
    key=$version-$size
    file=$work/sheet-$key.dxf
    if [ ! -s "$file" ] || [ ! -s "$file.counts" ] || [ "$generator" -nt "$file" ]; then
      say "Writing $file ($size entities, $version, ezdxf)"
      options=(--version "$version")
      [ "$version" != R2000E ] || options=(--version R2000 --ellipse-share 22)
      $py "$generator" "$file.part" --entities "$size" "${options[@]}" >"$file.counts.part" ||
        die "gen-sheet.py could not write $file"
      mv "$file.part" "$file"
      mv "$file.counts.part" "$file.counts"
    fi
    drawing[$key]=$file
    counts[$key]=$(cat "$file.counts")
  done
done

# count KEY NAME: one of the generator's counts of drawing KEY.
count() {
  local words
  read -r -a words <<<"${counts[$1]}"
  local i
  for ((i = 0; i + 1 < ${#words[@]}; i += 2)); do
    [ "${words[i]}" = "$2" ] && { echo "${words[i + 1]}"; return 0; }
  done
  die "no count '$2' for the drawing $1"
}

# ---------------------------------------------------------------------------------------------
# 2. Timings
# ---------------------------------------------------------------------------------------------
declare -A kw_check

# The program the batch conversion wrote must hold the whole sheet: the words come from the
# bundled profile the first start seeds into the program folder.
check_kerfwerk() {
  local key=$1 out=$2 profile=$3
  $py - "$out" "$profile" "$key" "${counts[$key]}" <<'EOF'
import sys
out, profile, key, counts = sys.argv[1:]
words = counts.split()
n = {words[i]: int(words[i + 1]) for i in range(0, len(words) - 1, 2)}
ini = {}
for line in open(profile, encoding="latin-1"):
    if "=" in line:
        name, value = line.rstrip("\r\n").split("=", 1)
        ini.setdefault(name.strip(), value.strip())
line_word, cw, ccw, cut_on = ini["Line"], ini["Arc Cw"], ini["Arc Ccw"], ini["Begin Block"]
ellipse_points = int(float(ini.get("EllipsePoints", "360") or 360))
paths = arcs = straight = 0
for line in open(out, encoding="latin-1"):
    tokens = line.split()
    if not tokens:
        continue
    if cut_on in tokens:
        paths += 1
    if tokens[0] in (cw, ccw):
        arcs += 1
    elif tokens[0] == line_word:
        straight += 1
want_straight = n["straight"] + n["contours"]
if key.startswith("R2000"):
    want_straight += n["ellipses"] * ellipse_points
problems = []
if paths != n["contours"]:
    problems.append(f"{paths} paths ('{cut_on}' lines) for {n['contours']} contours")
if arcs != n["arcmoves"]:
    problems.append(f"{arcs} arc moves for {n['arcmoves']} arcs, bulges and circles")
if straight < want_straight:
    problems.append(f"{straight} straight moves, fewer than the {want_straight} segments and path starts")
if problems:
    sys.exit(f"{out}: " + "; ".join(problems))
print(f"{paths} paths, {arcs} arc moves, {straight} straight moves")
EOF
}

# check_counts KEY PROGRAM: the entities and vertices a peer printed are those of the drawing.
check_counts() {
  local key=$1 name=$2 e v
  read -r _ e _ v _ <"$tmp/$name-$key.out" || true
  [ "${e:-}" = "$(count "$key" entities)" ] && [ "${v:-}" = "$(count "$key" vertices)" ] ||
    die "$name saw '$(cat "$tmp/$name-$key.out")' in ${drawing[$key]}, not $(count "$key" entities) entities and $(count "$key" vertices) vertices"
}

read -r load1 _ </proc/loadavg
say "Timing, best of $runs runs each (load average $load1 on $(nproc) cores)"

# A private folder for the check run: the bundled profiles are seeded into it.
check_home=$tmp/check-home
for version in "${versions[@]}"; do
  for size in "${sizes[@]}"; do
    key=$version-$size
    file=${drawing[$key]}
    say "  $key: floor, kerfwerk, ezdxf, dxf-parser"
    rm -rf "$check_home"
    mkdir -p "$check_home"
    KERFWERK_HOME=$check_home "$build/kerfwerk" "$file" "$tmp/check.nc" 2>"$tmp/check.err" ||
      { tail -n 5 "$tmp/check.err" >&2; die "kerfwerk could not convert $file"; }
    kw_check[$key]=$(check_kerfwerk "$key" "$tmp/check.nc" "$check_home/kerfwerk.ini") ||
      die "kerfwerk's program from $file is incomplete"

    # The four programs take turns, one run each per round, so that a slow spell of the
    # machine falls on all of them alike rather than on the five runs of one.
    for ((round = 1; round <= runs; round++)); do
      measure_runs=1 must_measure "floor-$key" "kerfwerk_read_lines $file" \
        "$build/bench/kerfwerk_read_lines" "$file"
      measure_runs=1 fresh_home=1 must_measure "kerfwerk-$key" "kerfwerk $file" \
        "$build/kerfwerk" "$file" "$tmp/out.nc"
      measure_runs=1 must_measure "ezdxf-$key" "ezdxf.readfile $file" $py "$here/tools/ezdxf-read.py" "$file"
      measure_runs=1 NODE_PATH=$npm_dir/node_modules must_measure "dxfparser-$key" "dxf-parser $file" \
        node "$here/tools/dxf-parser-run.js" "$file"
    done
    check_counts "$key" ezdxf
    check_counts "$key" dxfparser
  done
done

# The large drawing with ellipses once more with 720 points to an ellipse, and --report of the
# program it makes: both in a program folder whose profile is the bundled one with that change.
key=R2000E-$large
say "  $key: kerfwerk with EllipsePoints 720, --report of its program"
ini720=$tmp/kerfwerk-720.ini
sed 's/^EllipsePoints=.*/EllipsePoints=720/' "$check_home/kerfwerk.ini" >"$ini720"
grep -q '^EllipsePoints=720$' "$ini720" || die "no EllipsePoints line in the bundled profile"
rm -rf "$check_home"
mkdir -p "$check_home"
cp "$ini720" "$check_home/kerfwerk.ini"
KERFWERK_HOME=$check_home "$build/kerfwerk" "${drawing[$key]}" "$tmp/out720.nc" 2>"$tmp/check.err" ||
  { tail -n 5 "$tmp/check.err" >&2; die "kerfwerk could not convert ${drawing[$key]} with EllipsePoints 720"; }
check720=$(check_kerfwerk "$key" "$tmp/out720.nc" "$check_home/kerfwerk.ini") ||
  die "kerfwerk's program from ${drawing[$key]} with EllipsePoints 720 is incomplete"
fresh_home=1 seed_ini=$ini720 must_measure "kerfwerk720" "kerfwerk with EllipsePoints 720" \
  "$build/kerfwerk" "${drawing[$key]}" "$tmp/out.nc"
must_measure "floor-report" "kerfwerk_read_lines $tmp/out720.nc" "$build/bench/kerfwerk_read_lines" "$tmp/out720.nc"
fresh_home=1 must_measure "report" "kerfwerk --report" "$build/kerfwerk" --report "$tmp/out720.nc"
report_lines=$(wc -l <"$tmp/out720.nc")
report_bytes=$(stat -c %s "$tmp/out720.nc")

# dxf2gcode on the small drawings: its configuration lives under a temporary HOME; the first
# start writes it, and the 3-D view is switched on there (see the head of this script).
d2g_status=skipped
declare -A d2g_note
if [ $do_d2g -eq 1 ]; then
  d2g_status=ran
  d2g_home=$tmp/d2g-home
  mkdir -p "$d2g_home"
  d2g_env=(env HOME="$d2g_home" XDG_RUNTIME_DIR="$d2g_home" QT_QPA_PLATFORM=offscreen)
  "${d2g_env[@]}" dxf2gcode --help >/dev/null 2>&1 || true
  d2g_config=$d2g_home/.config/dxf2gcode/config/config.cfg
  if [ ! -f "$d2g_config" ] || ! grep -q '^ *mode3d *= *False' "$d2g_config"; then
    d2g_status="no configuration with mode3d written to $d2g_config"
  else
    sed -i 's/^\( *mode3d *= *\)False/\1True/' "$d2g_config"
    for version in "${versions[@]}"; do
      key=$version-$small
      say "  $key: dxf2gcode (best of $d2g_runs)"
      rm -f "$tmp/d2g.ngc"
      if ! measure_runs=$d2g_runs measure "d2g-$key" "${d2g_env[@]}" dxf2gcode -q -e "$tmp/d2g.ngc" "${drawing[$key]}"; then
        d2g_note[$key]="failed: $(grep -m1 -E 'Error|error' "$tmp/d2g-$key.err" || echo "exit status not 0")"
        unset "best[d2g-$key]"
        continue
      fi
      shapes=$(grep -c 'SHAPE Nr' "$tmp/d2g.ngc" 2>/dev/null || true)
      if [ "${shapes:-0}" != "$(count "$key" contours)" ]; then
        d2g_note[$key]="wrote ${shapes:-no} shapes for $(count "$key" contours) contours"
        unset "best[d2g-$key]"
      fi
    done
  fi
fi

# ---------------------------------------------------------------------------------------------
# 3. Table
# ---------------------------------------------------------------------------------------------
table_args=("$runs" "$d2g_runs" "$load1" "$small" "$large" "$d2g_status" "$check720"
            "${best[kerfwerk720]}" "${rss_kb[kerfwerk720]}" "${best[floor-report]}" "${rss_kb[floor-report]}"
            "${best[report]}" "${rss_kb[report]}" "$report_lines" "$report_bytes")
for version in "${versions[@]}"; do
  for size in "${sizes[@]}"; do
    key=$version-$size
    table_args+=("$key" "$(stat -L -c %s "${drawing[$key]}")" "${kw_check[$key]}" "${d2g_note[$key]:-}")
    for prog in floor kerfwerk ezdxf dxfparser d2g; do
      table_args+=("${best[$prog-$key]:-}" "${rss_kb[$prog-$key]:-}")
    done
  done
done
status=0
$py - "${table_args[@]}" <<'EOF' || status=1
import sys
args = sys.argv[1:]
runs, d2g_runs, load, small, large, d2g_status = args[:6]
check720, kw720_us, kw720_kb, floorrep_us, floorrep_kb, rep_us, rep_kb, rep_lines, rep_bytes = args[6:15]
small, large = int(small), int(large)
rest = args[15:]
progs = ["floor", "kerfwerk", "ezdxf", "dxfparser", "d2g"]
data = {}
while rest:
    key, size, check, note = rest[:4]
    vals = rest[4:4 + 2 * len(progs)]
    rest = rest[4 + 2 * len(progs):]
    d = {"bytes": int(size), "check": check, "note": note}
    for i, p in enumerate(progs):
        us, kb = vals[2 * i], vals[2 * i + 1]
        d[p] = (int(us) / 1e6 if us else None, int(kb) * 1024 / 1e6 if kb else None)
    data[key] = d
keys = list(data)
labels = {
    "floor": "floor: kerfwerk_read_lines",
    "kerfwerk": "kerfwerk DRAWING OUT.nc",
    "ezdxf": "ezdxf.readfile",
    "dxfparser": "dxf-parser parseSync",
    "d2g": "dxf2gcode -q -e OUT.ngc",
}
def k(n):
    return f"{n // 1000}k" if n % 1000 == 0 else str(n)
heads = [f"{key.split('-')[0]} {k(int(key.split('-')[1]))}" for key in keys]
print(f"DXF conversion speed: best of {runs} wall-clock runs (dxf2gcode: {d2g_runs}); "
      f"load average {load} at the start")
print(f"{'drawing':28}" + "".join(f"{h:>18}" for h in heads))
print(f"{'  size':28}" + "".join(f"{data[key]['bytes'] / 1e6:>15.1f} MB" for key in keys))
print(f"{'':28}" + "".join(f"{'seconds':>10}{'RSS MB':>8}" for _ in keys))
missing = False
for p in progs:
    cells = []
    for key in keys:
        t, rss = data[key][p]
        if t is not None:
            cells.append(f"{t:>10.3f}{rss:>8.0f}")
        elif p == "d2g" and int(key.split("-")[1]) != small:
            cells.append(f"{'':>18}")
        elif p == "d2g" and d2g_status != "ran":
            cells.append(f"{'skipped' if d2g_status == 'skipped' else 'n/a':>18}")
            missing = missing or d2g_status != "skipped"
        else:
            cells.append(f"{'n/a':>18}")
            missing = True
    print(f"{labels[p]:28}" + "".join(cells))
print()
def ratio(a, b):
    return a / b if a is not None and b else None
def peer(key):
    times = [data[key][p][0] for p in ("ezdxf", "dxfparser") if data[key][p][0] is not None]
    return min(times) if times else None
rows = [
    ("kerfwerk / floor", lambda key: ratio(data[key]["kerfwerk"][0], data[key]["floor"][0])),
    ("kerfwerk / fastest peer parse", lambda key: ratio(data[key]["kerfwerk"][0], peer(key))),
    ("kerfwerk / dxf2gcode", lambda key: ratio(data[key]["kerfwerk"][0], data[key]["d2g"][0])),
]
for name, f in rows:
    cells = [f(key) for key in keys]
    print(f"{name:28}" + "".join(f"{c:>18.3f}" if c is not None else f"{'':>18}" for c in cells))
print()
scale = large / small
print(f"Linearity, time({k(large)}) / time({k(small)}) / {scale:g} (1.0 = linear; process start-up "
      "makes the small run relatively dear):")
for p in ("floor", "kerfwerk", "ezdxf", "dxfparser"):
    cells = []
    for version in ("R12", "R2000", "R2000E"):
        a, b = data[f"{version}-{large}"][p][0], data[f"{version}-{small}"][p][0]
        cells.append(f"{version} {a / b / scale:.2f}" if a and b else f"{version} n/a")
    print(f"  {labels[p]:28}" + "   ".join(cells))
print()
def goal(text, value, limit, met):
    print(f"{text + ':':52} {value:>9} (goal {limit}): {'met' if met else 'MISSED'}")
kw720 = (int(kw720_us) / 1e6, int(kw720_kb) * 1024 / 1e6)
floorrep = (int(floorrep_us) / 1e6, int(floorrep_kb) * 1024 / 1e6)
rep = (int(rep_us) / 1e6, int(rep_kb) * 1024 / 1e6)
rep_mb = int(rep_bytes) / 1e6
e = f"R2000E-{large}"
print(f"{'R2000E ' + k(large) + ', EllipsePoints 720':28}{kw720[0]:>10.3f}{kw720[1]:>8.0f}   "
      f"kerfwerk / floor {kw720[0] / data[e]['floor'][0]:.1f}, / dxf-parser {kw720[0] / data[e]['dxfparser'][0]:.2f}")
print(f"{'--report of its program':28}{rep[0]:>10.3f}{rep[1]:>8.0f}   "
      f"{int(rep_lines):,} lines, {rep_mb:.1f} MB; floor {floorrep[0]:.3f} s, --report / floor {rep[0] / floorrep[0]:.1f}")
print()
limits = {"R12": (0.4, 100), "R2000": (1.5, 300), "R2000E": (1.5, 300)}
for version in ("R12", "R2000", "R2000E"):
    key = f"{version}-{large}"
    t, rss = data[key]["kerfwerk"]
    seconds, mb = limits[version]
    goal(f"kerfwerk {version} {k(large)}, whole conversion", f"{t:.3f} s", f"under {seconds} s", t < seconds)
    goal(f"kerfwerk {version} {k(large)}, peak RSS", f"{rss:.0f} MB", f"under {mb} MB", rss < mb)
    if version != "R12" and data[key]["dxfparser"][0] is not None:
        p = data[key]["dxfparser"][0]
        goal(f"kerfwerk {version} {k(large)} / dxf-parser parse", f"{t / p:.2f}", "under 1", t < p)
goal(f"kerfwerk R2000E {k(large)} EllipsePoints 720", f"{kw720[0]:.3f} s", "under 2.5 s", kw720[0] < 2.5)
goal(f"kerfwerk R2000E {k(large)} EllipsePoints 720, peak RSS", f"{kw720[1]:.0f} MB", "under 400 MB", kw720[1] < 400)
goal("--report of that program", f"{rep[0]:.3f} s", "under 1 s", rep[0] < 1)
goal("--report peak RSS / program size", f"{rep[1] / rep_mb:.2f}", "under 1.5", rep[1] < 1.5 * rep_mb)
print()
print(f"Check of the EllipsePoints 720 program: {check720}")
print("Checks of kerfwerk's program: " + "; ".join(f"{key}: {data[key]['check']}" for key in keys))
for key in keys:
    if data[key]["note"]:
        print(f"dxf2gcode on {key}: {data[key]['note']}")
if d2g_status not in ("ran", "skipped"):
    print(f"dxf2gcode: {d2g_status}")
sys.exit(1 if missing else 0)
EOF
exit $status
