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
# Node.js runs the browser tests' checker; a machine whose Node.js came from elsewhere
# (with its own npm) keeps it, as Debian's npm would conflict with it.
if ! command -v npm >/dev/null 2>&1; then packages+=(nodejs npm); fi
case "${1:-}" in
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  --screenshot) packages+=(openbox xdotool imagemagick) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq || true
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser tests' checker (axe-core), at the version pinned in its lock file.
browser_tests="$(cd "$(dirname "$0")/.." && pwd)/tests/browser"
lock_hash=$(sha256sum "$browser_tests/package-lock.json" | cut -d' ' -f1)
if [[ "$(cat "$browser_tests/node_modules/.lock-hash" 2>/dev/null)" != "$lock_hash" ]]; then
  (cd "$browser_tests" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
  echo "$lock_hash" > "$browser_tests/node_modules/.lock-hash"
fi
