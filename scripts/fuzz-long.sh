#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target built by scripts/fuzz-smoke.sh at once, at the lowest priority,
# from the kept inputs in tests/data/fuzz, for FUZZ_SECONDS each (default 1800). Each
# target's log, corpus, findings and CPU time go to FUZZ_OUT (default build-fuzz/long);
# a summary per target is printed at the end.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-1800}
out=${FUZZ_OUT:-build-fuzz/long}
rm -rf "$out"
for binary in build-fuzz/bin/fuzz_*; do
  target=${binary#build-fuzz/bin/fuzz_}
  mkdir -p "$out/$target/corpus" "$out/$target/artifacts"
  cp tests/data/fuzz/"$target"/* "$out/$target/corpus/"
  /usr/bin/time -f "%U %S %e %M" -o "$out/$target/time" nice -n 19 "$binary" -max_total_time="$seconds" \
    -rss_limit_mb=512 -timeout=5 -max_len=65536 -print_final_stats=1 -artifact_prefix="$out/$target/artifacts/" \
    "$out/$target/corpus" >"$out/$target/log" 2>&1 &
done
wait
status=0
printf '%-14s %12s %10s %12s %8s %9s  %s\n' target executions "exec/s" "exec/cpu-s" "wall s" "peak MB" findings
for folder in "$out"/*/; do
  target=$(basename "$folder")
  executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$folder/log")
  rate=$(awk '/stat::average_exec_per_sec/ {print $2}' "$folder/log")
  peak=$(awk '/stat::peak_rss_mb/ {print $2}' "$folder/log")
  read -r user system wall _ <"$folder/time"
  perCpu=$(awk -v n="${executions:-0}" -v c="$user" -v s="$system" 'BEGIN { printf "%d", n / (c + s) }')
  findings=$(ls "$folder/artifacts" | tr '\n' ' ')
  [[ -n "$findings" ]] && status=1
  printf '%-14s %12s %10s %12s %8s %9s  %s\n' "$target" "$executions" "$rate" "$perCpu" "$wall" "$peak" "${findings:-none}"
done
exit $status
