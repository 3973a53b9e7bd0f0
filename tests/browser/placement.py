# SPDX-License-Identifier: GPL-3.0-or-later
"""Where the runtime's menus lie on a page: how deep a chain of sub menus it builds, drop-downs
over the page's text, sub menus kept inside the window, and the item of the page shown."""

import json
import shutil
import subprocess
from pathlib import Path

import chromium
import devtools
import pages

BOX = "document.querySelector('nav.kestrune-menu')"
PROGRAM_DEPTH = 2001  # menus in the deepest chain the program reads


def chain_params(levels):
    """One item per menu, each opening the next: written flat, as deep as wanted."""
    style = ",".join([pages.PLAIN_STYLE] * 3) + ","
    lines = [pages.param("ApStyle", "FFFFFF,FFFFFF,,0,0,0,")]
    for k in range(levels):
        lines += [pages.param("MStyle-%d" % k, "C0C0C0,01,0,0,2,2,60,20,2,0"), pages.param("IStyle-%d" % k, style),
                  pages.param("I%d-0" % k, "L%d,,,,,,,_self," % k)]
    relations = "".join("%d-%d," % (k, k + 1) for k in range(levels - 1))
    return "".join(lines) + pages.param("Misc", "%d,%s-0,%s" % (levels, "1," * levels, relations))


DEPTH_JS = """<script>window.KM_WARNINGS = 0; const warn = console.warn.bind(console);
console.warn = (...a) => { window.KM_WARNINGS++; warn(...a); };
addEventListener('load', () => { document.getElementById('results').textContent = JSON.stringify({
  mounted: KestruneMenu.controllers.length, menus: document.querySelectorAll('.km-menu').length,
  warnings: window.KM_WARNINGS }); });</script>"""


def test_depth(browser, kestrune, program_folder, work, env, failures):
    """The deepest chain the program reads is drawn whole; a deeper one is cut where the
    program's limit is, with one warning."""
    folder = work / "depth"
    folder.mkdir()
    reference = folder / "reference.htm"
    reference.write_text(pages.page_text("Chain", "Left", 300, 200, chain_params(PROGRAM_DEPTH)), encoding="cp1252")
    done = subprocess.run([kestrune, "--layout", str(reference), "--open", ",".join(["0"] * PROGRAM_DEPTH)],
                          env=env, capture_output=True)
    laid_out = len(json.loads(done.stdout.decode("latin-1"))["menus"]) if done.returncode == 0 else -1
    failures.check(laid_out == PROGRAM_DEPTH, "depth: the program laid out %d menus of the chain" % laid_out)
    for levels, menus, warnings in ((1999, 1999, 0), (2005, laid_out, 1)):
        page = folder / ("chain%d.html" % levels)
        page.write_text('<!DOCTYPE html><html><head><title>Chain</title>%s</head><body>%s<script src="%s"></script>'
                        '<pre id="results"></pre></body></html>'
                        % (DEPTH_JS, pages.page_text("", "Left", 300, 200, chain_params(levels), runtime=False),
                           (Path(program_folder) / "kestrune-menu.js").as_uri()), encoding="utf-8")
        got = chromium.run_page(browser, page)
        failures.check(got == {"mounted": 1, "menus": menus, "warnings": warnings},
                       "depth: a chain of %d levels gave %s, expected %d menus and %d warnings"
                       % (levels, got, menus, warnings))
    print("depth: chains of 1999 and 2005 levels")


# A site's page: a 26-px menu bar, drop-downs of links, and text right under the bar.
BAR_STYLES = ["1F3A5F,FFFFFF,011,0,1,14,0,00,0,4,,", "2E5C8A,FFFFFF,011,0,1,14,1,00,0,4,,",
              "0B1E33,FFFFFF,011,0,1,14,1,00,0,4,,"]


