#!/usr/bin/env bash
# Builds the host preset and prints the extraction figures of the archiver
# against unzip -P, 7z x and the raw floor (outside CI). Argument: the work
# folder, which keeps the generated corpus and archive between runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset host >/dev/null
cmake --build --preset host --target archive_extract_bench -j4
"$root/build/host/bench/archive_extract_bench" "${1:-$root/build/host/archive_bench.work}"
