# Shell helpers of the whole-process benchmarks (plot-speed.sh, dxf-speed.sh, spline-speed.sh,
# window-speed.sh, holes-first.sh). The script that sources this file defines die(), $runs (runs
# per measurement) and $tmp (a scratch folder).

say() { printf '%s\n' "$*" >&2; }

# apt_install PACKAGE...: installs Debian packages, through sudo when not root.
apt_install() {
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || die "please run as root or install sudo; missing: $*"
    sudo=sudo
  fi
  say "Installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

# measure KEY CMD...: runs CMD $runs times under GNU time, keeps the best wall-clock time
# (taken around the run with bash's microsecond clock) in best[KEY] and the largest peak RSS
# in rss_kb[KEY]; the last run's stdout stays in $tmp/KEY.out. With fresh_home=1 every run gets
# a new empty KERFWERK_HOME, holding a copy of $seed_ini as kerfwerk.ini when that is set. A
# failing run returns 1 with the reason in $tmp/KEY.err.
declare -A best rss_kb
measure() {
  local key=$1 i t0 t1 us kb home prefix
  shift
  for ((i = 1; i <= ${measure_runs:-$runs}; i++)); do
    home=""
    prefix=()
    if [ "${fresh_home:-0}" -eq 1 ]; then
      home=$(mktemp -d "$tmp/home.XXXXXX")
      [ -z "${seed_ini:-}" ] || cp "$seed_ini" "$home/kerfwerk.ini"
      prefix=(env KERFWERK_HOME="$home")
    fi
    t0=$EPOCHREALTIME
    if ! /usr/bin/time -f '%e %M' -o "$tmp/$key.rss" "${prefix[@]}" "$@" >"$tmp/$key.out" 2>"$tmp/$key.err"; then
      [ -z "$home" ] || rm -rf "$home"
      return 1
    fi
    t1=$EPOCHREALTIME
    [ -z "$home" ] || rm -rf "$home"
    us=$(( ${t1//[.,]/} - ${t0//[.,]/} ))
    read -r _ kb < <(tail -n 1 "$tmp/$key.rss")
    if [ -z "${best[$key]:-}" ] || [ "$us" -lt "${best[$key]}" ]; then best[$key]=$us; fi
    if [ -z "${rss_kb[$key]:-}" ] || [ "$kb" -gt "${rss_kb[$key]}" ]; then rss_kb[$key]=$kb; fi
  done
}

# must_measure KEY WHAT CMD...: measure, and stop the script when a run fails.
must_measure() {
  local key=$1 what=$2
  shift 2
  measure "$key" "$@" || { tail -n 5 "$tmp/$key.err" >&2; die "$what failed"; }
}

# build_release NAME TARGET...: when $do_build is 1, builds the TARGETs in $build, Release and
# with the benchmarks (the log in $build/NAME-build.log, its end shown when the build fails);
# then checks that every target's program is there and that $build is a Release build. The
# script defines $repo, $build and $do_build.
build_release() {
  local name=$1 target exe build_type
  shift
  if [ "$do_build" -eq 1 ]; then
    say "Building Release with the benchmarks in $build (log: $build/$name-build.log)"
    if ! { cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
             -DKERFWERK_BENCH=ON -DKERFWERK_TESTS=OFF &&
           cmake --build "$build" -j"${JOBS:-2}" --target "$@"; } >"$build/$name-build.log" 2>&1; then
      tail -n 30 "$build/$name-build.log" >&2
      die "the build failed; the whole log is in $build/$name-build.log"
    fi
  fi
  for target in "$@"; do
    exe=$build/bench/$target
    [ "$target" != kerfwerk ] || exe=$build/kerfwerk
    [ -x "$exe" ] || die "$exe is missing (build without --no-build)"
  done
  build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
  [ "$build_type" = Release ] || say "warning: $build is a '$build_type' build, not Release"
}
