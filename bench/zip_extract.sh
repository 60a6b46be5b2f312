#!/usr/bin/env bash
# Times the extraction of a generated statistics archive (four CSV entries,
# 200 MB of text) by ZipFile against Info-ZIP `unzip -o -q`, each into a fresh
# folder, and against zlib's in-memory raw inflate of the same entries, which
# writes nothing. Prints the three medians of runs interleaved in one run and
# the ratios ZipFile / unzip (goal: <= 0.35) and ZipFile / inflate (goal: <= 0.8).
# Usage: bench/zip_extract.sh BUILD_DIR [REPETITIONS]
set -euo pipefail

build="${1:?usage: zip_extract.sh BUILD_DIR [REPETITIONS]}"
reps="${2:-7}"
bench="$build/bench/cadrix_bench"
[ -x "$bench" ] || { echo "zip_extract: $bench is not built" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

CADRIX_ZIP_BENCH_ARCHIVE="$work/statistics.zip" "$bench" \
  --benchmark_filter='^ZipExtract/' \
  --benchmark_repetitions="$reps" \
  --benchmark_enable_random_interleaving=true \
  --benchmark_out="$work/result.json" --benchmark_out_format=json >/dev/null

python3 - "$work/result.json" "$reps" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {}
for r in runs:
    if r.get("aggregate_name") == "median":
        median[r["run_name"].replace("/real_time", "")] = r["real_time"]  # milliseconds
mb = 200.0
c, u, i = median["ZipExtract/cadrix"], median["ZipExtract/unzip"], median["ZipExtract/inflate"]
print(f"ZIP extraction of 200 MB of CSV text, median of {sys.argv[2]} runs each:")
print(f"  ZipFile            {c:8.0f} ms  ({mb / c * 1000:6.1f} MB/s)")
print(f"  unzip -o -q        {u:8.0f} ms  ({mb / u * 1000:6.1f} MB/s)")
print(f"  zlib inflate (mem) {i:8.0f} ms  ({mb / i * 1000:6.1f} MB/s)")
print(f"  ratio ZipFile / unzip   = {c / u:.2f}  (goal <= 0.35)")
print(f"  ratio ZipFile / inflate = {c / i:.2f}  (goal <= 0.80)")
PY
