#!/usr/bin/env python3
"""Whole-process figures for big documents, measured side by side (a measurement, not a test).

Usage: big_documents.py PROGRAM_FOLDER [COUNT ...]      (default counts: 10000 100000 1000000)

For each count, writes a generated document with kestrune_bench_document, then runs
`wc -l` and `kestrune --html` on the same menu file several times each and prints the
median CPU time (user + system) of both, their ratio, the growth per 10x items, and the
peak resident memory of the program against the file's size."""

import os
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

RUNS = 5


def run_once(argv):
    """CPU seconds and peak resident kilobytes of one run, its output thrown away."""
    with open(os.devnull, "wb") as sink:
        child = subprocess.Popen(argv, stdout=sink, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(child.pid, 0)
        child.returncode = os.waitstatus_to_exitcode(status)
        error = child.stderr.read()
        child.stderr.close()
    if child.returncode != 0:
        raise SystemExit(f"{argv[0]} failed: {error.decode(errors='replace')}")
    return usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def median_run(argv):
    runs = [run_once(argv) for _ in range(RUNS)]
    return statistics.median(cpu for cpu, _ in runs), max(rss for _, rss in runs)


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    program = Path(sys.argv[1]).resolve()
    counts = [int(c) for c in sys.argv[2:]] or [10000, 100000, 1000000]
    print(f"{'items':>9} {'file MB':>8} {'wc -l s':>8} {'--html s':>9} {'ratio':>7} {'growth':>7}"
          f" {'peak MB':>8} {'peak/file':>9} {'B/item':>7}")
    previous = None
    with tempfile.TemporaryDirectory(prefix="kestrune-big-") as folder:
        for count in counts:
            page = Path(folder) / f"menu{count}.htm"
            subprocess.run([str(program / "kestrune_bench_document"), str(count), str(page)], check=True)
            menu = page.with_suffix(".kst")
            size = menu.stat().st_size
            wc_cpu, _ = median_run(["wc", "-l", str(menu)])
            html_cpu, peak_kb = median_run([str(program / "kestrune"), "--html", str(menu)])
            growth = f"{html_cpu / previous:.1f}x" if previous else "-"
            previous = html_cpu
            peak = peak_kb * 1024
            print(f"{count:>9} {size / 1e6:>8.1f} {wc_cpu:>8.4f} {html_cpu:>9.3f} {html_cpu / max(wc_cpu, 1e-6):>6.0f}x"
                  f" {growth:>7} {peak / 1e6:>8.1f} {peak / size:>8.2f}x {peak / count:>7.0f}")
            for name in (page, menu):
                name.unlink(missing_ok=True)


if __name__ == "__main__":
    main()
