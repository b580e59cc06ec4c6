#!/bin/sh
# Fuzzes the image list's form-data reader for a while (default 600 seconds),
# outside CI, from seeds written by our own writer.
#   fuzz/run_image_list.sh [SECONDS|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/fuzz"
seconds=${1:-600}
# "seeds" runs the target once over its seed corpus and stops (CI does).
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset fuzz -S "$here" >/dev/null
cmake --build "$build" --target image_list_fuzz image_list_seeds -j4

work="$build/image_list_fuzz.work"
corpus="$work/corpus"
mkdir -p "$corpus"
"$build/fuzz/image_list_seeds" "$corpus"
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/image_list_fuzz" $limit -rss_limit_mb=2048 -max_len=65536 \
  -print_final_stats=1 "$corpus"
