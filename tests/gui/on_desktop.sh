#!/usr/bin/env bash
# Runs a window test on a virtual X display, under the openbox window manager
# ("openbox") or with none at all ("bare"): what only a real X server and a
# window manager do (frames, minimising, stacking, reading the screen).
# Exit status 77 skips the test where a tool is missing; under CI=true a
# missing tool fails.
set -euo pipefail
wm=$1
shift

if [ "$wm" != inside ]; then
  need=(xvfb-run xprop)
  [ "$wm" = openbox ] && need+=(openbox)
  for tool in "${need[@]}"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "on_desktop: $tool is missing" >&2
      [ "${CI:-}" = true ] && exit 1
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" inside "$wm" "$@"
fi

wm=$1
shift
wm_pid=
if [ "$wm" = openbox ]; then
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  # Ready when it has announced itself on the root window.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
fi
status=0
CADRIX_DESKTOP_WM=$wm QT_QPA_PLATFORM=xcb "$@" || status=$?
[ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
exit $status
