# SPDX-License-Identifier: GPL-3.0-or-later
"""Pages for the script runtime's browser tests: built-in templates saved by the program,
and generated documents written in the page format the program writes."""

import random
import re
import subprocess
from pathlib import Path

LINE_BREAK = "|_#`"
WORDS = ["Home", "News", "Shop", "About", "Contact", "Help", "Blog", "Team", "Jobs", "Press", "Maps",
         "Links", "FAQ", "Download", "Forum", "Events", "Gallery", "Archive", "Search", "Login"]


def attribute(text):
    return text.replace("&", "&amp;").replace('"', "&quot;")


def param(name, value):
    return '\t<param name="%s" value="%s">\r\n' % (name, attribute(value))


def page_text(title, align, width, height, params, runtime=True):
    tail = '<script src="kestrune-menu.js"></script>\r\n' if runtime else ""
    return ('<html>\r\n<head><title>%s</title></head>\r\n<p align="%s">\r\n'
            '<applet code="trelvix.class" align="baseline" width="%d" height="%d">\r\n%s</applet>\r\n</p>\r\n%s</html>'
            % (title, align, width, height, params, tail))


class Menu:
    def __init__(self, rng, depth, long_menu=False):
        self.color = "%06X" % rng.randrange(1 << 24)
        self.bkstyle = rng.choice(["01", "02", "11", "12"])
        self.align = rng.choice([0, 0, 1])
        self.corner = rng.randrange(4)
        self.x, self.y = rng.randrange(-40, 260), rng.randrange(-30, 200)
        self.w, self.h = rng.randrange(20, 180), rng.randrange(10, 48)
        self.gap = rng.choice([0, 1, 2, 5, 8, 15, -2])
        self.border = rng.choice([0, 0, 1, 2, 3, 6])
        self.styles = [self.random_style(rng) for _ in range(3)]
        count = rng.randrange(25, 41) if long_menu else rng.randrange(1, 8)
        self.items = []
        for i in range(count):
            label = rng.choice(WORDS) + (LINE_BREAK + rng.choice(WORDS) if rng.random() < 0.15 else "")
            sub = Menu(rng, depth + 1) if depth < 4 and rng.random() < (0.45 if depth < 3 else 0.2) else None
            self.items.append({"label": label, "sub": sub, "description": rng.choice(["", "About " + label]),
                               "link": rng.choice(["", "page%d.htm" % i]), "target": rng.choice(["_self", "main"])})

    @staticmethod
    def random_style(rng):
        return ",".join([
            "%06X" % rng.randrange(1 << 24), "%06X" % rng.randrange(1 << 24),
            "%d%d%d" % (rng.randrange(2), rng.randrange(10), rng.randrange(1, 4)),
            str(rng.randrange(5)), str(rng.randrange(3)), str(rng.randrange(8, 30)), str(rng.randrange(4)),
            "%d%d" % (rng.randrange(3), rng.randrange(3)), str(rng.randrange(-4, 10)), str(rng.randrange(-4, 10)),
            "", ""])


def encode(tops):
    """The parameter lines and "Misc" in the program's numbering: each top-level menu, then
    depth first everything under its first item, then under the next."""
    lines, counts, top_numbers, relations = [], [], [], []
    emitted = []

    def emit(menu, opener):
        number = len(counts)
        if opener is not None:
            relations.append((opener, number))
        counts.append(len(menu.items))
        lines.append(param("MStyle-%d" % number, ",".join(str(v) for v in [
            menu.color, menu.bkstyle, menu.align, menu.corner, menu.x, menu.y, menu.w, menu.h, menu.gap,
            menu.border])))
        lines.append(param("IStyle-%d" % number, ",".join(menu.styles) + ","))
        first = len(emitted)
        for j, item in enumerate(menu.items):
            emitted.append(item)
            lines.append(param("I%d-%d" % (number, j), ",".join([
                item["label"], item["description"], "", "", "", "", "", item["target"], item["link"]])))
        for j, item in enumerate(menu.items):
            if item["sub"] is not None:
                emit(item["sub"], first + j)

    for menu in tops:
        top_numbers.append(len(counts))
        emit(menu, None)
    misc = "%d,%s" % (len(counts), "".join("%d," % c for c in counts))
    misc += "".join("-%d," % n for n in top_numbers)
    misc += "".join("%d-%d," % r for r in sorted(relations))
    return "".join(lines) + param("Misc", misc)


