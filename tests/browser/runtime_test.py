#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Browser tests of the script runtime kestrune-menu.js in headless Chromium.

Usage: runtime_test.py KESTRUNE PROGRAM_FOLDER

Layout parity: for every built-in template and generated documents, at several open paths,
the rectangles the runtime draws equal those `kestrune --layout` prints. Behaviour: state
colours, links and target frames, hostile texts, damaged parameters and the keyboard.
Without Chromium the test is skipped (exit 77), except under CI=true, where it fails."""

import html
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(HERE))

import chromium  # noqa: E402
import pages  # noqa: E402
import placement  # noqa: E402
import visitors  # noqa: E402

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
    # A document of today's web, as the runtime pages the program writes.
    text = ('<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>Kestrune runtime test</title></head><body>\n'
            '%s\n<script src="%s"></script>\n%s<pre id="results"></pre>\n</body></html>\n'
            % (body, Path(runtime).as_uri(), tags))
    path = Path(folder) / name
    path.write_text(text, encoding="utf-8")
    return path


def layout(kestrune, page, path, env):
    command = [kestrune, "--layout", str(page)] + (["--open", ",".join(map(str, path))] if path else [])
    done = subprocess.run(command, env=env, capture_output=True, check=True)
    return json.loads(done.stdout.decode("latin-1"))


def test_layout_parity(browser, kestrune, program_folder, templates, work, env, failures):
    page_files = list(templates)
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


# Tags a browser reads in its own way: quotes inside values, NUL bytes, "&#0;", quotes in
# names, line ends and characters beyond the code page. The first item carries each.
TAG_READINGS = [b'value="a"b"', b'value="say "hi" to=me"', b'"value="evil"', b'value="x\x00y"',
                b'value="x&#0;y"', b'value=x\x00y', b"value='q\"r'", b'value="a"/value="b"', b'value="a>b"',
                b'value=a"b', b'=value="a"', b'value="two\r\nlines\rx &#128512; &#x80; &#4294967361;"']


def test_tag_reading(browser, kestrune, program_folder, templates, work, env, failures):
    """The first menu's labels as the runtime reads them equal those `--layout` prints."""
    base = templates[0].read_bytes()
    first = re.search(rb'<param name="I0-0"[^\n]*>', base).group(0)
    bodies, expected = [], []
    for case_id, attributes in enumerate(TAG_READINGS):
        page = work / ("tags%d" % case_id) / "page.htm"
        page.parent.mkdir(parents=True, exist_ok=True)
        text = base.replace(first, b'<param name="I0-0" ' + attributes + b'>')
        page.write_bytes(text)
        expected.append([item["label"] for item in layout(kestrune, page, [], env)["menus"][0]["items"]])
        bodies.append('<div id="tags-%d">%s</div>' % (case_id, applet_paragraph(text.decode("cp1252"))))
    script = ('<script>addEventListener("load", () => { document.getElementById("results").textContent = '
              'JSON.stringify(KestruneMenu.controllers.map((c) => c.tops[0].nodes.map((n) => n.item.label))); });'
              '</script>')
    # NUL and CR reach the browser's own reader: the harness writes them unchanged.
    page = harness(work, "tags.html", Path(program_folder) / "kestrune-menu.js", "\n".join(bodies) + script, [])
    drawn = chromium.run_page(browser, page)
    for attributes, want, got in zip(TAG_READINGS, expected, drawn):
        failures.check(want == got, "tags %r: the runtime reads %s, --layout %s" % (attributes, json.dumps(got[:2]),
                                                                                    json.dumps(want[:2])))
    failures.check(len(drawn) == len(TAG_READINGS), "tag reading: %d of %d pages drawn" % (len(drawn), len(TAG_READINGS)))
    print("tag reading: %d pages" % len(drawn))


HOSTILE_LABELS = ['"><script>window.pwned=1</script>', '</applet><img src=x onerror="window.pwned=2">',
                  "<b>bold</b> & 'quote' &amp;", '<iframe src="javascript:window.pwned=4">']

# Damaged parameter blocks and how many items the runtime can still make from each (sub
# menus included: they are made up front).
DAMAGED = [
    ("", 0),
    (pages.param("ApStyle", "FFFFFF,FFFFFF,,0,0,0,"), 0),
    (pages.param("ApStyle", "zz,yy") + pages.param("MStyle-0", "bad,99,x") + pages.param("IStyle-0", "1,2")
     + pages.param("I0-0", "One") + pages.param("I0-1", "Two") + pages.param("Misc", "1,2,-0,"), 2),
    (pages.param("MStyle-0", "FF0000,01,0,0,5,5,80,20,2,0") + pages.param("I0-0", "A") + pages.param("I0-1", "B")
     + pages.param("I1-0", "Sub") + pages.param("Misc", "2,2,1,-0,0-1,1-0,2-9,-7,abc,99999999999-1,"), 3),
    (pages.param("I0-0", "A") + pages.param("I0-2", "C") + pages.param("I1-0", "D") + pages.param("I1-1", "E")
     + pages.param("Misc", "2,3,2,-0,-1,"), 4),
    (pages.param("I0-0", "A") + pages.param("Misc", "1,1,-0,"), 1),
    (pages.param("I0-0", "A") + pages.param("Misc", "1,1,-0,0-0,"), 1),
    (pages.param("Misc", "abc") + pages.param("I0-0", "A"), 0),
    # A menu numbered past what the page holds, and two menus sharing one item budget.
    (pages.param("ApStyle", "") + pages.param("MStyle-5", "") + pages.param("IStyle-5", "") + pages.param("I5-0", "A")
     + pages.param("Misc", "6,0,0,0,0,0,1,-5,"), 0),
    (pages.param("I0-0", "A") + pages.param("I1-0", "B") + pages.param("Misc", "2,40,1,-0,-1,"), 1),
]


