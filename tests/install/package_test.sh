#!/usr/bin/env bash
# Builds the Debian package, installs it with dpkg, runs both programs from
# /usr/bin, checks the desktop entry, and removes the package again, leaving
# nothing of it behind. Needs root and dpkg; exit status 77 skips the test
# where they are missing (under CI=true that fails).
set -euo pipefail
build=$1

skip() {
  echo "package test skipped: $*" >&2
  [ "${CI:-}" = true ] && exit 1
  exit 77
}
fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in dpkg dpkg-deb dpkg-shlibdeps cpack desktop-file-validate flock; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is missing"
done
[ -f "$build/src/app/cadrix" ] || skip "the window is not built (CADRIX_GUI=OFF)"

work=$(mktemp -d)
installed=0
cleanup() {
  [ "$installed" -eq 1 ] && dpkg -r cadrix >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(ls "$work"/cadrix_*.deb)

depends=$(dpkg-deb -f "$deb" Depends)
for needed in qt6-translations-l10n qt6-qpa-plugins libqt6widgets6 libqt6charts6 libsqlite3-0 libjpeg62-turbo zlib1g; do
  grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

# One package test at a time on this machine: each installs the same package.
exec 9>/tmp/cadrix-package-test.lock
flock -w 600 9 || fail "another package test holds the lock"
if dpkg-query -W -f='${Status}' cadrix 2>/dev/null | grep -q 'ok installed'; then
  skip "a cadrix package is installed already; it is left alone"
fi

dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i failed"; }
installed=1
files=$(dpkg -L cadrix)
for path in /usr/bin/cadrix /usr/bin/cadrix-report /usr/share/applications/cadrix.desktop \
  /usr/share/icons/hicolor/32x32/apps/cadrix.png /usr/share/icons/hicolor/128x128/apps/cadrix.png \
  /usr/share/icons/hicolor/scalable/apps/cadrix.svg; do
  grep -qx "$path" <<<"$files" || fail "$path is not in the package"
  [ -e "$path" ] || fail "$path was not installed"
done
grep -q '/cadrix/cadrix_charts\.so$' <<<"$files" || fail "the chart module is not in the package"

(cd "$work" && /usr/bin/cadrix-report --help) | grep -q 'cadrix-report' || fail "cadrix-report --help"
(cd "$work" && QT_QPA_PLATFORM=offscreen /usr/bin/cadrix --help) | grep -q -- '--work-dir' || fail "cadrix --help"
desktop-file-validate /usr/share/applications/cadrix.desktop || fail "desktop-file-validate rejects the entry"

dpkg -r cadrix >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -r failed"; }
installed=0
dpkg-query -W -f='${Status}' cadrix 2>/dev/null | grep -qE ' (installed|config-files|half-installed|unpacked)$' &&
  fail "dpkg still keeps something of cadrix"
while read -r path; do
  [ -f "$path" ] || [ -L "$path" ] && fail "$path is left behind"
done <<<"$files"
[ ! -e /usr/bin/Tmp ] || fail "a working folder was left beside the installed programs"
echo "package test passed"
