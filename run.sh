#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts Kestrune.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found: running headless on a new document from the first template."
  build/bin/kestrune --new 0 --save /tmp/kestrune-sample/menu.htm
  echo "Saved /tmp/kestrune-sample/menu.htm and its menu file; its page:"
  exec build/bin/kestrune --html /tmp/kestrune-sample/menu.htm
fi
exec build/bin/kestrune "$@"
