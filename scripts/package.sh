#!/usr/bin/env bash
# Builds a Release version and a Debian package of it (kerfwerk_VERSION_ARCH.deb in the
# project folder). Install it with: apt install ./kerfwerk_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKERFWERK_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build-package -j2
(cd build-package && cpack -G DEB)
mv build-package/kerfwerk_*.deb .
ls kerfwerk_*.deb