def generated_page(seed):
    rng = random.Random(seed)
    tops = [Menu(rng, 0, long_menu=(seed % 5 == 0 and t == 0)) for t in range(rng.randrange(1, 4))]
    applet = param("ApStyle", "%06X,%06X,,0,0,0," % ((rng.randrange(1 << 24),) * 2))
    return page_text("Generated %d" % seed, rng.choice(["Center", "Left", "Right"]),
                     rng.randrange(150, 700), rng.randrange(80, 500), applet + encode(tops))


def menu_tree(page):
    """Top-level menus and sub menus of a page, read from its "Misc" line: for each
    top-level menu a list of items, each the sub menu's item list or None."""
    misc = re.search(r'<param name="Misc" value="([^"]*)"', page).group(1).split(",")[:-1]
    count = int(misc[0])
    counts = [int(v) for v in misc[1:1 + count]]
    tops, subs = [], {}
    for field in misc[1 + count:]:
        left, right = field.split("-")
        if left == "":
            tops.append(int(right))
        else:
            subs[int(left)] = int(right)
    first_item = [sum(counts[:k]) for k in range(count)]

    def items(k):
        return [items(subs[first_item[k] + j]) if first_item[k] + j in subs else None for j in range(counts[k])]

    return [items(k) for k in tops]


def open_paths(tree):
    """Top-level only, each top-level menu with its first and last item, and the first chain
    of sub menus three levels deep, and the last one."""
    paths = [[]]
    for t, items in enumerate(tree):
        paths += [[t], [t, 0], [t, len(items) - 1]]
        for pick in (lambda xs: xs, lambda xs: list(reversed(xs))):
            path, level = [t], items
            while level is not None and len(path) < 5:
                with_sub = [i for i, sub in enumerate(level) if sub is not None]
                if not with_sub:
                    path.append(len(level) - 1)
                    break
                index = pick(with_sub)[0]
                path.append(index)
                level = level[index]
            paths.append(path)
    unique = []
    for path in paths:
        if path not in unique:
            unique.append(path)
    return unique


def save_templates(kestrune, program_folder, folder, env):
    """Every built-in template saved with the runtime; the position after the last gives 1."""
    pages = []
    for position in range(100):
        page = Path(folder) / ("template%d" % position) / "page.htm"
        done = subprocess.run([kestrune, "--app-dir", program_folder, "--new", str(position), "--save", str(page),
                               "--runtime"], env=env, capture_output=True)
        if done.returncode != 0:
            break
        pages.append(page)
    return pages


PLAIN_STYLE = "FFFFFF,000000,011,0,1,14,0,00,0,0,,"


class FixedMenu:
    """A menu written out by hand: items are (label, sub menu or None, description, link, target)."""

    def __init__(self, items, align=0, x=10, y=10, w=90, h=22, gap=2, styles=None):
        self.color, self.bkstyle, self.align, self.corner = "C0C0C0", "01", align, 0
        self.x, self.y, self.w, self.h, self.gap, self.border = x, y, w, h, gap, 0
        self.styles = styles or [PLAIN_STYLE] * 3
        self.items = [{"label": i[0], "sub": i[1] if len(i) > 1 else None, "description": i[2] if len(i) > 2 else "",
                       "link": i[3] if len(i) > 3 else "", "target": i[4] if len(i) > 4 else "_self"} for i in items]


def fixed_applet(tops, width=400, height=200):
    return '<applet code="trelvix.class" width="%d" height="%d">\n%s%s</applet>' % (
        width, height, param("ApStyle", "FFFFFF,FFFFFF,,0,0,0,"), encode(tops))
