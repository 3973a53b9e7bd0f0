# SPDX-License-Identifier: GPL-3.0-or-later
"""What a site's visitors meet on a page written with the script runtime, driven over the
DevTools protocol: the plain list without scripts, the links with the runtime, phones,
axe-core's WCAG rules, the accessibility tree, the keyboard with a moving pointer, and
the runtime's bounds on hand-written pages."""

import html
import json
import os
import random
import re
import shutil
import subprocess
import time
from pathlib import Path

import devtools
import pages

HERE = Path(__file__).resolve().parent
AXE = HERE / "node_modules" / "axe-core" / "axe.min.js"
AXE_TAGS = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa"]
SCRIPT_SCHEMES = ("javascript", "vbscript", "data")

HOSTILE_TEXTS = ['<img src=x onerror="window.pwned=1">', '</applet></p><script>window.pwned=2</script>',
                 '"><b>bold</b> & &amp; &lt;', "A|_#`B"]
HOSTILE_LINKS = ["javascript:window.pwned=3", "java&#9;script:window.pwned=4", "&#1;javascript:window.pwned=5",
                 " JAVASCRIPT:window.pwned=6", "vbscript:x", "data:text/html;base64,PHNjcmlwdD4=",
                 'page.htm?a="b"&c=<d>', "#top"]
# Script links spelled with HTML5's named references, which a browser decodes in an href.
NAMED_REFERENCE_LINKS = ["javascript&colon;window.pwned=7", "java&Tab;script:window.pwned=8",
                         "&NewLine;&Tab;javascript&colon;window.pwned=9", "vbscript&colon;x",
                         "data&colon;text/html;base64&comma;PHNjcmlwdD4=", "JaVaScRiPt&colon;window.pwned=10"]


# ---- the pages -------------------------------------------------------------------------

def generated_documents(kestrune, template_pages, work, env, count):
    """Templates with their items' texts, links, targets and visibility replaced at random,
    hostile ones among them, saved again by the program with the runtime."""
    made = []
    rng = random.Random(20)
    for n in range(count):
        source = template_pages[n % len(template_pages)]
        folder = work / ("visitor%d" % n)
        folder.mkdir()
        lines = source.with_suffix(".kst").read_bytes().decode("cp1252").split("\r\n")
        for i, line in enumerate(lines):
            if not re.match(r"I\d+-\d+=", line):
                continue
            key, value = line.split("=", 1)
            fields = value.split(",")
            if len(fields) != 10:
                continue
            hostile = rng.random() < 0.3
            fields[0] = rng.choice(HOSTILE_TEXTS if hostile else pages.WORDS)
            fields[1] = rng.choice(HOSTILE_TEXTS + [""]) if hostile else rng.choice(["", "About " + fields[0]])
            fields[2] = rng.choice(HOSTILE_LINKS) if hostile else rng.choice(["", "p%d.htm" % i, "sub/q%d.htm" % i])
            fields[3] = rng.choice(["", "_self", "_blank", "main", "_top"])
            fields[9] = "0" if rng.random() < 0.1 else "1"
            lines[i] = key + "=" + ",".join(fields)
        menu = folder / "source.kst"
        menu.write_bytes("\r\n".join(lines).encode("cp1252"))
        page = folder / "page.htm"
        subprocess.run([kestrune, "--save", str(menu), str(page), "--runtime"], env=env, check=True,
                       capture_output=True)
        made.append(page)
    return made


def is_script_link(value):
    """The link as the browser's URL parser reads the attribute value."""
    url = html.unescape(value).strip("".join(chr(c) for c in range(33)))
    url = re.sub(r"[\t\n\r]", "", url)
    found = re.match(r"([A-Za-z][A-Za-z0-9+.-]*):", url)
    return bool(found) and found.group(1).lower() in SCRIPT_SCHEMES


def expected_links(page_text):
    """(link, target) of every visible item with a link, from the page's parameters."""
    links = []
    for name, value in re.findall(r'<param name="(I\d+-\d+)" value="([^"]*)">', page_text):
        fields = value.split(",")
        link, target = fields[8].strip(" \t"), fields[7].strip(" \t") or "_self"
        if link and not is_script_link(link):
            links.append([html.unescape(link), html.unescape(target)])
    return links


