#!/usr/bin/env bash
# Builds the Windows preset and times full paints of a form of 50 push
# buttons against the same form of the system's BUTTON controls under Wine
# (outside CI). Argument: full paints per round (default 1000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target buttons_bench -j4
build="$root/build/windows"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/time -f "whole process: %e s, %M KiB" cmake/wine-run.sh "$build" "$build/tests/foundation/buttons_bench.exe" "${1:-1000}"
