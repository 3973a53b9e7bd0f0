# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs headless Chromium on a test page and returns the JSON the page's test script wrote
into <pre id="results">."""

import html
import json
import os
import re
import shutil
import subprocess
import tempfile

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--disable-extensions", "--mute-audio", "--disable-dev-shm-usage", "--allow-file-access-from-files"]


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


def run_page(chromium, page, budget_ms=10000, timeout=180, extra_flags=()):
    """budget_ms of virtual time lets timers run at once; 0 keeps real time (for timing)."""
    budget = ["--virtual-time-budget=%d" % budget_ms] if budget_ms else []
    budget += list(extra_flags)
    with tempfile.TemporaryDirectory(prefix="kestrune-chromium-") as profile:
        done = subprocess.run([chromium, *FLAGS, "--user-data-dir=" + profile, *budget,
                               "--dump-dom", "file://" + os.fspath(page)],
                              capture_output=True, timeout=timeout)
    dom = done.stdout.decode("utf-8", "replace")
    found = re.search(r'<pre id="results">(.*?)</pre>', dom, re.S)
    if not found or not found.group(1).strip():
        raise RuntimeError("no results from %s (exit %d)\n%s" % (page, done.returncode,
                                                                  done.stderr.decode("utf-8", "replace")[-2000:]))
    return json.loads(html.unescape(found.group(1)))


def dump_dom(chromium, page, budget_ms=5000, timeout=120):
    with tempfile.TemporaryDirectory(prefix="kestrune-chromium-") as profile:
        done = subprocess.run([chromium, *FLAGS, "--user-data-dir=" + profile,
                               "--virtual-time-budget=%d" % budget_ms, "--dump-dom", "file://" + os.fspath(page)],
                              capture_output=True, timeout=timeout)
    return done.stdout.decode("utf-8", "replace")