# ---- scripts run in the page -----------------------------------------------------------

LINKS_JS = """(() => [...document.querySelectorAll(%s)].map((a) => [a.getAttribute('href'), a.target, a.href]))()"""

FALLBACK_JS = """(() => {
  const applet = document.querySelector('p > applet');
  const nav = applet && applet.querySelector(':scope > nav');
  const allowed = new Set(['PARAM', 'NAV', 'STYLE', 'UL', 'LI', 'A']);
  const strangers = applet ? [...applet.querySelectorAll('*')].filter((e) => !allowed.has(e.tagName)).map((e) => e.tagName) : [];
  const links = nav ? [...nav.querySelectorAll('a')] : [];
  const r = nav ? nav.getBoundingClientRect() : null;
  // A tidy site menu: no bullets, and each link on screen when the keyboard reaches it.
  const bullets = nav ? [...nav.querySelectorAll('li')].filter((li) => getComputedStyle(li).listStyleType !== 'none').length : 0;
  const unseen = links.filter((a) => { a.focus(); const f = a.getBoundingClientRect();
    return document.activeElement !== a || f.left < 0 || f.top < 0 || f.width === 0; }).map((a) => a.textContent);
  return { inApplet: !!nav, label: nav && nav.getAttribute('aria-label'), strangers, bullets, unseen,
    shown: !!r && r.height > 0 && links.every((a) => a.getBoundingClientRect().height > 0),
    schemes: links.map((a) => a.protocol), withoutHref: nav ? nav.querySelectorAll('a:not([href])').length : 0,
    pwned: window.pwned };
})()"""

BOX = "document.querySelector('nav.kestrune-menu')"

RECT_JS = """((el) => { el.scrollIntoView({ block: 'center', inline: 'center' });
  const r = el.getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2, r.width, r.height]; })"""

COMPACT_JS = """(() => {
  const box = %s;
  const toggle = box && box.querySelector('.km-toggle');
  const r = toggle ? toggle.getBoundingClientRect() : null;
  return { compact: !!box && box.classList.contains('km-compact'), toggle: !!r && r.width > 0 && r.height > 0,
    name: toggle && toggle.textContent, expanded: toggle && toggle.getAttribute('aria-expanded'),
    pictures: box ? [...box.querySelectorAll('.km-parent > .km-item')]
      .filter((e) => getComputedStyle(e).backgroundImage.includes('url(')).length : 0,
    scrollWidth: document.documentElement.scrollWidth, viewport: window.innerWidth };
})()""" % BOX

TARGETS_JS = """(() => {
  const box = %s;
  const visible = (el) => { const r = el.getBoundingClientRect(); return r.width > 0 && r.height > 0; };
  const small = [...box.querySelectorAll('a[href], button')].filter(visible).map((el) => {
    const r = el.getBoundingClientRect(); return [el.textContent.trim().slice(0, 30), Math.round(r.width), Math.round(r.height)];
  }).filter(([, w, h]) => w < 44 || h < 44);
  const hiddenItems = [...box.querySelectorAll('.km-item')].filter((el) => !visible(el)).length;
  const closed = [...box.querySelectorAll('.km-area button[aria-expanded=false]')].filter(visible).length;
  return { small, hiddenItems, closed, scrollWidth: document.documentElement.scrollWidth, viewport: window.innerWidth };
})()""" % BOX

CLICKS_JS = """(() => { window.KM_CLICKS = [];
  window.addEventListener('click', (e) => { const a = e.target.closest('a');
    window.KM_CLICKS.push([a ? a.href : null, e.defaultPrevented]); e.preventDefault(); });
  return true; })()"""


def centre_of(tab, selector, index=0):
    return tab.evaluate("%s(document.querySelectorAll(%s)[%d])" % (RECT_JS, json.dumps(selector), index))


# ---- the tests ----------------------------------------------------------------------------

