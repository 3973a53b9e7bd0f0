#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Whole-process figures for big documents, measured side by side (a measurement, not a test).

Usage: big_documents.py PROGRAM_FOLDER [COUNT ...] [--before OTHER_PROGRAM_FOLDER]
       (default counts: 10000 100000 1000000)

For each count, writes a generated document with kestrune_bench_document, then runs
`wc -l` and `kestrune --html` on the same menu file several times each and prints the
median CPU time (user + system) of both, their ratio, the growth per 10x items, and the
peak resident memory of the program against the file's size and against the goal
(twice the file plus the empty program, `kestrune --version`). With --before, a second
program folder (an older build) runs on the same files in the same session, its rows
marked "before", and both pages must be byte-identical. Ends with a verdict line per goal."""

import argparse
import filecmp
import os
import statistics
import subprocess
import tempfile
from pathlib import Path

RUNS = 5
GOAL_RATIO = 25.0  # --html CPU against wc -l of the 100k-item file
GOAL_MEMORY = 2.0  # peak RSS against the file, above the empty program


def run_once(argv, output=os.devnull):
    """CPU seconds and peak resident kilobytes of one run."""
    with open(output, "wb") as sink:
        child = subprocess.Popen(argv, stdout=sink, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(child.pid, 0)
        child.returncode = os.waitstatus_to_exitcode(status)
        error = child.stderr.read()
        child.stderr.close()
    if child.returncode != 0:
        raise SystemExit(f"{argv[0]} failed: {error.decode(errors='replace')}")
    return usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def median_run(argv, output=os.devnull):
    runs = [run_once(argv, output) for _ in range(RUNS)]
    return statistics.median(cpu for cpu, _ in runs), max(rss for _, rss in runs)


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("program")
    parser.add_argument("counts", nargs="*", type=int)
    parser.add_argument("--before")
    args = parser.parse_args()
    programs = [("after" if args.before else "", Path(args.program).resolve())]
    if args.before:
        programs.insert(0, ("before", Path(args.before).resolve()))
    counts = args.counts or [10000, 100000, 1000000]

    empty = {label: run_once([str(folder / "kestrune"), "--version"])[1] * 1024 for label, folder in programs}
    for label, folder in programs:
        print(f"empty program {label}: peak {empty[label] / 1e6:.1f} MB (kestrune --version)")
    print(f"{'items':>9} {'':>6} {'file MB':>8} {'wc -l s':>8} {'--html s':>9} {'ratio':>7} {'growth':>7}"
          f" {'peak MB':>8} {'peak/file':>9} {'B/item':>7} {'goal MB':>8}")
    previous = {}
    verdicts = []
    with tempfile.TemporaryDirectory(prefix="kestrune-big-") as folder:
        for count in counts:
            page = Path(folder) / f"menu{count}.htm"
            subprocess.run([str(programs[-1][1] / "kestrune_bench_document"), str(count), str(page)], check=True)
            menu = page.with_suffix(".kst")
            size = menu.stat().st_size
            wc_cpu, _ = median_run(["wc", "-l", str(menu)])
            outputs = []
            for label, program in programs:
                output = Path(folder) / f"out-{label}-{count}.htm"
                html_cpu, peak_kb = median_run([str(program / "kestrune"), "--html", str(menu)], str(output))
                outputs.append(output)
                growth = f"{html_cpu / previous[label]:.1f}x" if label in previous else "-"
                previous[label] = html_cpu
                peak = peak_kb * 1024
                goal = GOAL_MEMORY * size + empty[label]
                ratio = html_cpu / max(wc_cpu, 1e-6)
                print(f"{count:>9} {label:>6} {size / 1e6:>8.1f} {wc_cpu:>8.4f} {html_cpu:>9.3f} {ratio:>6.0f}x"
                      f" {growth:>7} {peak / 1e6:>8.1f} {peak / size:>8.2f}x {peak / count:>7.0f} {goal / 1e6:>8.1f}",
                      flush=True)
                if label == programs[-1][0]:
                    verdicts.append(f"peak memory at {count} items: {peak / 1e6:.1f} MB against the goal "
                                    f"{goal / 1e6:.1f} MB (2x file + empty program): "
                                    f"{'met' if peak <= goal else 'not met'}")
                    if count == 100000:
                        verdicts.append(f"--html of 100k items against wc -l: {ratio:.0f}x against the goal "
                                        f"{GOAL_RATIO:.0f}x: {'met' if ratio <= GOAL_RATIO else 'not met'}")
            if len(outputs) == 2:
                same = filecmp.cmp(outputs[0], outputs[1], shallow=False)
                print(f"{'':>9} pages before and after {'byte-identical' if same else 'DIFFER'}")
            for name in [page, menu, *outputs]:
                name.unlink(missing_ok=True)
    for line in verdicts:
        print(line)


if __name__ == "__main__":
    main()
