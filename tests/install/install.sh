#!/bin/bash
# Installs the build into a fresh prefix that nobody may write, and runs the installed program
# from there without a display, as a user whose only writable folder is the home folder.
# Usage: install.sh BUILD_DIR WORK_DIR
set -u
build=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
source=$(realpath "$here/../..")
[ -d "$work" ] && chmod -R u+rwx "$work"
rm -rf "$work" && mkdir -p "$work/home" && cd "$work" || exit 2
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

as_user() {
  if [ "$(id -u)" = 0 ]; then
    chown -R 65534:65534 "$work/home"
    setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
  else "$@"; fi
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >install.log 2>&1 || { cat install.log; exit 1; }
for f in bin/kerfwerk share/applications/kerfwerk.desktop share/icons/hicolor/scalable/apps/kerfwerk.svg \
         share/icons/hicolor/256x256/apps/kerfwerk.png share/mime/packages/kerfwerk.xml \
         share/kerfwerk/profiles/kerfwerk.ini share/kerfwerk/profiles/router.ini share/kerfwerk/profiles/lathe.ini \
         share/kerfwerk/examples/bracket.nc share/doc/kerfwerk/kerfwerk.html; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/kerfwerk.desktop" || fail "desktop entry"
fi
# The association globs reach the MIME database as written.
# The system's types join it in one database, as they do when the package is installed.
mkdir -p mime/packages empty && cp "$prefix/share/mime/packages/kerfwerk.xml" mime/packages/
[ -f /usr/share/mime/packages/freedesktop.org.xml ] && cp /usr/share/mime/packages/freedesktop.org.xml mime/packages/
if command -v update-mime-database >/dev/null; then
  update-mime-database "$work/mime" 2>mime.log || fail "MIME database: $(cat mime.log)"
  for glob in nc ngc tap cnc; do
    grep -q "^50:text/x-gcode:\*\.$glob$" mime/globs2 || fail "no association for .$glob"
  done
  # A program that starts with "%" is a G-code program, not the text type "%" also starts.
  if command -v gio >/dev/null; then
    for f in "$source"/examples/*.nc; do
      type=$(XDG_DATA_HOME="$work/empty" XDG_DATA_DIRS="$work" gio info -a standard::content-type "$f" | tail -1)
      [ "${type##* }" = text/x-gcode ] || fail "$(basename "$f") is taken for ${type##* }"
    done
  fi
fi

chmod -R a-w "$prefix"
before=$(find "$prefix" | sort)
as_user env -i PATH=/usr/bin:/bin HOME="$work/home" ASAN_OPTIONS=detect_leaks=0 \
  "$prefix/bin/kerfwerk" "$prefix/share/kerfwerk/examples/bracket.nc" "$work/home/out.nc" >run.log 2>&1 \
  || fail "the installed program's conversion: $(cat run.log)"
KERFWERK_HOME="$work/reference" ASAN_OPTIONS=detect_leaks=0 "$build/kerfwerk" "$source/examples/bracket.nc" \
  "$work/reference.nc" >/dev/null 2>&1
cmp -s "$work/home/out.nc" "$work/reference.nc" || fail "the installed program converted bracket.nc unlike the build"
[ -f "$work/home/.local/share/kerfwerk/kerfwerk.ini" ] || fail "no program folder in the home folder"
[ "$(find "$prefix" | sort)" = "$before" ] || fail "the installed program wrote into its prefix"
chmod -R u+w "$prefix"

[ "$failures" -eq 0 ] && echo "installed program ran from a read-only prefix"
exit $((failures > 0))
