#!/bin/sh
# Runs a fuzz target NAME_fuzz from the seeds that its NAME_seeds program
# writes with our own writer, for SECONDS (default 600), or once over the
# seeds with "seeds" (CI does). The run_NAME.sh scripts call it.
#   fuzz/fuzz_seeded_target.sh NAME MAX_LEN [SECONDS|seeds]
# Every run_*.sh script builds in the preset QE_FUZZ_PRESET names: fuzz
# (coverage for long runs) by default; CI runs the seeds in host-asan's.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/${QE_FUZZ_PRESET:-fuzz}"
name=$1
max_len=$2
seconds=${3:-600}
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" >/dev/null
cmake --build "$build" --target "${name}_fuzz" "${name}_seeds" -j4

corpus="$build/${name}_fuzz.work/corpus"
mkdir -p "$corpus"
"$build/fuzz/${name}_seeds" "$corpus"
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/${name}_fuzz" $limit -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1 "$corpus"
