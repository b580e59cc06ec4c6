#!/usr/bin/env bash
# Builds the Windows preset and times the multi-line text layout against
# DrawTextW with DT_WORDBREAK under Wine (outside CI): a 1000-character
# paragraph into a 300-pixel-wide rectangle, and ten times that text.
# Prints the machine load, both ratios and the whole process's time.
# Argument: rounds (default 200).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows -j4 --target draw_text_bench
build="$root/build/windows"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/time -f "whole process (Wine start included): %e s, %M KiB" \
  cmake/wine-run.sh "$build" "$build/tests/foundation/draw_text_bench.exe" "${1:-200}"