def check_without_scripts(tab, page, failures):
    tab.send("Emulation.setScriptExecutionDisabled", {"value": True})
    try:
        tab.open(page.as_uri(), settle=False)
        found = tab.evaluate(FALLBACK_JS)
        links = tab.evaluate(LINKS_JS % json.dumps("applet nav a[href]"))
    finally:
        tab.send("Emulation.setScriptExecutionDisabled", {"value": False})
    text = page.read_bytes().decode("cp1252")
    where = page.parent.name
    failures.check(found["inApplet"], "%s: the fallback list is not inside the applet in the paragraph" % where)
    failures.check(found["shown"], "%s: without scripts the list is not shown" % where)
    failures.check(not found["strangers"], "%s: the fallback list made elements %s" % (where, found["strangers"][:5]))
    failures.check(found["bullets"] == 0 and not found["unseen"], "%s: without scripts %d bullets, links out of sight "
                   "when focused: %s" % (where, found["bullets"], found["unseen"][:5]))
    failures.check(not any(s.rstrip(":") in SCRIPT_SCHEMES for s in found["schemes"]),
                   "%s: a script link in the fallback list: %s" % (where, found["schemes"]))
    # The list is nested as the menus are; the parameters run menu by menu.
    got, wanted = sorted([h, t] for h, t, _ in links), sorted(expected_links(text))
    failures.check(got == wanted, "%s: fallback links %s, expected %s" % (
        where, [x for x in got if x not in wanted][:4], [x for x in wanted if x not in got][:4]))
    return [[absolute, target] for _, target, absolute in links]


def check_runtime_links(tab, page, fallback, failures):
    tab.desktop()
    tab.open(page.as_uri())
    links = tab.evaluate(LINKS_JS % json.dumps("nav.kestrune-menu a[href]"))
    failures.check([[a, t] for _, t, a in links] == fallback,
                   "%s: the runtime made links %s, the fallback has %s" % (
                       page.parent.name, [[a, t] for _, t, a in links][:4], fallback[:4]))
    bad = [a for _, _, a in links if a.split(":")[0].lower() in SCRIPT_SCHEMES]
    failures.check(not bad, "%s: the runtime wrote script links %s" % (page.parent.name, bad))
    strangers = tab.evaluate("[...%s.querySelectorAll('img, script, b, iframe, applet')].length" % BOX)
    failures.check(strangers == 0, "%s: a text made %d elements in the drawn menu" % (page.parent.name, strangers))


def tap_through(tab, where, failures):
    """Opens the compact list and every group by taps, then taps every link."""
    state = tab.evaluate(COMPACT_JS)
    failures.check(state["compact"] and state["toggle"], "%s: no compact menu button (%s)" % (where, state))
    failures.check(state["pictures"] == 0, "%s: %d sub menu openers keep their picture beside the toggle's arrow"
                   % (where, state["pictures"]))
    failures.check(state["scrollWidth"] <= state["viewport"],
                   "%s: the page is %d px wide in a %d px viewport" % (where, state["scrollWidth"], state["viewport"]))
    if not state["toggle"]:
        return
    x, y, _, _ = centre_of(tab, "nav.kestrune-menu .km-toggle")
    tab.tap(x, y)
    failures.check(tab.evaluate("%s.querySelector('.km-toggle').getAttribute('aria-expanded')" % BOX) == "true",
                   "%s: tapping the menu button did not open the list" % where)
    closed = "nav.kestrune-menu .km-area button[aria-expanded=false]"
    for _ in range(500):
        left = tab.evaluate("[...document.querySelectorAll(%s)].findIndex((b) => b.getBoundingClientRect().width > 0)"
                            % json.dumps(closed))
        if left < 0:
            break
        x, y, _, _ = centre_of(tab, closed, left)
        tab.tap(x, y)
    targets = tab.evaluate(TARGETS_JS)
    failures.check(targets["closed"] == 0 and targets["hiddenItems"] == 0,
                   "%s: taps left %d groups closed, %d items hidden" % (where, targets["closed"], targets["hiddenItems"]))
    failures.check(not targets["small"], "%s: tap targets under 44 x 44: %s" % (where, targets["small"][:4]))
    failures.check(targets["scrollWidth"] <= targets["viewport"],
                   "%s: opened, the page is %d px wide in %d" % (where, targets["scrollWidth"], targets["viewport"]))
    tab.evaluate(CLICKS_JS)
    count = tab.evaluate("%s.querySelectorAll('a[href]').length" % BOX)
    for i in range(count):
        x, y, _, _ = centre_of(tab, "nav.kestrune-menu a[href]", i)
        tab.tap(x, y)
    clicks = tab.evaluate("window.KM_CLICKS")
    hrefs = tab.evaluate("[...%s.querySelectorAll('a[href]')].map((a) => a.href)" % BOX)
    failures.check(clicks == [[h, False] for h in hrefs],
                   "%s: tapped links did not all follow: %s" % (where, [c for c in clicks if c[1]][:3] or clicks[:3]))


