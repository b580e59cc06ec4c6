#!/bin/sh
# Fuzzes the form-stream reader and writer for a while (default 600 seconds),
# outside CI, from seeds written by our own writer.
#   fuzz/run_form_stream.sh [SECONDS|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/${QE_FUZZ_PRESET:-fuzz}"
seconds=${1:-600}
# "seeds" runs the target once over its seed corpus and stops (CI does).
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" >/dev/null
cmake --build "$build" --target form_stream_fuzz form_stream_seeds -j4

work="$build/form_stream_fuzz.work"
corpus="$work/corpus"
mkdir -p "$corpus"
"$build/fuzz/form_stream_seeds" "$corpus"
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/form_stream_fuzz" $limit -rss_limit_mb=2048 -max_len=65536 \
  -dict="$here/fuzz/form_stream.dict" -print_final_stats=1 "$corpus"
