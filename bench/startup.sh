#!/usr/bin/env bash
# Times the program's start against a bare Qt Widgets window of the main
# window's size, on a virtual X display under the openbox window manager, and
# measures the memory of both. bench/startup_probe starts each program and
# watches its window through the X server: the time to the window's map, and
# to its last drawing before half a second of stillness (for the program given
# the sample pair: its pages painted). Runs are interleaved, so that the
# machine's drift hits all alike; medians are printed with the ratios to the
# bare window (goals: mapped x1.3, pages painted x1.5, memory 50 MB).
# Usage: bench/startup.sh BUILD_DIR [REPETITIONS]
set -euo pipefail

build="${1:?usage: startup.sh BUILD_DIR [REPETITIONS]}"
reps="${2:-15}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="$(cd "$build" && pwd)"
for program in bench/startup_probe bench/first_paint_bare src/app/cadrix; do
  [ -x "$build/$program" ] || { echo "startup: $build/$program is not built (CADRIX_BENCH=ON)" >&2; exit 1; }
done
for tool in xvfb-run openbox xprop; do
  command -v "$tool" >/dev/null || { echo "startup: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat > "$work/run.py" <<'PY'
import os, statistics, subprocess, sys

build, root, work, reps = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
probe = os.path.join(build, "bench/startup_probe")
cadrix = [os.path.join(build, "src/app/cadrix"), "--work-dir", os.path.join(work, "base"),
          "--db", os.path.join(work, "history.sqlite")]
pair = [os.path.join(root, "samples/start.zip"), os.path.join(root, "samples/end.zip")]
programs = [("bare Qt Widgets window 549x553", [os.path.join(build, "bench/first_paint_bare"), "--stay"]),
            ("cadrix", cadrix),
            ("cadrix START.zip END.zip", cadrix + pair)]

def measure(command):
    line = subprocess.run([probe] + command, check=True, capture_output=True, text=True).stdout
    return {key: float(value) for key, value in (field.split("=") for field in line.split())}

def load():
    return " ".join(open("/proc/loadavg").read().split()[:3])

os.makedirs(os.path.join(work, "base"))
print(f"load average before: {load()}")
for _, command in programs:  # warm the file cache; the history database is made here
    measure(command)
runs = {name: [] for name, _ in programs}
for _ in range(reps):
    for name, command in programs:
        runs[name].append(measure(command))
print(f"load average after:  {load()}")

def median(name, key):
    return statistics.median(run[key] for run in runs[name])

bare, plain, loaded = (name for name, _ in programs)
print(f"Start under openbox, median of {reps} interleaved runs each:")
print(f"  {'':32s} {'mapped':>9s} {'painted':>9s} {'settled':>9s} {'VmRSS':>8s} {'VmHWM':>8s}")
for name, _ in programs:
    print(f"  {name:32s} {median(name, 'mapped'):6.1f} ms {median(name, 'first_paint'):6.1f} ms "
          f"{median(name, 'settled'):6.1f} ms {median(name, 'rss_kb') / 1024:5.1f} MB {median(name, 'hwm_kb') / 1024:5.1f} MB")
print(f"  cadrix mapped / bare mapped:                     x{median(plain, 'mapped') / median(bare, 'mapped'):.2f}"
      "  (goal x1.3)")
print(f"  cadrix with the pair, pages painted / bare painted: "
      f"x{median(loaded, 'settled') / median(bare, 'first_paint'):.2f}  (goal x1.5)")
print(f"  cadrix with the pair, resident: {median(loaded, 'rss_kb') / 1024:.1f} MB "
      f"(bare window {median(bare, 'rss_kb') / 1024:.1f} MB; goal 50 MB)")
PY

# The desktop tests' runner: a virtual display with openbox ready on it.
bash "$root/tests/gui/on_desktop.sh" openbox python3 "$work/run.py" "$build" "$root" "$work" "$reps"
