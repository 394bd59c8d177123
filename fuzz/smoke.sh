#!/usr/bin/env bash
# Runs a fuzz target for a few seconds from fixture files:
#   ./fuzz/smoke.sh TARGET SECONDS [SEED_PATTERNS]   (seeds: tests/data/*.qfd unless given)
set -euo pipefail
target=$1
seconds=${2:-20}
seeds=${3:-*.qfd}
here=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(mktemp -d)
for pattern in $seeds; do cp "$here"/tests/data/$pattern "$corpus"/; done
log=$(mktemp)
trap 'rm -rf "$corpus" "$log"' EXIT
rc=0
"$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
  -artifact_prefix="$(dirname "$target")/" "$corpus" >"$log" 2>&1 || rc=$?
grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' "$log" || true
if [ "$rc" -ne 0 ]; then
  tail -n 40 "$log"
  echo "fuzz smoke run of $target found a fault (exit $rc)" >&2
  exit 1
fi
echo "fuzz smoke run of $target: no finding in ${seconds}s"
