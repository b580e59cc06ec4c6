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
# One persistent wineserver for the whole run; the wrapper makes the prefix
# on first use.
# Wine's helper processes start with the first program and live as long as
# the server: start them here with no output attached, or they would hold the
# first test's output pipe open until its time-out.
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -p
cmake/wine-run.sh "$PWD/build/windows" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
# The desktop process starts with the first window: make one now.
wine rundll32.exe user32.dll,MessageBeep </dev/null >/dev/null 2>&1 || true
run_preset windows

if [ $status -eq 0 ]; then echo "=== all tests passed"; else echo "=== some tests failed"; fi
exit $status
