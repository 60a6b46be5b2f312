#!/usr/bin/env bash
# Saves PNG pictures of the window on the sample pair, and of a generated
# season in the history, under build/screenshots/, on a virtual display, with
# the PDF report the window saves and its first two sheets as pictures.
set -euo pipefail
build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
out="$root/build/screenshots"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
mkdir -p "$out"
# A season of another club, stored first: 45 weekly exports for its chart.
python3 bench/make_history_archives.py "$work/season" 45 30 "Северная Звезда"
"$build/cadrix-report" history add --db "$work/history.sqlite" "$work/season" >/dev/null
# The user's own settings (the colour-blind palette) stay out of the pictures.
XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/src/app/cadrix" --work-dir "$work" --db "$work/history.sqlite" --screenshots "$out" \
  samples/start.zip samples/end.zip
# The first two sheets of the report the window saves, as pictures.
pdftoppm -r 72 -f 1 -l 2 -png "$out/report.pdf" "$out/15-report"
ls "$out"
