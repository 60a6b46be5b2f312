#!/usr/bin/env bash
# Builds the Debian package hardened (scripts/build-package.sh), checks it with
# lintian, installs it with dpkg, checks what it installed (manual pages,
# metainfo, icons, hardening) and runs both programs from /usr/bin, the window
# as root, and removes the package again, leaving nothing of it behind. Needs
# root and dpkg; exit status 77 skips the test where they are missing (under
# CI=true that fails).
set -euo pipefail
build=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

skip() {
  echo "package test skipped: $*" >&2
  [ "${CI:-}" = true ] && exit 1
  exit 77
}
fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in dpkg dpkg-deb dpkg-shlibdeps dpkg-buildflags cpack desktop-file-validate flock lintian \
  appstreamcli hardening-check man file; do
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

# The package's own tree is kept in the build folder, so that a second run
# rebuilds only what changed.
bash "$source_dir/scripts/build-package.sh" "$build/package" "$work" >"$work/cpack.log" 2>&1 ||
  { tail -n 50 "$work/cpack.log" >&2; fail "the package could not be built"; }
deb=$(ls "$work"/cadrix_*.deb)

# Errors and warnings fail; what lintian only informs about is listed.
lintian --pedantic --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
if grep -E '^[EW]: ' "$work/lintian.log" >&2; then
  fail "lintian finds errors or warnings in the package"
fi
grep -E '^[IPX]: ' "$work/lintian.log" >&2 || true
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "the package is not in section utils"

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
desktop=/usr/share/applications/ru.orvanto.cadrix.desktop
metainfo=/usr/share/metainfo/ru.orvanto.cadrix.metainfo.xml
expected=(/usr/bin/cadrix /usr/bin/cadrix-report "$desktop" "$metainfo"
  /usr/share/icons/hicolor/scalable/apps/cadrix.svg /usr/share/doc/cadrix/copyright
  /usr/share/doc/cadrix/changelog.Debian.gz /usr/share/man/man1/cadrix.1.gz /usr/share/man/man1/cadrix-report.1.gz)
for size in 16 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/cadrix.png")
done
for path in "${expected[@]}"; do
  grep -qx "$path" <<<"$files" || fail "$path is not in the package"
  [ -e "$path" ] || fail "$path was not installed"
done
for size in 16 24 32 48 64 128 256; do
  file "/usr/share/icons/hicolor/${size}x${size}/apps/cadrix.png" | grep -q "PNG image data, $size x $size" ||
    fail "the ${size}x${size} icon is not a PNG of that size"
done
grep -q '/cadrix/cadrix_charts\.so$' <<<"$files" || fail "the chart module is not in the package"

for page in cadrix cadrix-report; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man finds faults in $page(1): $warnings"
done
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the metainfo"; }
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
# Fortified functions, the stack protector, read-only relocations bound at
# start and PIE, as dpkg-buildflags gives them; Debian 12's gives no control
# flow protection, so that check is left out.
for program in /usr/bin/cadrix /usr/bin/cadrix-report; do
  hardening-check --nocfprotection "$program" >"$work/hardening.log" 2>&1 || { cat "$work/hardening.log" >&2; fail "$program is not hardened"; }
done

# --help and --version need no display.
[ "$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/cadrix --version)" = "cadrix 2.0" ] ||
  fail "cadrix --version"
[ "$(cd "$work" && /usr/bin/cadrix-report --version)" = "cadrix-report 2.0" ] || fail "cadrix-report --version"
(cd "$work" && /usr/bin/cadrix-report --help) | grep -q 'cadrix-report' || fail "cadrix-report --help"
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/cadrix --help) | grep -q -- '--work-dir' ||
  fail "cadrix --help without a display"

# Run by root, whom every folder lets write, the installed window still keeps
# its working folders in the per-user cache, never beside itself.
home="$work/home"
mkdir -p "$home"
before=$(ls -A /usr/bin | sha256sum)
(cd "$work" && env HOME="$home" XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data" \
  XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen \
  /usr/bin/cadrix --screenshots "$home/shots" "$source_dir/samples/start.zip" "$source_dir/samples/end.zip") \
  >"$work/window.log" 2>&1 || { cat "$work/window.log" >&2; fail "the installed window failed"; }
ls "$home"/cache/cadrix/Tmp/old/*players.csv >/dev/null 2>&1 || fail "no working folder in the per-user cache folder"
[ -s "$home/data/cadrix/history.sqlite" ] || fail "no history in the per-user data folder"
[ "$(ls -A /usr/bin | sha256sum)" = "$before" ] || fail "the window wrote beside the installed programs"

dpkg -r cadrix >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -r failed"; }
installed=0
dpkg-query -W -f='${Status}' cadrix 2>/dev/null | grep -qE ' (installed|config-files|half-installed|unpacked)$' &&
  fail "dpkg still keeps something of cadrix"
while read -r path; do
  [ -f "$path" ] || [ -L "$path" ] && fail "$path is left behind"
done <<<"$files"
[ ! -e /usr/bin/Tmp ] || fail "a working folder was left beside the installed programs"
echo "package test passed"