def bar_page(align="Left", width=844, height=121, levels=1, sub_items=5, sub_y=0):
    def sub(level):
        inner = sub(level + 1) if level < levels else None
        return pages.FixedMenu([("Entry %d.%d" % (level, i), inner if i == 0 else None, "", "e%d_%d.html" % (level, i))
                                for i in range(sub_items)], x=0 if level == 1 else 142, y=26 if level == 1 else sub_y,
                               w=140, h=24, gap=0, styles=BAR_STYLES)
    bar = pages.FixedMenu([(name, sub(1), "", name.lower() + ".html") for name in ("Home", "Club", "Teams")],
                          align=1, x=width - 3 * 96 if align == "Right" else 0, y=0, w=96, h=26, gap=0,
                          styles=BAR_STYLES)
    text = "<p>" + " ".join(["The club meets every Tuesday and Thursday at the sports ground."] * 12) + "</p>"
    return ('<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>Club</title></head><body>\n'
            '<p align="%s">%s</p>\n<script src="kestrune-menu.js"></script>\n%s\n</body></html>\n'
            % (align, pages.fixed_applet([bar], width=width, height=height), text))


UNDER_JS = """(() => { const box = %s, text = document.querySelector('body > p:last-of-type');
  const c = KestruneMenu.controllers[0]; const node = c.tops[0].nodes[1];
  const r = node.el.getBoundingClientRect(); return { bar: box.getBoundingClientRect().bottom,
    text: text.getBoundingClientRect().top, point: [r.left + r.width / 2, r.top + r.height / 2] }; })()""" % BOX

COVER_JS = """(() => { const open = document.querySelector('.km-menu .km-menu:not([hidden])'); if (!open) return null;
  const r = open.getBoundingClientRect(), t = document.querySelector('body > p:last-of-type').getBoundingClientRect();
  const x = r.left + r.width / 2, y = r.bottom - 5;
  return { overText: r.bottom > t.top && r.left < t.right, onTop: open.contains(document.elementFromPoint(x, y)) }; })()"""


def test_over_page(tab, program_folder, work, failures):
    """Text under a 26-px bar starts right under it; an open drop-down lies over the text."""
    folder = work / "bar"
    folder.mkdir()
    shutil.copy(Path(program_folder) / "kestrune-menu.js", folder)
    page = folder / "club.html"
    page.write_text(bar_page(), encoding="utf-8")
    tab.desktop(1024, 768)
    tab.open(page.as_uri())
    under = tab.evaluate(UNDER_JS)
    # The paragraph's own margin (16 px) lies between; the applet's 121 px do not.
    failures.check(under["text"] - under["bar"] <= 17 and under["bar"] < 60,
                   "over the page: the bar ends at %s, the text starts at %s" % (under["bar"], under["text"]))
    tab.mouse_to(*under["point"])
    cover = tab.evaluate(COVER_JS)
    failures.check(cover == {"overText": True, "onTop": True}, "over the page: the open drop-down %s" % cover)
    # Forced colours keep the open item apart from the others; print gives dark text on white.
    looks = "[...document.querySelectorAll('.km-area > .km-menu > li > .km-item')].map((e) => getComputedStyle(e).%s)"
    tab.send("Emulation.setEmulatedMedia", {"features": [{"name": "forced-colors", "value": "active"}]})
    outlines = tab.evaluate(looks % "outlineStyle")
    failures.check(outlines[1] != "none" and outlines[0] == outlines[2] == "none",
                   "forced colours: the bar's outlines %s" % outlines)
    tab.send("Emulation.setEmulatedMedia", {"media": "print", "features": []})
    printed = tab.evaluate(looks % "color")
    failures.check(set(printed) == {"rgb(0, 0, 0)"}, "print: the bar's text colours %s" % printed)
    tab.send("Emulation.setEmulatedMedia", {"media": "", "features": []})
    print("over the page: text %d px under the bar, drop-down over it" % (under["text"] - under["bar"]))


