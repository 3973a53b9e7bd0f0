#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the package build need, only
# those that are missing; --fuzz adds the fuzzing tools, --screenshot those of
# tools/make-screenshot.sh.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-dejavu-core xvfb xauth python3 chromium
          dpkg-dev file desktop-file-utils appstream shared-mime-info gzip
          debhelper lintian)
case "${1:-}" in
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  --screenshot) packages+=(openbox xdotool imagemagick) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq || true
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
