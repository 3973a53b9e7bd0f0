#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Benchmark of the script runtime in headless Chromium (a measurement, not a test).

Usage: runtime_bench.py PROGRAM_FOLDER [ITEMS]

Lays out and draws an applet with ITEMS (default 1000) visible items in top-level menus,
each of whose first items opens a sub menu, 25 times, and prints the times measured inside
the page with performance.now(): every item of every level is made when the menus are drawn.
It also times the switch to the compact form of narrow screens and back."""

import json
import sys
import tempfile
from pathlib import Path

TESTS = Path(__file__).resolve().parents[2] / "tests" / "browser"
sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(TESTS))

import chromium  # noqa: E402
import pages  # noqa: E402


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    program_folder = Path(sys.argv[1])
    items = int(sys.argv[2]) if len(sys.argv) == 3 else 1000
    per_menu = 100
    tops = []
    for m in range((items + per_menu - 1) // per_menu):
        count = min(per_menu, items - m * per_menu)
        sub = pages.FixedMenu([("Sub %d" % i,) for i in range(10)])
        tops.append(pages.FixedMenu([("Item %d" % i, sub if i == 0 else None, "About item %d" % i,
                                      "page%d.htm" % i) for i in range(count)],
                                    x=10 + 100 * m, w=95, h=18, gap=1))
    browser = chromium.find_chromium()
    if browser is None:
        print("chromium is not installed")
        return 1
    with tempfile.TemporaryDirectory(prefix="kestrune-bench-") as folder:
        page = Path(folder) / "bench.html"
        page.write_text('<!DOCTYPE html><html><head><meta charset="utf-8"><title>Bench</title></head><body>'
                        '<template id="source">%s</template><div id="holder"></div>'
                        '<script src="%s"></script><script src="%s"></script><pre id="results"></pre>'
                        '</body></html>' % (pages.fixed_applet(tops, width=1100, height=2000),
                                            (program_folder / "kestrune-menu.js").as_uri(),
                                            (Path(__file__).resolve().parent / "runtime_bench.js").as_uri()),
                        encoding="utf-8")
        result = chromium.run_page(browser, page, budget_ms=0, extra_flags=["--window-size=1400,1000"])
    print(json.dumps(result, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
