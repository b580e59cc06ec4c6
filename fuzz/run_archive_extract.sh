#!/bin/sh
# Fuzzes extraction for a while (default 600 seconds), outside CI: arbitrary
# bytes are extracted with the password "fuzz" into a scratch folder under
# TMPDIR (a memory file system by default). The seed corpus is made of
# archives written by zip, 7z, Python's zipfile and zatool.
#   fuzz/run_archive_extract.sh [SECONDS|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-"$here/build/${QE_FUZZ_PRESET:-fuzz}"}
seconds=${1:-600}
# "seeds" runs the target once over its seed corpus and stops (CI does).
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" -B "$build" >/dev/null
cmake --build "$build" --target archive_extract_fuzz zatool -j4

work="$build/archive_extract_fuzz.work"
corpus="$work/corpus"
rm -rf "$work/src"
mkdir -p "$corpus" "$work/src/sub"
seq 1 2000 > "$work/src/a.txt"
head -c 3000 /dev/urandom > "$work/src/sub/b.bin"
: > "$work/src/empty"
(
  cd "$work"
  rm -f seed-*.zip
  zip -qr -P fuzz seed-zip-p.zip src
  zip -qr seed-zip.zip src
  7z a -tzip -bd -mem=ZipCrypto -pfuzz seed-7z-p.zip src >/dev/null
  python3 -c "import zipfile
with zipfile.ZipFile('seed-py.zip','w',zipfile.ZIP_DEFLATED) as z: z.write('src/a.txt'); z.write('src/sub/b.bin')"
  "$build/tools/zatool/zatool" a -m 6 -p fuzz seed-za-p.zip src
  "$build/tools/zatool/zatool" a -m 0 seed-za.zip src
  cp seed-*.zip "$corpus/"
)
export TMPDIR=${TMPDIR:-/dev/shm}
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/archive_extract_fuzz" "$limit" -rss_limit_mb=2048 \
  -max_len=65536 -timeout=30 -print_final_stats=1 "$corpus"
