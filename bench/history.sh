#!/usr/bin/env bash
# Times the snapshot history of cadrix-report on generated weekly exports:
#  - `history add` of 200 sample-size archives (30 players) in one run, against
#    `unzip -o -q` extracting the same archives one by one (goal: <= 3 times);
#  - `history list` and `history player` over 500 stored snapshots of 60
#    players, process start included (goal: < 50 ms each), and the check of
#    the database's pages that every opening makes (PRAGMA quick_check);
#  - the database's growth per snapshot against the archives' size (goal: <= 2).
# Prints medians. Usage: bench/history.sh BUILD_DIR [REPETITIONS]
set -euo pipefail

build="${1:?usage: history.sh BUILD_DIR [REPETITIONS]}"
reps="${2:-7}"
report="$build/cadrix-report"
here="$(cd "$(dirname "$0")" && pwd)"
[ -x "$report" ] || { echo "history: $report is not built" >&2; exit 1; }
command -v unzip >/dev/null || { echo "history: unzip is missing" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 "$here/make_history_archives.py" "$work/small" 200 30
python3 "$here/make_history_archives.py" "$work/large" 500 60

python3 - "$report" "$work" "$reps" <<'PY'
import glob, os, shutil, statistics, subprocess, sys, time

report, work, reps = sys.argv[1], sys.argv[2], int(sys.argv[3])
small = sorted(glob.glob(os.path.join(work, "small", "*.zip")))
large = sorted(glob.glob(os.path.join(work, "large", "*.zip")))

def timed(cmd, **kw):
    t = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, **kw)
    return (time.perf_counter() - t) * 1000

# One shell runs unzip once per archive, each into a fresh folder.
unzip_loop = 'n=0; for f in "$@"; do n=$((n+1)); unzip -o -q "$f" -d "$OUT/$n"; done'
unzip_ms, add_ms = [], []
for r in range(reps):
    out = os.path.join(work, "unzipped")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    unzip_ms.append(timed(["sh", "-c", unzip_loop, "sh"] + small, env=dict(os.environ, OUT=out)))
    db = os.path.join(work, f"add{r}.sqlite")
    add_ms.append(timed([report, "history", "add", "--db", db, os.path.join(work, "small")]))
    small_db_bytes = os.path.getsize(db)
    os.remove(db)
u, a = statistics.median(unzip_ms), statistics.median(add_ms)
print(f"Adding 200 archives of 30 players, median of {reps} runs each:")
print(f"  unzip -o -q, one by one  {u:8.0f} ms")
print(f"  cadrix-report history add {a:7.0f} ms")
print(f"  ratio add / unzip = {a / u:.2f}  (goal <= 3)")

db = os.path.join(work, "large.sqlite")
subprocess.run([report, "history", "add", "--db", db, os.path.join(work, "large")], check=True,
               stdout=subprocess.DEVNULL)
runs = max(reps, 21)
start_ms = [timed([report, "--help"]) for _ in range(runs)]
list_ms = [timed([report, "history", "list", "--db", db]) for _ in range(runs)]
# The longest series: a player present from the first export to the last.
first_id = "100000"
player_ms = [timed([report, "history", "player", "--db", db, first_id]) for _ in range(runs)]
points = subprocess.run([report, "history", "player", "--db", db, first_id], check=True, capture_output=True,
                        text=True).stdout.count("\n") - 2
print(f"Over 500 stored snapshots of 60 players, median of {runs} runs, process start included:")
print(f"  cadrix-report --help    {statistics.median(start_ms):6.1f} ms  (process start alone)")
print(f"  history list            {statistics.median(list_ms):6.1f} ms  (goal < 50)")
print(f"  history player ({points} points) {statistics.median(player_ms):6.1f} ms  (goal < 50)")

# The opening's check of the pages, alone, through the same SQLite library.
import sqlite3
def quick_check_ms():
    con = sqlite3.connect(f"file:{db}?mode=ro", uri=True)
    t = time.perf_counter()
    answer = con.execute("PRAGMA quick_check(1)").fetchone()[0]
    ms = (time.perf_counter() - t) * 1000
    con.close()
    assert answer == "ok", answer
    return ms
check_ms = [quick_check_ms() for _ in range(runs)]
print(f"  PRAGMA quick_check      {statistics.median(check_ms):6.1f} ms  ({os.path.getsize(db) / 1024:.0f} KiB file)")

# The whole file over the number of snapshots: the schema's own pages count too.
for title, archives, size in (("200 snapshots of 30 players", small, small_db_bytes),
                              ("500 snapshots of 60 players", large, os.path.getsize(db))):
    archive_bytes = sum(os.path.getsize(f) for f in archives) / len(archives)
    print(f"Database of {title}: {size / 1024:.0f} KiB")
    print(f"  per snapshot {size / len(archives):.0f} bytes, archive {archive_bytes:.0f} bytes")
    print(f"  ratio growth / archive = {size / len(archives) / archive_bytes:.2f}  (goal <= 2)")
PY
