#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for a fixed time each
# (FUZZ_SECONDS, default 30). Corpora live in build/fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
build=build/fuzz
while read -r target; do
  [ -n "$target" ] || continue
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/$target"
  [ -d "$seeds" ] || seeds=""
  echo "fuzz: $target for ${seconds}s"
  "$build/$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -print_final_stats=0 \
    "$corpus" $seeds 2>&1 | tail -n 3
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzz: $target found a fault"; exit 1; }
done < "$build/fuzz_targets.txt"
