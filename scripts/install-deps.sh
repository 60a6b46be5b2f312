#!/usr/bin/env bash
# Installs, from Debian's packages, whatever Cadrix needs to build, test, benchmark and
# fuzz that is not installed yet. Safe to run again: it does nothing when all is there.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config
  # core dependencies
  zlib1g-dev libdeflate-dev libjpeg62-turbo-dev libsqlite3-dev
  # the window, its charts and Qt's own texts in Russian (Qt Charts' CMake
  # package needs Qt OpenGL's, which qt6-charts-dev does not pull in)
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n
  # the font configuration, read while the window connects to the display
  libfontconfig-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev sqlite3
  # the time zones in which the tests read archive dates
  tzdata
  # reading back the PDF reports in the tests
  poppler-utils
  # archives made by real tools in the tests, and the peer in the benchmark
  zip unzip libarchive-tools p7zip-full python3
  # fuzzing (clang with libFuzzer and the sanitizers)
  clang libclang-rt-14-dev
  # profiling (perf record -e cpu-clock works where a virtual machine hides the hardware counters)
  linux-perf valgrind
  # pictures of the program, screenshots, the desktop tests and the start-up
  # benchmark under a virtual display, with and without a window manager (the
  # tests ask it through xcb; the benchmark watches the drawing with DAMAGE)
  python3-pil xvfb xauth openbox x11-utils libxcb1-dev libxcb-damage0-dev
  # faces that fontconfig substitutes for Arial, Tahoma, MS Sans Serif and Calibri
  fonts-liberation2 fonts-wine fonts-crosextra-carlito fontconfig
  # the package test: the desktop entry and metainfo checks, the package's
  # checks (file is what CPack asks of the programs it strips), the manual pages
  desktop-file-utils appstream lintian devscripts file dpkg-dev man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root=(sudo)
else
  echo "install-deps: these packages are missing: ${missing[*]}" >&2
  echo "install-deps: installing them needs root; run this script as root or give this user sudo" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
