#!/usr/bin/env bash
# kerfwerk --send through a real line: socat makes a pseudo-terminal that writes what
# arrives into a file, which must hold the program byte for byte in the profile's framing.
# Skipped (77) when socat is not installed.
set -euo pipefail
exe=$1 work=$2
command -v socat >/dev/null || { echo "socat is not installed: skipped"; exit 77; }
rm -rf "$work" && mkdir -p "$work/home"
cd "$work"
printf 'N10 G00 X1\r\nN20 G01 Y2.5\r\nM30\r\n' > prog.nc
peer=
trap '[ -z "$peer" ] || kill $peer 2>/dev/null || true' EXIT
check() {  # name, expected bytes (printf format), kerfwerk arguments
  local name=$1 expected=$2; shift 2
  rm -f received line
  socat -u pty,raw,echo=0,link="$work/line" CREATE:"$work/received" &
  peer=$!
  for _ in $(seq 100); do [ -e "$work/line" ] && break; sleep 0.05; done
  KERFWERK_HOME="$work/home" "$exe" --send prog.nc --device "$work/line" "$@" 2> stderr || {
    echo "$name: kerfwerk failed: $(cat stderr)"; exit 1; }
  printf "$expected" > expected
  for _ in $(seq 40); do cmp -s expected received && break; sleep 0.05; done
  cmp expected received || { echo "$name: received bytes differ"; od -c received | head; exit 1; }
  [ ! -s stderr ] || { echo "$name: unexpected messages: $(cat stderr)"; exit 1; }
  kill $peer; wait $peer 2>/dev/null || true; peer=
}
# The bundled profile: CR LF line ends, no start or end character.
check "bundled profile" 'N10 G00 X1\r\nN20 G01 Y2.5\r\nM30\r\n'
sed -e 's/^Start=-1/Start=2/' -e 's/^End=-1/End=4/' -e 's/^Strip Spaces=0/Strip Spaces=1/' \
  -e 's/^CrLf=1/CrLf=0/' -e 's/^Cr=0/Cr=1/' home/kerfwerk.ini > strip.ini
check "start, end, stripped, CR" '\002\rN10G00X1\rN20G01Y2.5\rM30\r\004\r' --profile "$work/strip.ini"
