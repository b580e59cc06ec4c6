#!/usr/bin/env bash
# Builds the Windows preset and times, under Wine, the start-up
# registration of the 32 skins and a push button painted with the Black
# skin against the standard painter (outside CI). Argument: draws per
# painter (default 5000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target skin_painter_bench -j4
build="$root/build/windows"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/time -f "whole process: %e s, %M KiB" cmake/wine-run.sh "$build" "$build/tests/skins/skin_painter_bench.exe" "${1:-5000}"
