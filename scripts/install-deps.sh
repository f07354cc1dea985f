#!/usr/bin/env bash
# Installs the Debian packages Kerfwerk needs to build, test and run, when any is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-tools-dev libqt6printsupport6 libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth imagemagick poppler-utils fonts-dejavu-core openbox xdotool
  python3 python3-ezdxf desktop-file-utils socat
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please run as root or install sudo: missing ${missing[*]}" >&2; exit 1; }
  SUDO=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
