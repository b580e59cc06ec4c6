#!/usr/bin/env bash
# Builds the host preset and times the mini-HTML's layout against its
# tokenizer over the same texts (outside CI). Argument: rounds (default 20).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset host >/dev/null
cmake --build --preset host --target mini_html_bench -j4
/usr/bin/time -f "whole process: %e s, %M KiB" "$root/build/host/bench/mini_html_bench" "${1:-20}"
