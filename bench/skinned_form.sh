#!/usr/bin/env bash
# Builds the Windows preset and times full repaints of the wizard's main
# window under Wine, skinned against unskinned, for each page (outside CI).
# Argument: repaints per page and look (default 200).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows --target skinned_form_bench -j4
build="$root/build/windows"
/usr/bin/time -f "whole process: %e s, %M KiB" cmake/wine-run.sh "$build" "$build/tests/skins/skinned_form_bench.exe" "${1:-200}"
