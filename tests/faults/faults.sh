#!/bin/bash
# Faults a shop meets that a golden folder cannot hold: folders and files the user may not
# reach or write, a full disk, and two programs converting in one program folder at once.
# Usage: faults.sh KERFWERK_EXE WORK_DIR
set -u
exe=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$work" ] && chmod -R u+rwx "$work"  # the closed folder of the last run
rm -rf "$work" && mkdir -p "$work" && chmod 777 "$work" && cd "$work" || exit 2
failures=0

# As root every permission is granted: the permission cases run as the user nobody then.
as_user() {
  if [ "$(id -u)" = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi
}

# expect NAME STATUS STDERR COMMAND...: the command's exit status and messages, exactly.
expect() {
  local name=$1 status=$2 want=$3
  shift 3
  local got rc
  got=$("$@" 2>&1 >/dev/null)
  rc=$?
  if [ "$rc" != "$status" ] || [ "$got" != "$want" ]; then
    echo "FAILED: $name: status $rc (want $status), messages:"
    echo "$got"
    echo "want:"
    echo "$want"
    failures=$((failures + 1))
  fi
}

# same NAME FILE BYTES: a file the failed command must have left as it was.
same() {
  if [ "$(cat "$2")" != "$3" ]; then
    echo "FAILED: $1: $2 was changed"
    failures=$((failures + 1))
  fi
}

printf 'G01 X1 Y1\r\nG01 X2 Y2\r\n' > prog.nc
chmod 644 prog.nc

# A program folder the user may not search.
mkdir closed && chmod 000 closed
for command in "prog.nc out.nc" "--report prog.nc" "--do --list"; do
  # shellcheck disable=SC2086
  expect "closed folder: $command" 1 "kerfwerk: Cannot use the program folder $work/closed: Permission denied" \
    as_user env KERFWERK_HOME="$work/closed" "$exe" $command
done

# Files the user has made read-only are not replaced.
mkdir -p home && chmod 777 home
printf 'old' > old.nc && printf 'old' > old.png && chmod 444 old.nc old.png
expect "read-only output" 1 "Cannot save old.nc: Permission denied" \
  as_user env KERFWERK_HOME="$work/home" "$exe" prog.nc old.nc
same "read-only output" old.nc old
expect "read-only image" 1 "Cannot write the image old.png: Permission denied" \
  as_user env KERFWERK_HOME="$work/home" "$exe" --png old.png prog.nc
same "read-only image" old.png old
printf '[Files]\r\nLastUsedFile=Kerfwerk.ini\r\n' > home/LastIni.ini && chmod 444 home/LastIni.ini
: > home/plasma.ini
expect "read-only last-use file" 0 "Unable to write to $work/home/LastIni.ini: Permission denied" \
  as_user env KERFWERK_HOME="$work/home" "$exe" prog.nc out.nc home/plasma.ini
same "read-only last-use file" home/LastIni.ini "$(printf '[Files]\r\nLastUsedFile=Kerfwerk.ini\r')"

# A profile named from another folder is remembered where it is; when it has gone, the
# bundled default profile stands in, and the user is told.
mkdir -p remember/home elsewhere
printf '[Labels]\r\nLine=L1\r\nX Letter=X\r\nY Letter=Y\r\n' > elsewhere/machine.ini
printf 'L1 X3 Y4\r\n' > lprog.nc
expect "profile from elsewhere" 0 "" env KERFWERK_HOME="$work/remember/home" "$exe" lprog.nc out.nc elsewhere/machine.ini
grep -q "^LastUsedFile=$work/elsewhere/machine.ini" remember/home/LastIni.ini ||
  { echo "FAILED: the profile's path is not remembered"; failures=$((failures + 1)); }
cut=$(KERFWERK_HOME="$work/remember/home" "$exe" --report lprog.nc 2>&1 | head -1)
[ "$cut" = "Cut 5.000  Rapid 0.000  Total Distance 5.000" ] ||
  { echo "FAILED: the remembered profile is not used: $cut"; failures=$((failures + 1)); }
mv elsewhere/machine.ini elsewhere/moved.ini
expect "remembered profile gone" 0 \
  "The machine profile $work/elsewhere/machine.ini was not found: the bundled kerfwerk.ini is used." \
  env KERFWERK_HOME="$work/remember/home" "$exe" --report lprog.nc

# A full disk: the image is not written, the reason is given and the old image stays. A file
# size limit stands in for the disk that fills up under a file being replaced.
expect "full disk" 1 "Cannot write the image /dev/full: No space left on device" \
  env KERFWERK_HOME="$work/home" "$exe" --png /dev/full prog.nc
printf 'old' > kept.png
expect "disk full under an old image" 1 "Cannot write the image kept.png: File too large" \
  bash -c 'trap "" XFSZ; ulimit -f 2; exec env KERFWERK_HOME="$0/home" "$1" --png kept.png prog.nc' "$work" "$exe"
same "disk full under an old image" kept.png old
ls -A | grep -q saving && { echo "FAILED: a half-written file was left behind"; failures=$((failures + 1)); }

# Two programs converting different drawings at once in one program folder: each output is
# the one its drawing gives alone, in every flavour (widths of the 0, 8 and other codes).
mkdir -p together/home
for flavour in "Default 3 3 3" "DesignCad 3 3 3" "Autosketch 1 1 1" "Ashlar 4 4 4" "Corel 3 3 4"; do
  read -r name c0 c8 cn <<<"$flavour"
  set_flavour=(--set EditLayer=0)
  [ "$name" != Default ] && set_flavour+=(--set "$name=1")
  for axis in x y; do
    awk -v n=5000 -v c0="$c0" -v c8="$c8" -v cn="$cn" -v axis=$axis -f "$here/drawing.awk" > "together/$axis.dxf"
    KERFWERK_HOME="$work/together/home" "$exe" --do "" "together/$axis.dxf" "together/$axis-alone.nc" \
      "${set_flavour[@]}" 2>/dev/null
  done
  for axis in x y; do
    KERFWERK_HOME="$work/together/home" "$exe" --do "" "together/$axis.dxf" "together/$axis-together.nc" \
      "${set_flavour[@]}" 2>"together/$axis.err" &
  done
  wait
  for axis in x y; do
    if [ ! -s "together/$axis-alone.nc" ] || ! cmp -s "together/$axis-alone.nc" "together/$axis-together.nc"; then
      echo "FAILED: $name: the $axis drawing converted beside another differs from its conversion alone"
      failures=$((failures + 1))
    fi
    msg=$(cat "together/$axis.err")
    if [ -n "$msg" ] && [ "$msg" != "Waiting for another Kerfwerk to finish with the temporary files in $work/together/home" ]; then
      echo "FAILED: $name: $msg"
      failures=$((failures + 1))
    fi
  done
done

[ "$failures" = 0 ] && echo "all faults handled" && exit 0
exit 1