ON_SCREEN_JS = """((depth) => { const c = KestruneMenu.controllers[0], view = document.documentElement;
  if (c.compact) return 'compact';
  c.setPath({ top: c.tops[0].top, items: [2, ...Array(depth - 1).fill(0)] }, true);
  const out = [...document.querySelectorAll('.km-menu .km-menu:not([hidden])')].map((m) => m.getBoundingClientRect())
    .filter((r) => r.left < 0 || r.top < 0 || r.right > view.clientWidth || r.bottom > view.clientHeight)
    .map((r) => [r.left, r.top, r.right, r.bottom].map(Math.round));
  const shown = document.querySelectorAll('.km-menu .km-menu:not([hidden])').length;
  c.close(); return shown === depth ? out : 'opened ' + shown; })"""


def test_on_screen(tab, program_folder, work, failures):
    """Sub menus at the window's right and bottom edges move back inside, at any depth."""
    folder = work / "edges"
    folder.mkdir()
    shutil.copy(Path(program_folder) / "kestrune-menu.js", folder)
    page = folder / "edges.html"
    page.write_text(bar_page("Right", width=280, height=60, levels=6, sub_items=10, sub_y=40), encoding="utf-8")
    checked = 0
    for width in (320, 375, 768, 1024, 1366, 1920):
        tab.desktop(width, 480)
        tab.open(page.as_uri())
        for depth in range(1, 7):
            outside = tab.evaluate("%s(%d)" % (ON_SCREEN_JS, depth))
            checked += 1
            failures.check(outside == [], "on screen: %d px wide, depth %d: %s" % (width, depth, outside))
    tab.desktop()
    print("on screen: %d widths and depths" % checked)


CURRENT_JS = """(() => { const box = %s;
  return [...box.querySelectorAll('[aria-current]')].map((el) => [el.textContent, el.getAttribute('aria-current'),
    getComputedStyle(el).backgroundColor]); })()""" % BOX


def test_current_page(tab, program_folder, work, failures):
    """The item leading to the page shown is marked, whatever query or fragment the address
    has, a folder being its index page; the items above it are marked as its trail."""
    folder = work / "site"
    (folder / "teams").mkdir(parents=True)
    shutil.copy(Path(program_folder) / "kestrune-menu.js", folder)
    styles = [pages.PLAIN_STYLE, pages.PLAIN_STYLE, "102030,FFFFFF,011,0,1,14,0,00,0,0,,"]
    teams = pages.FixedMenu([("Under 10", None, "", "teams/u10.html?from=menu"), ("Under 12", None, "", "teams/u12.html")],
                            styles=styles)
    menu = pages.FixedMenu([("Home", None, "", "./"), ("Teams", teams), ("News", None, "", "news.htm#latest")],
                           styles=styles)
    applet = pages.fixed_applet([menu])
    for name, base in (("index.html", "./"), ("news.htm", "./"), ("teams/u10.html", "../")):
        (folder / name).write_text('<!DOCTYPE html><html><head><title>Site</title><base href="%s"></head><body>'
                                   '%s<script src="kestrune-menu.js"></script></body></html>' % (base, applet),
                                   encoding="utf-8")
    clicked_colour = "rgb(16, 32, 48)"
    for address, wanted in (("index.html?x=1#top", [["Home", "page", clicked_colour]]),
                            ("news.htm", [["News", "page", clicked_colour]]),
                            ("teams/u10.html#a", [["Teams", "true", "rgb(255, 255, 255)"], ["Under 10", "page", "rgb(16, 32, 48)"]])):
        tab.open(folder.as_uri() + "/" + address)
        got = tab.evaluate(CURRENT_JS)
        failures.check(got == wanted, "current page %s: %s, expected %s" % (address or "folder", got, wanted))
    print("current page: 3 addresses")


def run(browser_path, kestrune, program_folder, work, env, failures):
    test_depth(browser_path, kestrune, program_folder, work, env, failures)
    browser = devtools.Browser(browser_path)
    try:
        tab = browser.new_tab()
        test_over_page(tab, program_folder, work, failures)
        test_on_screen(tab, program_folder, work, failures)
        test_current_page(tab, program_folder, work, failures)
    finally:
        browser.close()
