#!/usr/bin/env bash
# Times the extraction of a generated statistics archive (four CSV entries,
# 200 MB of text) by ZipFile against Info-ZIP `unzip -o -q`, each into a fresh
# folder, and against zlib's in-memory raw inflate of the same entries, which
# writes nothing. Prints the three medians of runs interleaved in one run and
# the ratios ZipFile / unzip (goal: <= 0.35) and ZipFile / inflate (goal: <= 0.8).
# Then the extraction of a pair of archives of three 67 MB CSV entries each,
# in a process of its own as a manager's choice of both archives, by the
# program's reader (archive_extract) against a plain C program that inflates
# each entry with libdeflate straight into its file mapped at its size
# (mmap_extract), runs interleaved: the ratio of the medians (goal: <= 1.1).
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

python3 - "$build/bench" "$work" "$(( reps > 11 ? reps : 11 ))" <<'PY'
import os, random, shutil, statistics, subprocess, sys, time, zipfile
bench, work, reps = sys.argv[1], sys.argv[2], int(sys.argv[3])
names = [b"\xC8\xE2\xE0\xED\xEE\xE2", b"\xCF\xE5\xF2\xF0\xEE\xE2", b"Smith", b"M\xFCller", b"Rossi", b"Silva"]
positions = [b"GK", b"LD", b"CD", b"RD", b"LM", b"CM", b"RM", b"FW"]
def text(size, seed, columns):
    r = random.Random(seed)
    pool = [b";".join([b"%d" % r.randrange(100000, 999999), r.choice(names), r.choice(positions)] +
                      [b"%d,%d" % (r.randrange(200), r.randrange(10)) if c % 5 == 0 else b"%d" % r.randrange(200)
                       for c in range(3, columns)]) + b"\r\n" for _ in range(20000)]
    rows, total = [], 0
    while total < size:
        chunk = r.choices(pool, k=10000)
        rows += chunk
        total += sum(map(len, chunk))
    return b"".join(rows)[:size]
archives = []
for a in range(2):
    path = os.path.join(work, f"pair{a}.zip")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for i, (name, columns) in enumerate([("club_players.csv", 30), ("club_players_skills.csv", 28),
                                              ("club_team.csv", 40)]):
            z.writestr(name, text(67_000_000, a * 10 + i, columns))
    archives.append(path)
out = os.path.join(work, "out")
times = {"archive_extract": [], "mmap_extract": []}
for _ in range(reps):
    for program in times:
        shutil.rmtree(out, ignore_errors=True)
        os.sync()
        start = time.perf_counter()
        subprocess.run([os.path.join(bench, program), out] + archives, check=True)
        times[program].append(time.perf_counter() - start)
shutil.rmtree(out, ignore_errors=True)
c, m = (statistics.median(times[p]) for p in ("archive_extract", "mmap_extract"))
print(f"Extraction of two archives of 3 x 67 MB of CSV text, median of {reps} interleaved runs each:")
print(f"  archive reader      {c * 1000:8.0f} ms")
print(f"  libdeflate into mmap{m * 1000:8.0f} ms")
print(f"  ratio reader / libdeflate into mmap = {c / m:.2f}  (goal <= 1.10)")
PY
