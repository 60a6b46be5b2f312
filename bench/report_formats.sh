#!/usr/bin/env bash
# Times cadrix-report on a generated pair of 40,000-player exports in each of
# its formats, interleaved, and prints per format the median wall time, CPU
# time (user + system) and peak memory, with the HTML and CSV exports against
# the JSON report measured in the same run, and every format's peak memory
# against the CSV text of the pair (the four files of both sides together).
# Goals: HTML and CSV each under 2 s; their peak memory at most twice the JSON's;
# every format's peak memory at most 4 times the CSV text.
# Usage: bench/report_formats.sh BUILD_DIR [REPETITIONS] [PLAYERS]
set -euo pipefail

build="${1:?usage: report_formats.sh BUILD_DIR [REPETITIONS] [PLAYERS]}"
reps="${2:-5}"
players="${3:-40000}"
[ -x "$build/bench/cadrix_bench_pair" ] || { echo "report_formats: $build/bench/cadrix_bench_pair is not built" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/cadrix_bench_pair" "$work/pair" "$players"

python3 - "$build/cadrix-report" "$work" "$reps" "$players" <<'PY'
import os, statistics, subprocess, sys, time
report, work, reps, players = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
pair = [os.path.join(work, "pair", "start"), os.path.join(work, "pair", "end")]
formats = {
    "text": ["--format", "text", "--output", os.path.join(work, "report.txt")],
    "json": ["--format", "json", "--output", os.path.join(work, "report.json")],
    "html": ["--format", "html", "--output", os.path.join(work, "report.html")],
    "csv": ["--format", "csv", "--output", os.path.join(work, "csv")],
    "bbcode": ["--format", "bbcode", "--output", os.path.join(work, "report.bbcode")],
    "markdown": ["--format", "markdown", "--output", os.path.join(work, "report.md")],
}
runs = {name: [] for name in formats}
for _ in range(reps):
    for name, args in formats.items():
        start = time.monotonic()
        process = subprocess.Popen([report] + args + pair)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.monotonic() - start
        if status != 0:
            sys.exit(f"cadrix-report {name} failed with status {status}")
        runs[name].append((wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024))
median = {name: tuple(statistics.median(r[i] for r in rs) for i in range(3)) for name, rs in runs.items()}
print(f"cadrix-report on {players:,} players, median of {reps} runs each (load average {os.getloadavg()[0]:.1f}):")
for name, (wall, cpu, mib) in median.items():
    print(f"  {name:<8} wall {wall:6.2f} s   cpu {cpu:6.2f} s   peak memory {mib:7.1f} MiB")
for name in ("html", "csv"):
    wall, cpu, mib = median[name]
    print(f"  {name}: wall {wall:.2f} s (goal < 2 s), memory / json = {mib / median['json'][2]:.2f} (goal <= 2)")
csv_text = sum(entry.stat().st_size for side in pair for entry in os.scandir(side) if entry.is_file())
print(f"  the pair's CSV text: {csv_text:,} bytes")
for name, (_, _, mib) in median.items():
    print(f"  {name}: peak memory / CSV text = {mib * 1024 * 1024 / csv_text:.2f} (goal <= 4)")
PY
