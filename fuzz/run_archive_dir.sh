#!/bin/sh
# Fuzzes the zip directory reader for a while (default 600 seconds), outside
# CI. The seed corpus is made of archives written by zip, 7z, Python's
# zipfile and zatool, generated into the build folder.
#   fuzz/run_archive_dir.sh [SECONDS|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/${QE_FUZZ_PRESET:-fuzz}"
seconds=${1:-600}
# "seeds" runs the target once over its seed corpus and stops (CI does).
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" >/dev/null
cmake --build "$build" --target archive_dir_fuzz zatool -j4

work="$build/archive_dir_fuzz.work"
corpus="$work/corpus"
rm -rf "$work/src"
mkdir -p "$corpus" "$work/src/sub"
seq 1 2000 > "$work/src/a.txt"
head -c 3000 /dev/urandom > "$work/src/sub/b.bin"
: > "$work/src/empty"
(
  cd "$work"
  rm -f seed-*.zip
  zip -qr seed-zip.zip src
  zip -qr -P pw seed-zip-p.zip src
  7z a -tzip -bd seed-7z.zip src >/dev/null
  7z a -tzip -bd -mem=ZipCrypto -ppw seed-7z-p.zip src >/dev/null
  python3 -c "import zipfile
with zipfile.ZipFile('seed-py.zip','w',zipfile.ZIP_DEFLATED) as z: z.write('src/a.txt'); z.comment=b'comment'"
  "$build/tools/zatool/zatool" a -m 6 seed-za.zip src
  "$build/tools/zatool/zatool" a -m 0 -p pw seed-za-p.zip src
  head -c 400 seed-zip.zip > seed-cut.zip
  cp seed-*.zip "$corpus/"
)
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/archive_dir_fuzz" "$limit" -rss_limit_mb=2048 \
  -max_len=200000 -print_final_stats=1 "$corpus"
