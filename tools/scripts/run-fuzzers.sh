#!/usr/bin/env bash
# Runs every libFuzzer target in a folder for a bounded time each, starting
# from its seed corpus in tests/fuzz/corpus/<target> when there is one.
set -euo pipefail
dir=$1
seconds=${2:-30}
root=$(cd "$(dirname "$0")/../.." && pwd)
status=0
for fuzzer in "$dir"/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  work=$(mktemp -d)
  seeds=()
  [ -d "$root/tests/fuzz/corpus/$name" ] && seeds=("$root/tests/fuzz/corpus/$name")
  echo "== $name for ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -max_len=8192 -malloc_limit_mb=64 -rss_limit_mb=1024 \
       -timeout=5 -print_final_stats=1 -artifact_prefix="$work/" "$work" "${seeds[@]}" 2>"$work/log"; then
    tail -n 40 "$work/log"
    echo "$name FAILED; crash input in $work" >&2
    status=1
    continue
  fi
  grep -E 'stat::number_of_executed_units|Done' "$work/log" | tail -n 2 || true
  rm -rf "$work"
done
exit $status
