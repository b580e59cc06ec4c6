#!/usr/bin/env bash
# Builds the host preset and times reading the 32 generated skin streams
# against copying the same bytes (outside CI). Argument: rounds (default 20).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset host >/dev/null
cmake --build --preset host --target skins_read_bench -j4
/usr/bin/time -f "whole process: %e s, %M KiB" "$root/build/host/bench/skins_read_bench" "${1:-20}"
