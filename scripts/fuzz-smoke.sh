#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets into build-fuzz/ and runs each for a few seconds from the
# kept inputs in tests/data/fuzz. FUZZ_SECONDS sets the time per target (default 5).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --fuzz
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTRUNE_FUZZ=ON -DKESTRUNE_EDITOR=OFF -DKESTRUNE_TESTS=OFF -DKESTRUNE_BENCH=OFF >/dev/null
targets=(menu_file menu_in_order file_access item_record page_params page_layout au_decoder link_writer)
nice cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"
seconds=${FUZZ_SECONDS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  cp tests/data/fuzz/$target/* "$work/$target/"
  echo "fuzz_$target: ${seconds}s"
  build-fuzz/bin/fuzz_$target -max_total_time="$seconds" -max_len=65536 -timeout=5 -rss_limit_mb=512 \
    -artifact_prefix="$work/" -print_final_stats=1 "$work/$target" 2>&1 | grep -E "stat::number_of_executed_units|ERROR|SUMMARY" || true
  if ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* >/dev/null 2>&1; then
    echo "fuzz_$target found a fault; the input is kept in build-fuzz/"
    cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* build-fuzz/ 2>/dev/null || true
    exit 1
  fi
done
echo "Fuzz smoke run passed."
