#!/usr/bin/env bash
# Builds the host preset and prints the table database codec ratios against
# openssl speed and zlib (outside CI). Argument: seconds per measurement.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset host >/dev/null
cmake --build --preset host --target tabledb_codec_bench -j4
"$root/build/host/bench/tabledb_codec_bench" "${1:-1}"
