#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the script runtime adds to a page's load in headless Chromium (a measurement, not a
test).

Usage: load_bench.py PROGRAM_FOLDER [ITEMS] [--before OTHER_PROGRAM_FOLDER]

Writes a page of ITEMS (default 1000) items in top-level menus, each first item opening a
sub menu, once with the runtime's line and once without (and once with the other folder's
runtime, to compare two builds in one run), loads each 15 times at desktop width and prints
the medians of the time to the end of the load event, and the difference. The runtime makes
every link of every level."""

import json
import shutil
import statistics
import sys
import tempfile
from pathlib import Path

TESTS = Path(__file__).resolve().parents[2] / "tests" / "browser"
sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(TESTS))

import chromium  # noqa: E402
import devtools  # noqa: E402
import pages  # noqa: E402

TIMING = """new Promise((done) => setTimeout(() => {
  const n = performance.getEntriesByType('navigation')[0];
  done([n.loadEventEnd, document.querySelectorAll('a[href]').length]);
}, 50))"""


def main():
    args = sys.argv[1:]
    before = None
    if "--before" in args:
        at = args.index("--before")
        before = Path(args[at + 1])
        del args[at:at + 2]
    if len(args) not in (1, 2):
        print(__doc__)
        return 2
    program_folder = Path(args[0])
    items = int(args[1]) if len(args) == 2 else 1000
    per_menu = 100
    tops = []
    for m in range((items + per_menu - 1) // per_menu):
        count = min(per_menu, items - m * per_menu)
        sub = pages.FixedMenu([("Sub %d" % i, None, "", "sub%d.htm" % i) for i in range(10)])
        tops.append(pages.FixedMenu([("Item %d" % i, sub if i == 0 else None, "About item %d" % i,
                                      "page%d.htm" % i) for i in range(count)], x=10 + 100 * m, w=95, h=18, gap=1))
    params = pages.param("ApStyle", "FFFFFF,FFFFFF,,0,0,0,") + pages.encode(tops)
    browser_path = chromium.find_chromium()
    if browser_path is None:
        print("chromium is not installed")
        return 1
    with tempfile.TemporaryDirectory(prefix="kestrune-load-") as folder:
        work = Path(folder)
        shutil.copy(program_folder / "kestrune-menu.js", work)
        names = ["with.htm", "without.htm"]
        for name, runtime in (("with.htm", True), ("without.htm", False)):
            text = pages.page_text("Load", "Left", 1100, 2000, params, runtime=runtime)
            text = text.replace("<html>", '<!DOCTYPE html><html lang="en">', 1)
            (work / name).write_text(text, encoding="cp1252")
        if before:
            (work / "before").mkdir()
            shutil.copy(before / "kestrune-menu.js", work / "before")
            text = (work / "with.htm").read_text(encoding="cp1252").replace('src="kestrune-menu.js"',
                                                                            'src="before/kestrune-menu.js"')
            (work / "before.htm").write_text(text, encoding="cp1252")
            names.append("before.htm")
        browser = devtools.Browser(browser_path)
        results = {}
        try:
            tab = browser.new_tab()
            tab.desktop(1400, 1000)
            for run in range(16):
                for name in names:
                    tab.open((work / name).as_uri())
                    load, links = tab.evaluate(TIMING)
                    if run:  # the first load of each warms the caches
                        results.setdefault(name, []).append((load, links))
        finally:
            browser.close()
    summary = {}
    for name, runs in results.items():
        summary[name] = {"load": statistics.median(r[0] for r in runs), "links": runs[0][1]}
    summary["added"] = summary["with.htm"]["load"] - summary["without.htm"]["load"]
    if before:
        summary["added before"] = summary["before.htm"]["load"] - summary["without.htm"]["load"]
    print(json.dumps(summary, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
