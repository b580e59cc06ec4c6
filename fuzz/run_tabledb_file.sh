#!/bin/sh
# Fuzzes the database file reader and writer for a while (default 10
# minutes), outside CI, on all but one core, from seed databases written by
# tabledb_file_seeds. Crashes land in the build folder.
#   fuzz/run_tabledb_file.sh [MINUTES|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/${QE_FUZZ_PRESET:-fuzz}"
minutes=${1:-10}

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" >/dev/null
cmake --build "$build" --target tabledb_file_fuzz tabledb_file_seeds -j4

work="$build/tabledb_file_fuzz.work"
corpus="$work/corpus"
crashes="$work/crashes"
mkdir -p "$corpus" "$crashes"
"$build/fuzz/tabledb_file_seeds" "$corpus"

jobs=$(( $(nproc) > 1 ? $(nproc) - 1 : 1 ))
# "seeds" runs the target once over its seed corpus and stops (CI does).
if [ "$minutes" = seeds ]; then limit="-runs=0"; jobs=1; else limit="-max_total_time=$(( minutes * 60 ))"; fi
cd "$work"  # the workers write their fuzz-N.log here
rm -f fuzz-*.log
if ! "$build/fuzz/tabledb_file_fuzz" "$corpus" -max_len=65536 -rss_limit_mb=4096 \
    "$limit" -jobs="$jobs" -workers="$jobs" \
    -artifact_prefix="$crashes/" -print_final_stats=1 > run.log 2>&1; then
  tail -40 fuzz-*.log
  exit 1
fi
grep -h 'stat::number_of_executed_units' fuzz-*.log | awk '{ n += $2 } END { print "executions:", n }'
echo "tabledb file fuzzer: clean ($minutes minutes)"
