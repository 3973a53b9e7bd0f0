#!/usr/bin/env python3
"""Browser tests of the script runtime kestrune-menu.js in headless Chromium.

Usage: runtime_test.py KESTRUNE PROGRAM_FOLDER

Layout parity: for every built-in template and generated documents, at several open paths,
the rectangles the runtime draws equal those `kestrune --layout` prints. Behaviour: state
colours, links and target frames, hostile texts, damaged parameters and the keyboard.
Without Chromium the test is skipped (exit 77), except under CI=true, where it fails."""

import html
import json
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import chromium  # noqa: E402
import pages  # noqa: E402

GENERATED_DOCUMENTS = 60
SKIP = 77


class Failures:
    def __init__(self):
        self.lines = []

    def check(self, condition, text):
        if not condition:
            self.lines.append(text)
        return condition


def applet_paragraph(page_text):
    begin = page_text.index("<p align")
    return page_text[begin:page_text.index("</p>", begin) + 4]


def harness(folder, name, runtime, body, scripts):
    tags = "".join('<script src="%s"></script>\n' % Path(s).as_uri() for s in scripts)
    text = ('<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>Kestrune runtime test</title></head><body>\n'
            '%s\n<script src="%s"></script>\n%s<pre id="results"></pre>\n</body></html>\n'
            % (body, Path(runtime).as_uri(), tags))
    path = Path(folder) / name
    path.write_text(text, encoding="utf-8")
    return path


def layout(kestrune, page, path, env):
    command = [kestrune, "--layout", str(page)] + (["--open", ",".join(map(str, path))] if path else [])
    done = subprocess.run(command, env=env, capture_output=True, check=True)
    return json.loads(done.stdout.decode("latin-1"))


def test_layout_parity(browser, kestrune, program_folder, work, env, failures):
    page_files = pages.save_templates(kestrune, program_folder, work, env)
    failures.check(len(page_files) >= 13, "expected the 13 built-in templates, saved %d" % len(page_files))
    for seed in range(GENERATED_DOCUMENTS):
        page = work / ("generated%d" % seed) / "page.htm"
        page.parent.mkdir(parents=True, exist_ok=True)
        page.write_bytes(pages.generated_page(seed).encode("cp1252"))
        page_files.append(page)

    cases, bodies, references = [], [], {}
    for case_id, page in enumerate(page_files):
        text = page.read_bytes().decode("cp1252")
        paths = pages.open_paths(pages.menu_tree(text))
        cases.append({"id": case_id, "paths": paths})
        bodies.append('<div id="case-%d">%s</div>' % (case_id, applet_paragraph(text)))
        references[case_id] = (page, [layout(kestrune, page, path, env) for path in paths])
    page = harness(work, "parity.html", Path(program_folder) / "kestrune-menu.js",
                   "\n".join(bodies) + "\n<script>window.CASES = %s;</script>" % json.dumps(cases),
                   [HERE / "parity.js"])
    results = chromium.run_page(browser, page)
    compared = 0
    for result in results:
        source, expected = references[result["id"]]
        if not failures.check(result["found"], "%s: the runtime drew no box" % source):
            continue
        for measured, reference in zip(result["paths"], expected):
            compared += 1
            where = "%s open %s" % (source.parent.name, measured["path"])
            wanted_open = reference["open"] if len(reference["open"]) != 1 else []
            failures.check(measured["open"] == wanted_open,
                           "%s: the runtime opened %s, the program %s" % (where, measured["open"], wanted_open))
            want = [{"rect": m["rect"], "items": [i["rect"] for i in m["items"]]} for m in reference["menus"]]
            if measured["menus"] != want:
                first = next((i for i, (m, w) in enumerate(zip(measured["menus"], want)) if m != w),
                             min(len(measured["menus"]), len(want)))
                failures.check(False, "%s: %d menus drawn, %d laid out; menu %d differs\n runtime %s\n program %s"
                               % (where, len(measured["menus"]), len(want), first,
                                  json.dumps(measured["menus"][first:first + 1])[:500],
                                  json.dumps(want[first:first + 1])[:500]))
    failures.check(compared >= 300, "only %d open paths were compared" % compared)
    print("layout parity: %d pages, %d open paths compared" % (len(page_files), compared))


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    kestrune, program_folder = sys.argv[1], sys.argv[2]
    browser = chromium.find_chromium()
    if browser is None:
        if os.environ.get("CI", "").lower() == "true":
            print("FAIL: chromium is not installed; scripts/install-deps.sh installs it")
            return 1
        print("SKIP: chromium is not installed")
        return SKIP
    failures = Failures()
    with tempfile.TemporaryDirectory(prefix="kestrune-runtime-") as folder:
        work = Path(folder)
        env = dict(os.environ, XDG_CONFIG_HOME=str(work / "config"), HOME=str(work / "home"))
        test_layout_parity(browser, kestrune, program_folder, work, env, failures)
        if os.environ.get("KESTRUNE_KEEP_TEST_PAGES"):
            shutil.copytree(work, os.environ["KESTRUNE_KEEP_TEST_PAGES"], dirs_exist_ok=True)
    for line in failures.lines[:40]:
        print("FAIL:", line)
    if len(failures.lines) > 40:
        print("... and %d more failures" % (len(failures.lines) - 40))
    return 1 if failures.lines else 0


if __name__ == "__main__":
    sys.exit(main())