def check_phone(tab, page, failures):
    """Returns how many times the compact form was walked."""
    walked = 0
    for width, height in ((375, 667), (320, 568)):
        tab.phone(width, height)
        tab.open(page.as_uri())
        where = "%s at %d px" % (page.parent.name, width)
        fits = tab.evaluate("window.KestruneMenu.controllers[0].applet.width <= %s.parentElement.clientWidth" % BOX)
        if fits:
            state = tab.evaluate(COMPACT_JS)
            failures.check(state["scrollWidth"] <= state["viewport"], "%s: the page is %d px wide" % (where, state["scrollWidth"]))
            continue
        tap_through(tab, where, failures)
        walked += 1
    tab.desktop()
    if walked:
        # Wide again: the drawn menus come back without a reload.
        tab.evaluate("new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))")
        failures.check(not tab.evaluate("%s.classList.contains('km-compact')" % BOX),
                       "%s: still compact at desktop width" % page.parent.name)
    return walked


def axe_violations(tab, dropped_down=False):
    """With a drop-down open, the targets it covers are not judged by their size (a visitor
    cannot reach them until it closes; closed, every target is judged): only its own are."""
    if not tab.evaluate("!!window.axe"):
        tab.evaluate(AXE.read_text(encoding="utf-8") + ";true")
    run = ("axe.run(%s, { runOnly: { type: 'tag', values: %s }, rules: { 'target-size': { enabled: %s } } })"
           ".then((r) => r.violations.map((v) => [v.id, v.nodes.length, v.nodes[0].target.join(' '),"
           " v.nodes[0].failureSummary]))")
    tags = json.dumps(AXE_TAGS)
    result = tab.evaluate(run % ("document", tags, "false" if dropped_down else "true"), timeout=120)
    if dropped_down:
        result += tab.evaluate(run % ("{ include: [['.km-menu .km-menu:not([hidden])']] }",
                                      json.dumps(["wcag22aa"]), "true"), timeout=120)
    return result


OPEN_FIRST_SUB = """(() => { const c = window.KestruneMenu.controllers[0];
  const node = c.nodes.find((n) => n.sub && n.record.level === 0); if (!node) return false;
  c.setPath(c.pathTo(node), true); return true; })()"""

OPEN_ALL_COMPACT = """(() => { const c = window.KestruneMenu.controllers[0]; c.showList(true);
  for (const n of c.nodes) if (n.sub) c.disclose(n, true); return c.compact; })()"""


def check_axe(tab, page, failures):
    where = page.parent.name
    tab.desktop()
    tab.open(page.as_uri())
    for state in ("closed", "open"):
        if state == "open" and not tab.evaluate(OPEN_FIRST_SUB):
            continue
        for v in axe_violations(tab, dropped_down=state == "open"):
            failures.check(False, "%s desktop %s: axe %s" % (where, state, v))
    tab.phone(375, 667)
    tab.open(page.as_uri())
    for state in ("closed", "open"):
        if state == "open":
            if not tab.evaluate(OPEN_ALL_COMPACT):
                continue
        for v in axe_violations(tab):
            failures.check(False, "%s phone %s: axe %s" % (where, state, v))
    tab.desktop()


# Names a screen reader reads: each link and button once, by its label.
AX_LABELS_JS = """(() => { const shown = (el) => el.getClientRects().length > 0;
  return [...%s.querySelectorAll('a[href], button')].filter(shown)
    .map((el) => el.getAttribute('aria-label') || [...el.querySelectorAll('.km-line')].map((l) => l.textContent).join(' ').trim());
})()""" % BOX


