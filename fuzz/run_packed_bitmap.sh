#!/bin/sh
# Fuzzes the packed bitmap reader for a while (default 600 seconds),
# outside CI, from seeds written by our own writer.
#   fuzz/run_packed_bitmap.sh [SECONDS|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/${QE_FUZZ_PRESET:-fuzz}"
seconds=${1:-600}
# "seeds" runs the target once over its seed corpus and stops (CI does).
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" >/dev/null
cmake --build "$build" --target packed_bitmap_fuzz packed_bitmap_seeds -j4

work="$build/packed_bitmap_fuzz.work"
corpus="$work/corpus"
mkdir -p "$corpus"
"$build/fuzz/packed_bitmap_seeds" "$corpus"
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/packed_bitmap_fuzz" $limit -rss_limit_mb=2048 -max_len=16384 \
  -print_final_stats=1 "$corpus"