def test_behaviour(browser, program_folder, work, failures):
    styles = ["102030,F0E0D0,011,0,1,14,0,00,0,0,,", "405060,A0B0C0,011,0,1,14,0,00,0,0,,",
              "708090,010203,011,0,1,14,0,00,0,0,,"]
    states = pages.FixedMenu([("First", pages.FixedMenu([("One",), ("Two",)]), "", "first.htm"),
                              ("Second", None, "Second item"),
                              ("Third",)], align=1, styles=styles)
    hostile = pages.FixedMenu([(HOSTILE_LABELS[0], None, HOSTILE_LABELS[0]), (HOSTILE_LABELS[1], None, HOSTILE_LABELS[1]),
                               (HOSTILE_LABELS[2], None, "", "javascript:window.pwned=3"),
                               (HOSTILE_LABELS[3], None, "", "new.htm", "_blank"),
                               ("Tab", None, "", "java&#9;script:window.pwned=5"),
                               ("Control", None, "", "&#1;javascript:window.pwned=6"),
                               # A comma would split the item's fields: the link ends before it.
                               ("Data", None, "", "data:text/html;base64")],
                              w=300)
    cut = [pages.FixedMenu([("About Us Club",)], w=60, y=10 + 30 * align,
                           styles=["FFFFFF,000000,011,0,1,14,0,0%d,0,3,," % align] * 3) for align in range(3)]
    berries = pages.FixedMenu([("Kiwi", None, "", "#kiwi"), ("Lime", None, "", "#lime"), ("Mango", None, "", "#mango")])
    fruit = pages.FixedMenu([("Apples", None, "", "#apples"), ("Berries", berries), ("Cherries", None, "", "#cherries")])
    keyboard = pages.FixedMenu([("Fruit", fruit, "", "#fruit"), ("Vegetables", pages.FixedMenu([("Leek",), ("Kale",)])),
                                ("Grains", None, "", "#grains")], align=1, styles=styles)
    narrow = pages.FixedMenu([("Top", pages.FixedMenu([("Inner", None, "", "#inner")])), ("Link", None, "", "#link")],
                             align=1, w=140)
    body = ['<div id="states">%s</div>' % pages.fixed_applet([states]),
            # References in links reach the browser as the program writes them, unescaped.
            '<div id="hostile">%s</div>' % pages.fixed_applet([hostile], width=320).replace("&amp;#", "&#"),
            '<div id="cut">%s</div>' % pages.fixed_applet(cut, width=200),
            '<div id="keyboard">%s</div><button id="outside">Outside</button>' % pages.fixed_applet([keyboard]),
            # The place of an applet as wide as it, and of one a pixel wider.
            '<div id="exact" style="width:300px">%s</div>' % pages.fixed_applet([narrow], width=300),
            '<div id="wider" style="width:300px">%s</div>' % pages.fixed_applet([narrow], width=301)]
    damaged_ids = []
    for n, (params, _) in enumerate(DAMAGED):
        width = 'abc' if n == 5 else '300'
        body.append('<div id="damaged%d"><applet code="trelvix.class" width="%s" height="-5">\n%s</applet></div>'
                    % (n, width, params))
        damaged_ids.append("damaged%d" % n)
    body.append("<script>window.HOSTILE_LABELS = %s; window.DAMAGED = %s; window.DAMAGED_ITEMS = %s;</script>"
                % (json.dumps(HOSTILE_LABELS).replace("</", "<\\/"), json.dumps(damaged_ids),
                   json.dumps([c for _, c in DAMAGED])))
    page = work / "behaviour.html"
    page.write_text('<html><head><meta charset="utf-8"><title>Runtime &lt;test&gt;</title>'
                    '<script src="%s"></script></head><body>\n%s\n<script src="%s"></script>\n'
                    '<pre id="results"></pre>\n</body></html>\n'
                    % ((HERE / "behaviour.js").as_uri(), "\n".join(body),
                       (Path(program_folder) / "kestrune-menu.js").as_uri()), encoding="utf-8")
    results = chromium.run_page(browser, page)
    for result in results:
        failures.check(result["ok"], "behaviour: %s (%s)" % (result["name"], result["detail"][:300]))
    failures.check(len(results) >= 40, "behaviour: only %d checks ran" % len(results))
    print("behaviour: %d checks" % len(results))


