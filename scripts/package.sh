#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages the way Debian does (dpkg-buildpackage with debian/), from a
# clean copy of the project in build/package/, so neither the source folder nor the
# folder above it gets build output:
#   build/kestrune_<version>_<arch>.deb          the program
#   build/package/kestrune_<version>.dsc, .tar.xz  the source package
# Install it with: sudo apt-get install ./build/kestrune_*.deb
# With --clone the copy is a git clone of the committed project instead, so the package is
# built at the root of a checkout, the way a Debian maintainer builds one (CI does this).
set -euo pipefail
case "${1:-}" in
  "") from=copy ;;
  --clone) from=clone ;;
  *) echo "usage: $0 [--clone]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
scripts/install-deps.sh

version=$(dpkg-parsechangelog -S Version)
stage=build/package
tree=$stage/kestrune-$version
rm -rf "$stage" build/kestrune_*.deb
mkdir -p "$tree"

# The project's own files: what git lists (tracked or new, not ignored), else all but builds.
if [[ $from == clone ]]; then
  rmdir "$tree"
  git clone --quiet . "$tree"
elif [[ $(git rev-parse --show-toplevel 2>/dev/null) == "$(pwd -P)" ]]; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$tree"
else
  tar --exclude='./build*' --exclude='./fuzz-build*' --exclude=./.git --exclude=node_modules -cf - . |
    tar -xf - -C "$tree"
fi

(cd "$stage" && dpkg-source --build "kestrune-$version")
(cd "$tree" && dpkg-buildpackage -us -uc -b -j"$(nproc)")
cp "$stage"/kestrune_"$version"_*.deb build/
ls build/kestrune_*.deb