def check_names(tab, page, failures):
    tab.desktop()
    tab.open(page.as_uri())
    tab.evaluate(OPEN_FIRST_SUB)
    labels = tab.evaluate(AX_LABELS_JS)
    tree = tab.send("Accessibility.getFullAXTree")["nodes"]
    names = [n.get("name", {}).get("value", "").strip() for n in tree
             if not n.get("ignored") and n.get("role", {}).get("value") in ("link", "button")]
    failures.check(sorted(names) == sorted(labels),
                   "%s: accessible names %s, labels %s" % (page.parent.name, names[:6], labels[:6]))


# No menu roles anywhere, and every sub menu's button says whether it is open.
PATTERN_JS = """(() => { const box = %s;
  const roles = document.querySelectorAll('[role=menubar], [role=menu], [role=menuitem], [aria-haspopup]').length;
  const wrong = [...box.querySelectorAll('.km-area [aria-controls]')].filter((b) =>
    b.getAttribute('aria-expanded') !== String(!document.getElementById(b.getAttribute('aria-controls')).hidden));
  return { roles, wrong: wrong.map((b) => b.id || b.getAttribute('aria-label')) }; })()""" % BOX

KEYS_SETUP_JS = """(() => { const c = window.KestruneMenu.controllers[0];
  const tops = c.tops.flatMap((r) => r.nodes).filter((n) => n.control);
  const node = tops.find((n) => n.button) || tops[0]; if (!node) return null;
  const mark = (el, name) => el && el.setAttribute('data-test', `${el.getAttribute('data-test') || ''} ${name}`);
  mark(node.control, 'control'); mark(node.button ? node.el : null, 'link');
  const inner = c.stops(node.sub)[0]; mark(inner, 'inner');
  const top = c.stops(node.record); mark(top[0], 'first'); mark(top[top.length - 1], 'last');
  document.activeElement.blur();
  return { linked: !!node.button, inner: !!inner, stops: c.nodes.length + 2 }; })()"""

ACTIVE_JS = "(document.activeElement.getAttribute('data-test') || document.activeElement.tagName)"
EXPANDED_JS = ("(() => { const b = document.querySelector('[data-test~=control]');"
               " return [b.getAttribute('aria-expanded'), document.getElementById(b.getAttribute('aria-controls'))"
               ".getClientRects().length > 0]; })()")


def check_disclosure_keys(tab, page, failures):
    """The keyboard table of the disclosure navigation pattern, with real key presses, on the
    first top-level item with a sub menu (a linked one where the template has one)."""
    where = page.parent.name
    tab.desktop()
    tab.open(page.as_uri())
    setup = tab.evaluate(KEYS_SETUP_JS)
    if setup is None:
        return False
    steps = []

    def press(key, shift=False, active=None, expanded=None):
        tab.key(key, shift=shift)
        got = tab.evaluate(ACTIVE_JS)
        state = tab.evaluate(EXPANDED_JS)
        pattern = tab.evaluate(PATTERN_JS)
        steps.append(key)
        failures.check(active is None or active in got.split(), "%s: after %s the focus is on %s, not %s" % (where, steps, got, active))
        failures.check(expanded is None or state == [expanded, expanded == "true"],
                       "%s: after %s the sub menu is %s" % (where, steps, state))
        failures.check(pattern == {"roles": 0, "wrong": []}, "%s: after %s %s" % (where, steps, pattern))

    for _ in range(setup["stops"]):
        tab.key("Tab")
        if "control" in tab.evaluate(ACTIVE_JS).split():
            break
    failures.check("control" in tab.evaluate(ACTIVE_JS).split(), "%s: Tab never reached the sub menu's button" % where)
    press("Enter", active="control", expanded="true")
    press(" ", active="control", expanded="false")
    press(" ", expanded="true")
    if setup["inner"]:
        press("ArrowDown", active="inner", expanded="true")
        press("Escape", active="control", expanded="false")
        press("Enter", expanded="true")
        press("Tab", active="inner", expanded="true")
        press("Tab", shift=True, active="control", expanded="true")
    press("Escape", active="control", expanded="false")
    if setup["linked"]:
        press("Tab", shift=True, active="link", expanded="false")
    press("End", active="last")
    press("Home", active="first")
    return True


