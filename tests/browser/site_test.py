#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The club's site published with `kestrune --publish --add`, opened in headless Chromium.

Usage: site_test.py KESTRUNE CLUB_SITE_TOOL

On teams/u10.html the runtime draws the menu from the page's own block: its "Home" item
leads to the site's index.html, and the page's plain list (which the runtime replaces)
marks the page's own item. Without Chromium the test is skipped (exit 77), except under
CI=true, where it fails."""

import os
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.dont_write_bytecode = True
sys.path.insert(0, str(HERE))

import chromium  # noqa: E402
import devtools  # noqa: E402

SKIP = 77

PROBE = """(() => {
  const drawn = [...document.querySelectorAll('.kestrune-menu .km-item')];
  const home = drawn.find((el) => el.textContent.trim() === 'Home');
  return {drawn: drawn.length, home: home ? home.href : null};
})()"""


def main():
    kestrune, tool = sys.argv[1], sys.argv[2]
    browser_path = chromium.find_chromium()
    if not browser_path:
        print("Chromium not found")
        return 1 if os.environ.get("CI") == "true" else SKIP
    with tempfile.TemporaryDirectory(prefix="kestrune-site-") as folder:
        top = Path(folder) / "club"
        subprocess.run([tool, str(top)], check=True)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=folder)
        published = subprocess.run([kestrune, "--publish", str(top / "menu.htm"), "--add"], env=env,
                                   capture_output=True, text=True)
        if published.returncode != 0:
            print(published.stdout, published.stderr)
            return 1
        browser = devtools.Browser(browser_path)
        try:
            tab = browser.new_tab()
            tab.open((top / "teams" / "u10.html").as_uri())
            tab.evaluate("new Promise((r) => setTimeout(r, 300))")
            seen = tab.evaluate(PROBE)
        finally:
            browser.close()
        u10_text = (top / "teams" / "u10.html").read_text(encoding="utf-8")
    failures = []
    if seen["drawn"] < 10:
        failures.append("the runtime drew %d items" % seen["drawn"])
    if seen["home"] != (top / "index.html").as_uri():
        failures.append("Home leads to %s" % seen["home"])
    if 'href="u10.html" target="_self" aria-current="page"' not in u10_text:
        failures.append("the page's plain list does not mark its own item")
    for line in failures:
        print("FAIL:", line)
    print("drawn items: %d, Home: %s" % (seen["drawn"], seen["home"]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
