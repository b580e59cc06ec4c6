#!/usr/bin/env bash
# Builds the three presets and runs every test: host natively, host-asan
# natively, windows under Wine (one Xvfb and one persistent wineserver for
# the whole run, ended afterwards).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
status=0

run_preset() {
  local preset=$1
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  echo "=== $preset: test"
  ctest --preset "$preset" -j"$jobs" || status=1
}

run_preset host
run_preset host-asan

# Windows tests: one display and one wineserver for the whole run.
export WINEPREFIX="$PWD/build/windows/wineprefix"
export WINEDEBUG=-all
XVFB_PID=""
cleanup() {
  WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do [ -s "$fd_file" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
fi
mkdir -p build/windows
# Make the prefix once (the wrapper does it under a lock), then keep its
# wineserver alive between test programs.
cmake --preset windows >/dev/null
cmake/wine-run.sh "$PWD/build/windows" cmd /c exit 0 >/dev/null 2>&1 || true
wineserver -p
run_preset windows

if [ $status -eq 0 ]; then echo "=== all tests passed"; else echo "=== some tests failed"; fi
exit $status
