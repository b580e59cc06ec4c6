#!/usr/bin/env bash
# Builds the host preset and prints the extraction figures of the archiver
# against unzip -P, 7z x and the raw floor (outside CI), on every processor
# and again on two. Argument: the work folder, which keeps the generated
# corpora and archives between runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset host >/dev/null
cmake --build --preset host --target archive_extract_bench zatool -j4
work=${1:-$root/build/host/archive_bench.work}
bench=$root/build/host/bench/archive_extract_bench
zatool=$root/build/host/tools/zatool/zatool
echo "=== every processor"
"$bench" "$zatool" "$work"
echo "=== two processors"
taskset -c 0,1 "$bench" "$zatool" "$work"
