#!/usr/bin/env bash
# Runs each fuzz target for a bounded time on a copy of the committed seed
# corpus, and prints libFuzzer's closing figures. Stops at the first finding
# (its input is left in fuzz/out/TARGET/ as crash-*, leak-* or timeout-*).
#   fuzz/run.sh SECONDS [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
sekundy=${1:?usage: fuzz/run.sh SECONDS [SEED]}
seed=${2:-0}
for target in reader dialogue; do
  out=fuzz/out/$target
  mkdir -p "$out/corpus"
  cp -n fuzz/corpus/$target/* "$out/corpus/" 2>/dev/null || true
  echo "== fuzz_$target: $sekundy s"
  build/fuzz/fuzz/fuzz_$target -max_total_time="$sekundy" -seed="$seed" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" > "$out/log.txt" 2>&1 || {
    tail -40 "$out/log.txt"
    echo "fuzz_$target found a problem; see $out/"
    exit 1
  }
  grep -E '^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec' "$out/log.txt"
done
