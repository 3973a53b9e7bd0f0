#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up to the first shown window as whole processes, side by side (a measurement, not a test).

Usage: startup_ratio.py PROGRAM_FOLDER [RUNS]        (default 21 runs of each)

Runs kestrune_startup_probe (the editor as a user starts it, ending the moment its first
window is shown) and kestrune_empty_window_probe (an empty Qt main window, ending at the
same moment) in turn, and prints the median wall and CPU time of each and the median of
the pairwise ratios. Needs a display (DISPLAY, or QT_QPA_PLATFORM=offscreen)."""

import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path


def run_once(argv, env):
    start = time.monotonic()
    child = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.monotonic() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{argv[0]} failed")
    return wall, usage.ru_utime + usage.ru_stime


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    folder = Path(sys.argv[1]).resolve()
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    program = [str(folder / "kestrune_startup_probe")]
    empty = [str(folder / "kestrune_empty_window_probe")]
    with tempfile.TemporaryDirectory(prefix="kestrune-startup-") as home:
        # A fresh home: no stored window placement or recent files from earlier runs.
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
        run_once(program, env)
        run_once(empty, env)
        pairs = [(run_once(program, env), run_once(empty, env)) for _ in range(runs)]
    for index, name in ((0, "wall"), (1, "cpu")):
        a = statistics.median(p[0][index] for p in pairs)
        b = statistics.median(p[1][index] for p in pairs)
        ratio = statistics.median(p[0][index] / max(p[1][index], 1e-6) for p in pairs)
        print(f"{name:>5}: kestrune {a * 1000:7.1f} ms   empty window {b * 1000:7.1f} ms   ratio {ratio:.2f}x")


if __name__ == "__main__":
    main()
