#!/usr/bin/env bash
# Fuzzes the archive reader (target zip), the CSV loading (target csv) and
# the history's readers over a database file (target history):
# builds each libFuzzer target with the address and undefined-behaviour
# sanitizers into build-fuzz/TARGET/, makes its seed corpus, and runs it for
# SECONDS (default 60). Usage: fuzz.sh [SECONDS [TARGET...]], all targets by
# default. Crashes land in fuzz-out/ named after their target; each corpus
# grows in build-fuzz/TARGET/corpus across runs.
set -euo pipefail

seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(zip csv history)
root="$(cd "$(dirname "$0")/.." && pwd)"
cxx="${CXX_FUZZ:-clang++}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# build TARGET SOURCE... : the fuzzer of TARGET from fuzz/TARGET_fuzzer.cpp.
build() {
  local target="$1"
  shift
  "$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" "$@" "$root/fuzz/${target}_fuzzer.cpp" -lz -ldeflate -lsqlite3 \
    -o "$root/build-fuzz/$target/fuzzer"
}

# Seeds of the archive reader: small archives of the kinds it meets, made by each tool.
zip_seeds() {
  local seeds="$1"
  mkdir -p "$work/zip"
  (
    cd "$work/zip"
    mkdir -p data
    printf 'id;name;pos\r\n1;\xc8\xe2\xe0\xed\xee\xe2;GK\r\n2;Smith;FW\r\n' > a_players.csv
    printf 'x;y\r\n1;2\r\n' > data/a_team.csv
    printf 'read me\n' > readme.txt
    zip -q -X "$seeds/infozip.zip" a_players.csv data/a_team.csv readme.txt
    zip -q -X -0 "$seeds/infozip-stored.zip" a_players.csv
    zip -q -X -P secret "$seeds/infozip-encrypted.zip" a_players.csv data/a_team.csv
    bsdtar --format zip -cf "$seeds/bsdtar.zip" a_players.csv data/a_team.csv
    7z a -tzip -mm=Deflate "$seeds/7z-deflate.zip" a_players.csv data >/dev/null
    7z a -tzip -mm=Copy "$seeds/7z-store.zip" a_players.csv >/dev/null
    7z a -tzip -mm=Deflate64 "$seeds/7z-deflate64.zip" a_players.csv >/dev/null
    zip -q -X -fz "$seeds/infozip-zip64.zip" a_players.csv data/a_team.csv readme.txt
    python3 - "$seeds" <<'PY'
import sys, zipfile, io
out = sys.argv[1]
data = open('a_players.csv', 'rb').read()
class Unseekable(io.RawIOBase):
    def __init__(self, f): self.f = f
    def writable(self): return True
    def write(self, b): return self.f.write(b)
    def flush(self): self.f.flush()
with open(out + '/python-streamed.zip', 'wb') as raw:
    with zipfile.ZipFile(Unseekable(raw), 'w', zipfile.ZIP_DEFLATED) as z:
        with z.open('игроки_players.csv', 'w') as f:
            f.write(data)
# A Cyrillic name in code page 866 without the UTF-8 flag: Python writes
# non-ASCII names as UTF-8, so an ASCII stand-in of the same length is patched.
name = 'игроки.csv'.encode('cp866')
stand_in = b'Q' * (len(name) - 4) + b'.csv'
buf = io.BytesIO()
with zipfile.ZipFile(buf, 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr(stand_in.decode(), data)
open(out + '/python-cp866.zip', 'wb').write(buf.getvalue().replace(stand_in, name))
# Zip64 throughout: with its limits at zero Python writes every size and
# offset in Zip64 extra fields and ends with the Zip64 end records; a second
# copy has the end record's fields all ones, so that only the Zip64 one tells.
zipfile.ZIP64_LIMIT = 0
zipfile.ZIP_FILECOUNT_LIMIT = 0
buf = io.BytesIO()
with zipfile.ZipFile(buf, 'w', zipfile.ZIP_DEFLATED, allowZip64=True) as z:
    z.writestr('a_players.csv', data)
    z.writestr('data/a_team.csv', b'x;y\r\n1;2\r\n')
open(out + '/python-zip64.zip', 'wb').write(buf.getvalue())
escaped = bytearray(buf.getvalue())
escaped[-14:-2] = b'\xff' * 12
open(out + '/python-zip64-escaped.zip', 'wb').write(bytes(escaped))
PY
  )
}

# Seeds of the CSV loading: the sample pair and exports with the gaps the
# load repairs, each as its eight files joined by NUL bytes in the order
# start players, skills, team, structure, then the same of the end.
csv_seeds() {
  python3 - "$1" "$root/samples" <<'PY'
import glob, os, sys
out, samples = sys.argv[1], sys.argv[2]
def read(side):
    patterns = ('*players.csv', '*players_skills.csv', '*team.csv', '*structure.csv')
    return [open(glob.glob(os.path.join(samples, side, p))[0], 'rb').read() for p in patterns]
start, end = read('start'), read('end')
def save(name, files):
    open(os.path.join(out, name), 'wb').write(b'\0'.join(files))
save('sample', start + end)
# A team file of 15 lines and a structure file of 4 lines, both repaired.
team = end[2].split(b'\r\n')
structure = end[3].split(b'\r\n')
save('repairs', start + end[:2] + [b'\r\n'.join(team[:3] + team[5:]),
                                   b'\r\n'.join(structure[:2] + structure[3:4] + structure[6:7] + [b''])])
# A player id with leading zeros, a line opening with ";", the end files missing.
players = start[0].split(b'\r\n')
players[1] = b';' + players[1]
players[2] = players[2].replace(b';', b';00', 1)
save('odd-lines', [b'\r\n'.join(players)] + start[1:])
PY
}

# Seeds of the history: a database of the sample pair as kept for the tests
# (an older schema, read as it is), and one of the current schema where a
# built cadrix-report can make it.
history_seeds() {
  local seeds="$1"
  cp "$root/tests/unit/history/data/history-version1.sqlite" "$seeds/version1.sqlite"
  if [ -x "$root/build/cadrix-report" ]; then
    rm -f "$seeds/current.sqlite"
    "$root/build/cadrix-report" history add --db "$seeds/current.sqlite" "$root/samples/start.zip" \
      "$root/samples/end.zip" >/dev/null
  fi
}

# run TARGET MAX_LEN
run() {
  local target="$1" max_len="$2" dir="$root/build-fuzz/$1"
  (cd "$root" && "$dir/fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$root/fuzz-out/$target-" -print_final_stats=1 "$dir/corpus" "$dir/seeds")
}

mkdir -p "$root/fuzz-out"
for target in "${targets[@]}"; do
  mkdir -p "$root/build-fuzz/$target/seeds" "$root/build-fuzz/$target/corpus"
  case "$target" in
    zip)
      build zip "$root"/src/core/*.cpp "$root"/src/import/*.cpp
      zip_seeds "$root/build-fuzz/zip/seeds"
      run zip 8192
      ;;
    csv)
      build csv "$root"/src/core/*.cpp "$root"/src/snapshot/*.cpp "$root"/src/views/*.cpp
      csv_seeds "$root/build-fuzz/csv/seeds"
      run csv 65536
      ;;
    history)
      build history "$root"/src/core/*.cpp "$root"/src/import/*.cpp "$root"/src/snapshot/*.cpp \
        "$root"/src/views/*.cpp "$root"/src/history/*.cpp
      history_seeds "$root/build-fuzz/history/seeds"
      run history 131072
      ;;
    *)
      echo "fuzz.sh: no such target: $target (zip, csv, history)" >&2
      exit 2
      ;;
  esac
done
