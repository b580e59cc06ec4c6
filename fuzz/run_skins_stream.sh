#!/usr/bin/env bash
# Runs the skin stream fuzzer outside CI for N minutes (default 10) with W
# workers (default: half the cores), seeded with the 32 generated skins and,
# as whole streams, the same skins cut down to one element per group. Inputs
# are kept to 64 KiB (the full seeds are cut there): every record type of the
# stream lies in the first kilobytes, and short inputs run many times faster.
#   fuzz/run_skins_stream.sh [MINUTES|seeds] [WORKERS]
set -euo pipefail
minutes=${1:-10}
jobs=${2:-$(( $(nproc) > 1 ? $(nproc) / 2 : 1 ))}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/${QE_FUZZ_PRESET:-fuzz}
cd "$root"
cmake --preset "${QE_FUZZ_PRESET:-fuzz}" >/dev/null
cmake --build --preset "${QE_FUZZ_PRESET:-fuzz}" --target skins_stream_fuzz skins_stream_seeds skins_streams -j4

# The skins come from the host build that provides the build-time tools.
skins=$(sed -n 's/^QE_SKINS_DIR:INTERNAL=//p' "$build/CMakeCache.txt")
corpus=$build/corpus/skins_stream
mkdir -p "$corpus" "$build/crashes/skins_stream"
cp "$skins"/*.skin "$corpus"/
"$build/fuzz/skins_stream_seeds" "$skins" "$corpus"

logs=$build/skins_stream_fuzz.logs
rm -rf "$logs"
mkdir -p "$logs"
cd "$logs"
if [ "$minutes" = seeds ]; then
  # Once over the seed corpus and stop (CI does).
  exec "$build/fuzz/skins_stream_fuzz" -runs=0 -max_len=65536 "$corpus"
fi
"$build/fuzz/skins_stream_fuzz" "$corpus" \
  -max_len=65536 -max_total_time=$(( minutes * 60 )) -jobs="$jobs" -workers="$jobs" \
  -artifact_prefix="$build/crashes/skins_stream/" -print_final_stats=1 \
  > "$logs/main.log" 2>&1 || { tail -40 "$logs"/fuzz-*.log; exit 1; }
grep -h 'stat::number_of_executed_units' "$logs"/fuzz-*.log | awk '{ n += $2 } END { print "executions:", n }'
echo "skin stream fuzzer: clean for $minutes minutes"
