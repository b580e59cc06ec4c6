#!/usr/bin/env bash
# The installation benchmark (outside CI): builds the Windows preset, times
# whole installations of the demo package under Wine (from Next to the end
# page), then times the extraction of that same package by our archiver
# (zatool, host build) against unzip -P and prints the ratio.
#   bench/install.sh [INSTALL_RUNS] [EXTRACT_RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
installs=${1:-3}
extracts=${2:-200}
cmake --preset windows >/dev/null
cmake --build --preset windows -j4 --target Setup setup_package install_bench
build="$root/build/windows"
package="$build/app/qelpkg_Quillor_Pro_5.8_B1_05-11-2021.qep"
QE_BINARY_DIR="$build" cmake/wine-run.sh "$build" "$build/tests/app/install_bench.exe" "$installs"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
zatool="$root/build/host/tools/zatool/zatool"
# Seconds for EXTRACT_RUNS extractions of the package into a fresh folder.
time_runs() {
  local start end
  start=$(date +%s.%N)
  for _ in $(seq "$extracts"); do
    rm -rf "$work/out" && mkdir "$work/out"
    "$@" >/dev/null
  done
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
ours=$(time_runs "$zatool" x -p pelurok -d "$work/out" "$package")
peer=$(time_runs unzip -q -P pelurok "$package" -d "$work/out")
awk -v n="$extracts" -v ours="$ours" -v peer="$peer" 'BEGIN {
  printf "extraction of the package, %d runs: ours %.3f s, unzip -P %.3f s, ratio %.2f\n", n, ours, peer, ours / peer }'
