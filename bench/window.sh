#!/usr/bin/env bash
# Times the window's start and its charts, on a virtual display (offscreen
# without xvfb-run):
#  - start to first paint of a bare Qt Widgets window, and of the same window
#    with Qt Charts linked in, as the program would be without its chart
#    module; and the program itself (`cadrix --screenshots`, the splash
#    picture saved) as built, and linked with Qt Charts;
#  - opening a player's chart and table of 500 points per line, and the
#    improvers of the whole range (goal: < 100 ms each).
# Prints medians. Usage: bench/window.sh BUILD_DIR [REPETITIONS]
set -euo pipefail

build="${1:?usage: window.sh BUILD_DIR [REPETITIONS]}"
reps="${2:-21}"
here="$(cd "$(dirname "$0")" && pwd)"
for program in bench/first_paint_bare bench/first_paint_charts bench/cadrix_charts_linked bench/chart_open_bench \
               src/app/cadrix cadrix-report; do
  [ -x "$build/$program" ] || { echo "window: $build/$program is not built (CADRIX_BENCH=ON)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/make_history_archives.py" "$work/archives" 500 60
"$build/cadrix-report" history add --db "$work/history.sqlite" "$work/archives" >/dev/null

cat > "$work/run.py" <<'PY'
import os, shutil, statistics, subprocess, sys, tempfile, time

build, work, reps = sys.argv[1], sys.argv[2], int(sys.argv[3])

def timed(cmd):
    t = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return (time.perf_counter() - t) * 1000

def splash(program):
    folder = tempfile.mkdtemp(dir=work)
    try:
        return timed([program, "--work-dir", folder, "--db", os.path.join(folder, "h.sqlite"),
                      "--screenshots", os.path.join(folder, "shots")])
    finally:
        shutil.rmtree(folder)

pairs = [("bare Qt Widgets window, first paint", "bare QtWidgets + Qt Charts linked",
          lambda: timed([os.path.join(build, "bench/first_paint_bare")]),
          lambda: timed([os.path.join(build, "bench/first_paint_charts")])),
         ("cadrix, splash saved (charts as a module)", "cadrix with Qt Charts linked",
          lambda: splash(os.path.join(build, "src/app/cadrix")),
          lambda: splash(os.path.join(build, "bench/cadrix_charts_linked")))]
for name_a, name_b, run_a, run_b in pairs:
    run_a(), run_b()  # warm the file cache
    a, b = [], []
    for _ in range(reps):  # interleaved, so that the machine's drift hits both
        a.append(run_a())
        b.append(run_b())
    ma, mb = statistics.median(a), statistics.median(b)
    print(f"Start, median of {reps} runs each:")
    print(f"  {name_a:45s} {ma:7.1f} ms")
    print(f"  {name_b:45s} {mb:7.1f} ms  (x{mb / ma:.2f})")
PY
run=(python3 "$work/run.py" "$build" "$work" "$reps")
chart=("$build/bench/chart_open_bench" "$work/history.sqlite" 100000 "$reps")
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '"$@"' _ "${run[@]}"
  xvfb-run -a -s "-screen 0 1280x1024x24" "${chart[@]}"
else
  QT_QPA_PLATFORM=offscreen "${run[@]}"
  QT_QPA_PLATFORM=offscreen "${chart[@]}"
fi
