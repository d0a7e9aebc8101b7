#!/usr/bin/env bash
# Runs every fuzz target built in BUILD (default build-fuzz) for SECONDS each (default 60),
# over a scratch copy of its seed corpus; fails on the first finding.
#   tests/fuzz/run.sh [SECONDS] [BUILD]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
build=${2:-$top/build-fuzz}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in "$build"/tests/fuzz/fuzz_*; do
  [[ -x $target ]] || continue
  name=$(basename "$target")
  mkdir -p "$work/$name"
  seeds=$top/tests/fuzz/corpus/$name
  echo "== $name: ${seconds}s"
  if ! QT_QPA_PLATFORM=offscreen "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="$work/$name-" "$work/$name" "$seeds" >"$work/$name.log" 2>&1; then
    echo "!! $name found a problem:"
    tail -40 "$work/$name.log"
    for crash in "$work/$name"-*; do
      [[ -e $crash ]] && { echo "input (base64):"; base64 "$crash" | head -20; }
    done
    status=1
  else
    grep -E '^Done [0-9]+ runs' "$work/$name.log" | sed "s/^/   $name: /"
  fi
done
exit $status
