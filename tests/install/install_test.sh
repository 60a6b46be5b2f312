#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the programs, the desktop entry and the icons.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$prefix/bin/cadrix-report" ] || fail "bin/cadrix-report missing"
if [ -f "$build/src/app/cadrix" ]; then
  [ -x "$prefix/bin/cadrix" ] || fail "bin/cadrix missing"
fi
desktop="$prefix/share/applications/cadrix.desktop"
[ -f "$desktop" ] || fail "desktop entry missing"
grep -q '^Exec=cadrix' "$desktop" || fail "desktop entry does not start cadrix"
grep -q '^Name=' "$desktop" || fail "no English name"
grep -q '^Name\[ru\]=' "$desktop" || fail "no Russian name"
grep -q '^Categories=.*Game;' "$desktop" || fail "not in the Game category"
for icon in 32x32/apps/cadrix.png 128x128/apps/cadrix.png scalable/apps/cadrix.svg; do
  [ -s "$prefix/share/icons/hicolor/$icon" ] || fail "icon $icon missing"
done
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
fi
# The installed report runs from its new place.
"$prefix/bin/cadrix-report" --help >/dev/null || fail "installed cadrix-report does not run"
echo "install test passed"