def check_keyboard_with_pointer(tab, page, failures):
    """A keyboard user in a sub menu keeps the focus while the pointer moves over another
    item and out of the menus; Shift+Tab walks back out of the menus."""
    where = page.parent.name
    tab.desktop()
    tab.open(page.as_uri())
    entered = tab.evaluate("""(() => { const c = window.KestruneMenu.controllers[0];
      const node = c.nodes.find((n) => n.sub && n.record.level === 0 && c.stops(n.sub).length); if (!node) return false;
      node.control.focus(); return true; })()""")
    if not entered:
        return
    in_box = "(() => { const a = document.activeElement; return %s.contains(a) && a.matches('.km-item, .km-sub'); })()" % BOX
    tab.key("Enter")
    tab.key("ArrowDown")
    failures.check(tab.evaluate("!!document.activeElement.closest('.km-menu .km-menu')"),
                   "%s: the keys did not enter the sub menu" % where)
    other = tab.evaluate("""(() => { const c = window.KestruneMenu.controllers[0];
      const tops = c.tops.flatMap((r) => r.nodes); const focused = c.nodeOf(document.activeElement);
      let top = focused; while (top && top.record.opener) top = top.record.opener;
      const o = tops.find((n) => n !== top); if (!o) return null;
      const r = o.el.getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; })()""")
    if other:
        tab.mouse_to(*other)
        failures.check(tab.evaluate(in_box), "%s: the pointer over another item took the focus away" % where)
    tab.mouse_to(1000, 760)
    time.sleep(0.6)
    failures.check(tab.evaluate(in_box), "%s: the pointer leaving the menus took the focus away" % where)
    for _ in range(400):
        if not tab.evaluate("%s.contains(document.activeElement)" % BOX):
            break
        tab.key("Tab", shift=True)
    failures.check(not tab.evaluate("%s.contains(document.activeElement)" % BOX),
                   "%s: Shift+Tab did not lead out of the menus" % where)


def check_without_runtime(tab, kestrune, template_pages, work, env, failures):
    """A page whose runtime is missing keeps its plain list: none of its links is a script link."""
    folder = work / "no-runtime"
    folder.mkdir()
    lines = template_pages[0].with_suffix(".kst").read_bytes().decode("cp1252").split("\r\n")
    links = iter(NAMED_REFERENCE_LINKS)
    for i, line in enumerate(lines):
        fields = line.split("=", 1)[-1].split(",")
        link = next(links, None) if re.match(r"I\d+-\d+=", line) and len(fields) == 10 else None
        if link:
            fields[2], fields[9] = link, "1"
            lines[i] = line.split("=", 1)[0] + "=" + ",".join(fields)
    (folder / "source.kst").write_bytes("\r\n".join(lines).encode("cp1252"))
    page = folder / "page.htm"
    subprocess.run([kestrune, "--save", str(folder / "source.kst"), str(page), "--runtime"], env=env, check=True,
                   capture_output=True)
    (folder / "kestrune-menu.js").unlink()
    tab.open(page.as_uri(), settle=False)
    schemes = tab.evaluate("[...document.querySelectorAll('nav a')].map((a) => a.protocol)")
    failures.check(schemes and not [s for s in schemes if s.rstrip(":") in SCRIPT_SCHEMES],
                   "without the runtime the plain list holds script links: %s" % schemes)


