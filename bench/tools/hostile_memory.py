#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Peak resident memory of the readers on menu files shaped to cost the most per byte
(a measurement, not a test).

Usage: hostile_memory.py PROGRAM_FOLDER [--before OTHER_PROGRAM_FOLDER] [--mb SIZE ...]

Each shape names menus or items without giving them lines of their own, or repeats one
warning for every item. For each shape and size the file is written to a scratch folder and
read with the command given; the table shows the peak resident memory above the empty
program (`kestrune --version`) against the file's size, and against the goal of eight times
the file plus the empty program."""

import argparse
import os
import subprocess
import tempfile
from pathlib import Path

GOAL = 8.0


def claimed_items(size):
    """One menu whose count claims a billion items, padded to size."""
    head = b"[Vorane2.0]\r\nNotice=Vorane2.0\r\nMisc=1,999999999,-0,\r\n"
    line = b";" + b"x" * 1021 + b"\r\n"
    return head + line * ((size - len(head)) // len(line))


def one_item_menus(size):
    """size/32 top-level menus of one item each, none with a line of its own."""
    menus = size // 32
    misc = b"Misc=%d," % menus + b"1," * menus + b"".join(b"-%d," % k for k in range(menus))
    head = b"[Vorane2.0]\r\nNotice=Vorane2.0\r\n" + misc + b"\r\n"
    line = b";" + b"x" * 1021 + b"\r\n"
    return head + line * max((size - len(head)) // len(line), 0)


def legacy_claim(size):
    """The older layout: a main menu claiming a billion items, and 8-byte lines."""
    head = b"[Menu Relation]\r\nRelation=1,999999999,\r\n[Item]\r\n"
    return head + b"Ix=abc\r\n" * ((size - len(head)) // 8)


SHAPES = [
    ("Misc=1,999999999,-0, + padding", claimed_items, "--params"),
    ("Misc=M,1,1,... size/32 top menus", one_item_menus, "--params"),
    ("Relation=1,999999999, + 8-byte lines", legacy_claim, "--params"),
    ("Relation=1,999999999, + 8-byte lines", legacy_claim, "--check"),
]


def peak_kb(argv):
    with open(os.devnull, "wb") as sink:
        child = subprocess.Popen(argv, stdout=sink, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
    return os.waitstatus_to_exitcode(status), usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("program")
    parser.add_argument("--before")
    parser.add_argument("--mb", type=float, nargs="*", default=[16, 64])
    args = parser.parse_args()
    programs = [("after" if args.before else "", Path(args.program).resolve())]
    if args.before:
        programs.insert(0, ("before", Path(args.before).resolve()))
    empty = {label: peak_kb([str(folder / "kestrune"), "--version"])[1] * 1024 for label, folder in programs}
    for label, folder in programs:
        print(f"empty program {label}: peak {empty[label] / 1e6:.1f} MB")
    print(f"{'shape':<38} {'cmd':<9} {'':<6} {'file MB':>8} {'peak MB':>8} {'x file':>7} {'goal MB':>8} status")
    with tempfile.TemporaryDirectory(prefix="kestrune-hostile-") as folder:
        for name, make, command in SHAPES:
            for mb in args.mb:
                path = Path(folder) / "menu.kst"
                path.write_bytes(make(int(mb * 1e6)))
                size = path.stat().st_size
                for label, program in programs:
                    status, kb = peak_kb([str(program / "kestrune"), command, str(path)])
                    peak = kb * 1024
                    goal = GOAL * size + empty[label]
                    print(f"{name:<38} {command:<9} {label:<6} {size / 1e6:>8.1f} {peak / 1e6:>8.1f}"
                          f" {(peak - empty[label]) / size:>6.1f}x {goal / 1e6:>8.1f} {status}"
                          f" {'met' if peak <= goal else 'NOT MET'}", flush=True)
                path.unlink()


if __name__ == "__main__":
    main()
