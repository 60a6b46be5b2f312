#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the programs, the desktop entry and the icons; then runs the installed
# program from its read-only folder and checks where it keeps its working folders.
set -euo pipefail
build=$1
source_dir=$2
prefix=$(mktemp -d)
trap 'chmod -R u+w "$prefix"; rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$prefix/bin/cadrix-report" ] || fail "bin/cadrix-report missing"
desktop="$prefix/share/applications/ru.orvanto.cadrix.desktop"
[ -f "$desktop" ] || fail "desktop entry missing"
grep -q '^Exec=cadrix' "$desktop" || fail "desktop entry does not start cadrix"
grep -q '^Icon=cadrix$' "$desktop" || fail "desktop entry names another icon"
grep -q '^Name=' "$desktop" || fail "no English name"
grep -q '^Name\[ru\]=' "$desktop" || fail "no Russian name"
grep -q '^Categories=.*Game;' "$desktop" || fail "not in the Game category"
for icon in {16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/cadrix.png scalable/apps/cadrix.svg; do
  [ -s "$prefix/share/icons/hicolor/$icon" ] || fail "icon $icon missing"
done
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
fi
"$prefix/bin/cadrix-report" --help >/dev/null || fail "installed cadrix-report does not run"
for page in cadrix cadrix-report; do
  [ -s "$prefix/share/man/man1/$page.1.gz" ] || fail "manual page $page(1) missing"
done
[ -s "$prefix/share/metainfo/ru.orvanto.cadrix.metainfo.xml" ] || fail "metainfo missing"

[ -f "$build/src/app/cadrix" ] || { echo "install test passed (no window built)"; exit 0; }
[ -x "$prefix/bin/cadrix" ] || fail "bin/cadrix missing"
[ -n "$(find "$prefix/lib" -path '*/cadrix/cadrix_charts.so' 2>/dev/null)" ] || fail "chart module missing"

# An installed program keeps its working folders in the per-user cache folder
# and its history in the per-user data folder; as root the program is run as
# an ordinary user, whom the installed folder does not let write.
chmod a-w "$prefix/bin"
chmod 755 "$prefix"
data="$prefix/userdata"
mkdir -p "$data"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  command -v runuser >/dev/null || { echo "install test passed (no runuser: per-user folder not checked)"; exit 0; }
  chown nobody "$data"
  run_as=(runuser -u nobody --)
fi
"${run_as[@]}" env HOME="$data" XDG_DATA_HOME="$data" XDG_CACHE_HOME="$data/cache" XDG_RUNTIME_DIR="$data" \
  QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/cadrix" --screenshots "$data/shots" \
  "$source_dir/samples/start.zip" "$source_dir/samples/end.zip" >/dev/null 2>&1 || true
ls "$data"/cache/cadrix/Tmp/old/*players.csv >/dev/null 2>&1 || fail "no working folder in the per-user cache folder"
[ ! -e "$prefix/bin/Tmp" ] || fail "wrote beside the installed program"
# The chosen archives went into the default history, and the installed
# program found its chart module for the player's chart.
[ -s "$data/cadrix/history.sqlite" ] || fail "no history in the per-user data folder"
[ -s "$data/shots/13-player-chart.png" ] || fail "the installed program drew no chart"
echo "install test passed"
