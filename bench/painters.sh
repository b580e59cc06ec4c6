#!/usr/bin/env bash
# Builds the Windows preset and times the standard painter against the
# system's frame-control drawing of the same elements under Wine (outside
# CI). Argument: draws per element (default 10000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target painters_bench -j4
build="$root/build/windows"
/usr/bin/time -f "whole process: %e s, %M KiB" cmake/wine-run.sh "$build" "$build/tests/foundation/painters_bench.exe" "${1:-10000}"