def test_links(browser, program_folder, work, failures):
    """Clicks follow links into a named frame, the parent, the item's own frame and the top."""
    folder = work / "links"
    folder.mkdir()
    shutil.copy(Path(program_folder) / "kestrune-menu.js", folder)
    menu = pages.FixedMenu([("ToMain", None, "", "landing.html?main", "main"),
                            ("ToParent", None, "", "landing.html?parent", "_parent"),
                            ("ToSelf", None, "", "landing.html?self", "_self"),
                            ("ToTop", None, "", "landing.html?top", "_top")])
    files = {
        "menu.html": '<html><head><title>Menu</title></head><body><p align="Left">%s</p>'
                     '<script src="kestrune-menu.js"></script><script src="%s"></script></body></html>'
                     % (pages.fixed_applet([menu]), (HERE / "menu_frame.js").as_uri()),
        "holder.html": '<html><body><iframe name="inner" src="menu.html" width="600" height="300"></iframe></body></html>',
        "blank.html": "<html><body></body></html>",
        "landing.html": '<html><body><pre id="results"></pre><script>const r = {name: window.name, '
                        'query: location.search, isTop: window === top};'
                        'document.getElementById("results").textContent = JSON.stringify(r);'
                        'if (window !== top) top.postMessage(r, "*");</script></body></html>',
        "frames.html": '<html><body><iframe name="main" src="blank.html"></iframe>'
                       '<iframe name="menu" src="menu.html" width="600" height="300"></iframe><iframe name="holder" src="holder.html" width="700" height="400"></iframe>'
                       '<pre id="results"></pre><script src="%s"></script></body></html>'
                       % (HERE / "navigation.js").as_uri(),
        "top.html": '<html><body><iframe name="menu" src="menu.html?top" width="600" height="300"></iframe><pre id="results"></pre>'
                    '</body></html>',
    }
    for name, text in files.items():
        (folder / name).write_text(text, encoding="utf-8")
    arrived = chromium.run_page(browser, folder / "frames.html")
    expected = [{"name": "main", "query": "?main", "isTop": False}, {"name": "holder", "query": "?parent", "isTop": False},
                {"name": "menu", "query": "?self", "isTop": False}]
    failures.check(arrived == expected, "links: arrived %s, expected %s" % (arrived, expected))
    landed = chromium.run_page(browser, folder / "top.html")
    failures.check(landed == {"name": "", "query": "?top", "isTop": True}, "links: _top gave %s" % landed)
    print("links: %d frame targets and _top" % len(arrived))


def luminance(colour):
    def channel(v):
        v /= 255
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(int(colour[i:i + 2], 16)) for i in (0, 2, 4))
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def test_contrast(templates, failures):
    """Text against a solid fill, in every state of every menu of the built-in templates:
    WCAG AA asks for 4.5:1. Gradients and images are no solid fill; a transparent item
    lies on its menu's fill or, without one, on the applet's colour."""
    checked = 0
    for page in templates:
        text = page.read_bytes().decode("cp1252")
        params = dict(re.findall(r'<param name="([^"]+)" value="([^"]*)">', text))
        applet_colour = params["ApStyle"].split(",")[0]
        image = params["ApStyle"].split(",")[2]
        for name, value in params.items():
            if not name.startswith("IStyle-"):
                continue
            menu = params["MStyle-" + name[7:]].split(",")
            under = menu[0] if menu[1] in ("11", "12") else (None if image else applet_colour)
            fields = value.split(",")
            for state in range(3):
                s = fields[state * 12:state * 12 + 12]
                fill, effect = s[2][1], s[3]
                background = s[0] if fill == "1" else under if fill == "0" else None
                if background is None or effect == "1":
                    continue
                checked += 1
                ratio = contrast(s[1], background)
                failures.check(ratio >= 4.5, "contrast: %s %s state %d: %s on %s is %.2f:1"
                               % (page.parent.name, name, state, s[1], background, ratio))
    failures.check(checked >= 50, "contrast: only %d states checked" % checked)
    print("contrast: %d states of the built-in templates" % checked)


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
        test_behaviour(browser, program_folder, work, failures)
        test_links(browser, program_folder, work, failures)
        placement.run(browser, kestrune, program_folder, work, env, failures)
        templates = pages.save_templates(kestrune, program_folder, work, env)
        failures.check(len(templates) >= 13, "expected the 13 built-in templates, saved %d" % len(templates))
        test_contrast(templates, failures)
        test_layout_parity(browser, kestrune, program_folder, templates, work, env, failures)
        test_tag_reading(browser, kestrune, program_folder, templates, work, env, failures)
        visitors.test_visitors(browser, kestrune, program_folder, templates, work, env, failures)
        if os.environ.get("KESTRUNE_KEEP_TEST_PAGES"):
            shutil.copytree(work, os.environ["KESTRUNE_KEEP_TEST_PAGES"], dirs_exist_ok=True)
    for line in failures.lines[:40]:
        print("FAIL:", line)
    if len(failures.lines) > 40:
        print("... and %d more failures" % (len(failures.lines) - 40))
    return 1 if failures.lines else 0


if __name__ == "__main__":
    sys.exit(main())
