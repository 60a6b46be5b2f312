#!/usr/bin/env bash
# Fuzzes the archive reader: builds the libFuzzer target with the address and
# undefined-behaviour sanitizers into build-fuzz/, makes a seed corpus from
# archives made by real tools, and runs for SECONDS (default 60).
# Crashes land in fuzz-out/; the corpus grows in build-fuzz/corpus across runs.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-fuzz"
mkdir -p "$out/seeds" "$out/corpus" "$root/fuzz-out"

cxx="${CXX_FUZZ:-clang++}"
"$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/src" \
  "$root"/src/core/*.cpp "$root"/src/import/*.cpp "$root/fuzz/zip_fuzzer.cpp" \
  -lz -ldeflate -o "$out/zip_fuzzer"

# Seeds: small archives of the kinds the reader meets, made by each tool.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(
  cd "$work"
  mkdir -p data
  printf 'id;name;pos\r\n1;\xc8\xe2\xe0\xed\xee\xe2;GK\r\n2;Smith;FW\r\n' > a_players.csv
  printf 'x;y\r\n1;2\r\n' > data/a_team.csv
  printf 'read me\n' > readme.txt
  zip -q -X "$out/seeds/infozip.zip" a_players.csv data/a_team.csv readme.txt
  zip -q -X -0 "$out/seeds/infozip-stored.zip" a_players.csv
  zip -q -X -P secret "$out/seeds/infozip-encrypted.zip" a_players.csv data/a_team.csv
  bsdtar --format zip -cf "$out/seeds/bsdtar.zip" a_players.csv data/a_team.csv
  7z a -tzip -mm=Deflate "$out/seeds/7z-deflate.zip" a_players.csv data >/dev/null
  7z a -tzip -mm=Copy "$out/seeds/7z-store.zip" a_players.csv >/dev/null
  7z a -tzip -mm=Deflate64 "$out/seeds/7z-deflate64.zip" a_players.csv >/dev/null
  zip -q -X -fz "$out/seeds/infozip-zip64.zip" a_players.csv data/a_team.csv readme.txt
  python3 - "$out/seeds" <<'PY'
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

cd "$root"
"$out/zip_fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$root/fuzz-out/" -print_final_stats=1 "$out/corpus" "$out/seeds"
