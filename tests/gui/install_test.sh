#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the program, its menu entry and its icon; then runs the installed program
# and checks where it keeps its working folders.
set -euo pipefail
build="$1"
source_dir="$2"
prefix="$(mktemp -d)"
trap 'chmod -R u+w "$prefix"; rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "install test: $*" >&2; exit 1; }

[ -x "$prefix/bin/cadrix" ] || fail "bin/cadrix missing"
entry="$prefix/share/applications/cadrix.desktop"
[ -f "$entry" ] || fail "desktop entry missing"
[ -f "$prefix/share/icons/hicolor/128x128/apps/cadrix.png" ] || fail "icon missing"
grep -q '^Exec=cadrix' "$entry" || fail "Exec line"
grep -q '^Icon=cadrix$' "$entry" || fail "Icon line"
grep -q '^Name=' "$entry" || fail "English name"
grep -q '^Name\[ru\]=' "$entry" || fail "Russian name"
grep -q '^Categories=.*Game;' "$entry" || fail "category Game"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate"
fi

# An installed program whose folder cannot be written works in the per-user
# data folder. Root writes everywhere, so there the check cannot be made.
if [ "$(id -u)" -ne 0 ]; then
  chmod a-w "$prefix/bin"
  data="$prefix/userdata"
  XDG_DATA_HOME="$data" QT_QPA_PLATFORM=offscreen "$prefix/bin/cadrix" --screenshots "$prefix/shots" \
    "$source_dir/samples/start.zip" "$source_dir/samples/end.zip" >/dev/null 2>&1
  ls "$data"/cadrix/Tmp/old/*players.csv >/dev/null || fail "no working folder in the per-user data folder"
  [ ! -e "$prefix/bin/Tmp" ] || fail "wrote beside the installed program"
else
  echo "install test: running as root, per-user data folder not checked"
fi
echo "install test: passed"