def test_visitors(browser_path, kestrune, program_folder, template_pages, work, env, failures):
    if not AXE.exists():
        # Required in CI; elsewhere the rest still runs, and says what it left out.
        if os.environ.get("CI", "").lower() == "true":
            failures.check(False, "axe-core is not installed: scripts/install-deps.sh installs it")
        else:
            print("SKIP: axe-core checks (run scripts/install-deps.sh to install axe-core)")
    browser = devtools.Browser(browser_path)
    try:
        tab = browser.new_tab()
        documents = template_pages + generated_documents(kestrune, template_pages, work, env, 8)
        walked = compact = 0
        for page in documents:
            fallback = check_without_scripts(tab, page, failures)
            check_runtime_links(tab, page, fallback, failures)
            compact += check_phone(tab, page, failures)
            if AXE.exists():
                check_axe(tab, page, failures)
            check_names(tab, page, failures)
            walked += check_disclosure_keys(tab, page, failures)
            check_keyboard_with_pointer(tab, page, failures)
            pwned = tab.evaluate("window.pwned === undefined ? null : window.pwned")
            failures.check(pwned is None, "%s: a hostile text ran (%s)" % (page.parent.name, pwned))
        failures.check(walked >= 8, "keyboard walk on only %d pages" % walked)
        failures.check(compact >= 10, "the compact form walked on only %d pages" % compact)
        check_bounds(tab, program_folder, work, failures)
        check_without_runtime(tab, kestrune, template_pages, work, env, failures)
        print("visitors: %d pages without scripts, with the runtime, on phones, by axe-core and by keyboard"
              % len(documents))
    finally:
        browser.close()


# ---- hand-written pages: the runtime's work and its media ----------------------------------

def check_bounds(tab, program_folder, work, failures):
    folder = work / "bounds"
    folder.mkdir()
    shutil.copy(Path(program_folder) / "kestrune-menu.js", folder)
    huge = pages.param("ApStyle", "FFFFFF,FFFFFF,,0,0,0,") + pages.param("Misc", "300," + "100000," * 300)
    (folder / "huge.htm").write_text(pages.page_text("Huge", "Left", 300, 200, huge), encoding="cp1252")
    try:
        tab.open((folder / "huge.htm").as_uri(), timeout=20)
        drawn = tab.evaluate("%s ? %s.querySelectorAll('.km-item').length : -1" % (BOX, BOX))
        failures.check(drawn == 0, "bounds: a page claiming 30 million items drew %s" % drawn)
    except devtools.DevToolsError as error:
        failures.check(False, "bounds: a page claiming 30 million items blocked the tab (%s)" % error)
    items = pages.FixedMenu([("Own",), ("Far",), ("Near",)])
    text = pages.page_text("Media", "Left", 300, 200, pages.param("ApStyle", "FFFFFF,FFFFFF,http://evil.invalid/bg.gif,0,0,0,")
                           + pages.encode([items]))
    values = {"I0-0": "Own,,own.gif,,,,,_self,",
              "I0-1": "Far,,http://evil.invalid/far.gif,//evil.invalid/o.gif,,http://evil.invalid/s.au,"
                      "http://evil.invalid/c.au,_self,",
              "I0-2": "Near,,,,,near.au,near.au,_self,"}
    for name, value in values.items():
        text = re.sub(r'(<param name="%s" value=")[^"]*' % name, lambda m: m.group(1) + value, text)
    (folder / "media.htm").write_text(text, encoding="cp1252")
    tab.desktop()
    tab.open((folder / "media.htm").as_uri())
    for label in ("Near", "Far", "Own", "Far", "Near"):
        x, y, _, _ = tab.evaluate("%s([...%s.querySelectorAll('.km-item')].find((e) => e.textContent === %s))"
                                  % (RECT_JS, BOX, json.dumps(label)))
        tab.mouse_to(x, y)
        tab.send("Input.dispatchMouseEvent", {"type": "mousePressed", "x": x, "y": y, "button": "left", "clickCount": 1})
        tab.send("Input.dispatchMouseEvent", {"type": "mouseReleased", "x": x, "y": y, "button": "left", "clickCount": 1})
        tab.evaluate("new Promise((r) => setTimeout(r, 100))")
    tab.mouse_to(250, 100)
    tab.evaluate("new Promise((r) => setTimeout(r, 300))")
    requests = tab.requests()
    failures.check(not [r for r in requests if "evil.invalid" in r],
                   "bounds: media fetched from another host: %s" % [r for r in requests if "evil" in r])
    failures.check(any(r.endswith("/own.gif") for r in requests) and any(r.endswith("/near.au") for r in requests),
                   "bounds: the page's own media were not fetched: %s" % requests)
