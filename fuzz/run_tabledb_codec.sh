#!/usr/bin/env bash
# Runs the table database codec fuzzer outside CI for N minutes (default 10)
# with W workers (default: half the cores): builds the fuzz preset, seeds the
# corpus with stored values of each codec, and stops by itself. Crashes land
# in the build folder.
#   fuzz/run_tabledb_codec.sh [MINUTES|seeds] [WORKERS]
set -euo pipefail
minutes=${1:-10}
jobs=${2:-$(( $(nproc) > 1 ? $(nproc) / 2 : 1 ))}
# "seeds" runs the target once over its seed corpus and stops (CI does).
if [ "$minutes" = seeds ]; then limit="-runs=0"; jobs=1; else limit="-max_total_time=$(( minutes * 60 ))"; fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/${QE_FUZZ_PRESET:-fuzz}
cd "$root"
cmake --preset "${QE_FUZZ_PRESET:-fuzz}" >/dev/null
cmake --build --preset "${QE_FUZZ_PRESET:-fuzz}" --target tabledb_codec_fuzz -j4

corpus=$build/corpus/tabledb_codec
mkdir -p "$corpus" "$build/crashes/tabledb_codec"
# Seeds: a ZLIB value of 1000 "a", a stored one, and a value for each cipher
# in CBC mode with a four-byte password.
printf '\x00\xe8\x03\x00\x00\x78\x9c\x4b\x4c\x1c\x05\xa3\x60\x14\x0c\x77\x00\x00\xf9\xd8\x7a\xf8' > "$corpus/zlib"
printf '\x00\xfd\xff\xff\xffabc' > "$corpus/stored"
for c in 1 2 3; do printf "\\x0$c\\x01\\x04pass0123456789abcdefghij" > "$corpus/cipher$c"; done

# The workers write their fuzz-N.log into the current folder: give them one.
logs=$build/tabledb_codec_fuzz.logs
rm -rf "$logs"
mkdir -p "$logs"
cd "$logs"
"$build/fuzz/tabledb_codec_fuzz" "$corpus" \
  "$limit" -jobs="$jobs" -workers="$jobs" \
  -artifact_prefix="$build/crashes/tabledb_codec/" -print_final_stats=1 \
  > "$logs/main.log" 2>&1 || { tail -40 "$logs"/fuzz-*.log; exit 1; }
grep -h 'stat::number_of_executed_units' "$logs"/fuzz-*.log | awk '{ n += $2 } END { print "executions:", n }'
echo "tabledb codec fuzzer: clean ($minutes minutes)"
