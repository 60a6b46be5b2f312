#!/usr/bin/env bash
# Runs every benchmark and prints medians. Usage: bench/run.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
reps=${BENCH_REPETITIONS:-7}

echo "== data layer and load run (median of $reps runs)"
# Only the filter may find nothing to show; a benchmark that fails or crashes
# fails the run (pipefail).
"$build/bench/cadrix_bench" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
    --benchmark_filter="${BENCH_FILTER:-.}" --benchmark_out="$build/bench-results.json" \
    --benchmark_out_format=json | { grep -E 'median|BigO|RMS|^Run|^CPU|^---|Benchmark' || true; }
python3 "$here/summarise.py" "$build/bench-results.json"

if [ -f "$here/zip_extract.sh" ]; then
  echo
  echo "== archive extraction against Info-ZIP unzip"
  bash "$here/zip_extract.sh" "$build"
fi

echo
echo "== snapshot history against Info-ZIP unzip"
bash "$here/history.sh" "$build" "$reps"

if [ -x "$build/bench/chart_open_bench" ]; then
  echo
  echo "== the window's start and its charts"
  bash "$here/window.sh" "$build" "$reps"
  echo
  echo "== the window's start and memory against a bare Qt window"
  bash "$here/startup.sh" "$build" "$(( reps > 15 ? reps : 15 ))"
fi

echo
echo "== cadrix-report formats on a generated 40,000-player pair"
bash "$here/report_formats.sh" "$build"
