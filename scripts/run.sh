#!/usr/bin/env bash
# Opens Cadrix on the sample pair of exports; without a display, prints the
# text report of the same pair instead.
set -euo pipefail
build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

pair=()
if [ -f samples/start.zip ] && [ -f samples/end.zip ]; then
  pair=(samples/start.zip samples/end.zip)
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display (DISPLAY and WAYLAND_DISPLAY are empty); printing the text report of the sample pair instead"
  exec "$build/cadrix-report" --format text "${pair[@]}"
fi
exec "$build/src/app/cadrix" "${pair[@]}"
