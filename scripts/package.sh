#!/usr/bin/env bash
# Builds the Debian package build/kestrune_<version>_<arch>.deb: installs what is
# missing, builds, and packs what `cmake --install` installs with prefix /usr. Its
# dependencies come from the libraries the program links (dpkg-shlibdeps).
# Install it with: sudo apt-get install ./build/kestrune_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
rm -f build/kestrune_*.deb
(cd build && cpack -G DEB >/dev/null)
ls build/kestrune_*.deb
