#!/usr/bin/env bash
# Installs what is missing, builds Release and runs Kerfwerk with the given arguments.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
scripts/install-deps.sh
mkdir -p build
if ! { cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKERFWERK_TESTS=OFF &&
       cmake --build build -j2; } >build/build.log 2>&1; then
  tail -n 40 build/build.log
  echo "The build failed; the whole log is in build/build.log." >&2
  exit 1
fi
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "No display is available, so the program window cannot open."
  echo "Convert a sample program without a window instead:"
  echo "  ./run.sh examples/bracket.nc out.nc"
  exit 1
fi
# Arguments are paths as the user typed them, relative to where run.sh was started.
cd "$OLDPWD"
exec "$here/build/kerfwerk" "$@"
