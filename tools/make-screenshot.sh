#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the screenshot of the editor that the AppStream metainfo shows: Kestrune maximized
# on a new menu from its first template, an item selected and its property sheet open,
# under Xvfb with the openbox window manager, in a settings folder of its own.
#   tools/make-screenshot.sh [PROGRAM] [OUTPUT]
# PROGRAM defaults to build/bin/kestrune, OUTPUT to resources/desktop/screenshots/main-window.png.
# The result is committed; the metainfo names its size.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --screenshot
program=$(realpath "${1:-build/bin/kestrune}")
output=${2:-resources/desktop/screenshots/main-window.png}
readonly width=1280 height=800

scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export XDG_RUNTIME_DIR=$scratch/runtime LANG=C.UTF-8
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Quellary" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Closed maximized last time, so it opens maximized.
printf '[Settings]\nWindowPos=2,3,-1,-1,-1,-1,40,40,1000,700\nTree Height=330\n' \
  >"$XDG_CONFIG_HOME/Quellary/Kestrune.conf"

# A free display: Xvfb writes the number it took.
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp \
  3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s $scratch/display ]] && break; sleep 0.2; done
export DISPLAY=:$(<"$scratch/display") QT_QPA_PLATFORM=xcb
openbox >"$scratch/openbox.log" 2>&1 &
pids+=($!)
sleep 1

"$program" >"$scratch/kestrune.log" 2>&1 &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --class kestrune | head -n 1)
xdotool windowactivate --sync "$window"
sleep 1
# The tree has the focus with the applet selected: open the first top-level menu and all
# below it, take its second item (the one with a sub menu) and show its property sheet,
# beside the tree.
xdotool key --delay 300 Down asterisk Down Down alt+Return
sheet=$(xdotool search --sync --onlyvisible --name "Item's Properties" | head -n 1)
xdotool windowmove "$sheet" $((width - 760)) 70
sleep 2

mkdir -p "$(dirname "$output")"
import -window root -strip "$output"
file "$output"
