#!/usr/bin/env bash
# Builds every preset and runs every test: host natively, host-asan (clang with
# the sanitizers) natively with each fuzz target once over its seed corpus,
# and windows under Wine. Prints the time each stage took.
#
# Windows tests run in two lanes: each lane has its own Xvfb display, Wine
# prefix and persistent wineserver, and CTest gives every test that shows
# windows (label "gui") one lane to itself (cmake/lanes.json). Tests that
# show none run beside them in lane 0's prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
. cmake/xvfb.sh
bash scripts/setup.sh

jobs=$(nproc)
# The display lanes' ids, as cmake/lanes.json lists them.
mapfile -t LANES < <(grep -o '"id": *"[0-9]*"' cmake/lanes.json | grep -o '[0-9]*')
status=0
started=$SECONDS

# stage NAME COMMAND...: runs one stage and prints its time.
stage() {
  local name=$1 t0=$SECONDS rc=0
  shift
  echo "=== $name"
  "$@" || rc=$?
  echo "=== $name: $((SECONDS - t0)) s$([ $rc -eq 0 ] || echo ", FAILED")"
  return $rc
}

build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j"$jobs"
}

# fuzz_seeds: each fuzz target once over its seeds. Their scratch folders
# go to a folder of this run, removed at its end.
fuzz_seeds() {
  local script log
  new_scratch
  for script in fuzz/run_*.sh; do
    log=build/host-asan/$(basename "$script" .sh).log
    echo "--- $script ($log)"
    TMPDIR=$SCRATCH_DIR QE_FUZZ_PRESET=host-asan bash "$script" seeds >"$log" 2>&1 || { tail -n 30 "$log"; return 1; }
  done
}

windows_lanes() {
  local build=$PWD/build/windows lane starters=() holder
  export WINEDEBUG=-all
  mkdir -p "$build/lanes"
  for lane in "${LANES[@]}"; do
    start_xvfb
    XVFB_PIDS+=("$XVFB_PID")
    echo "$DISPLAY" >"$build/lanes/$lane.display"
    PREFIXES+=("$build/wineprefix-lane-$lane")
    # The wrapper makes the prefix on first use, then one persistent
    # wineserver serves the whole run. Not the server that made the prefix:
    # that one keeps the list of services from before the prefix was set
    # up, and every program that asks for the RPC service (COM, the virtual
    # desktop) would wait out its ten seconds of time-outs.
    (
      export WINEPREFIX=$build/wineprefix-lane-$lane
      mkdir -p "$WINEPREFIX"
      wineserver -k 2>/dev/null || true
      CTEST_RESOURCE_GROUP_0_DISPLAY="id:$lane,slots:1" \
        cmake/wine-run.sh "$build" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
      wineserver -k 2>/dev/null || true
      wineserver -w
      wineserver -p
    ) &
    starters+=($!)
  done
  wait "${starters[@]}"
  starters=()
  for lane in "${LANES[@]}"; do
    # Wine's desktop process starts with the first program that shows a
    # window and inherits its output: start it here with none attached, or
    # it would hold a test's output pipe open. Wine closes a desktop a
    # second after the last program on it ends, and the next program to
    # show a window would wait while explorer starts it again: a console
    # that reads a pipe this script holds open stays on the desktop for the
    # whole run, and starts the desktop from there.
    exec {holder}> >(CTEST_RESOURCE_GROUP_0_DISPLAY="id:$lane,slots:1" \
      exec cmake/wine-run.sh "$build" cmd /q /k rundll32.exe user32.dll,MessageBeep >/dev/null 2>&1)
    HOLDERS+=("$holder")
    # Returns once the desktop is up.
    CTEST_RESOURCE_GROUP_0_DISPLAY="id:$lane,slots:1" \
      cmake/wine-run.sh "$build" rundll32.exe user32.dll,MessageBeep </dev/null >/dev/null 2>&1 &
    starters+=($!)
  done
  wait "${starters[@]}" || true
  # Tests without a lane share lane 0's prefix and display.
  export WINEPREFIX=$build/wineprefix-lane-0
  DISPLAY=$(cat "$build/lanes/0.display")
  export DISPLAY
}

# native_test PRESET: the native suites write many small files (70000 in
# one test); they write them to memory when it has room, several times
# faster than to disk.
native_test() {
  new_scratch
  TMPDIR=$SCRATCH_DIR ctest --preset "$1" -j"$jobs"
}

# new_scratch: SCRATCH_DIR becomes a fresh folder that the run removes at
# its end, in memory when it has room.
new_scratch() {
  if [ "$(df -k --output=avail /dev/shm 2>/dev/null | tail -n1)" -gt 2000000 ] 2>/dev/null; then
    SCRATCH_DIR=$(mktemp -d /dev/shm/qe-test.XXXXXX)
  else
    SCRATCH_DIR=$(mktemp -d "${TMPDIR:-/tmp}/qe-test.XXXXXX")
  fi
  SCRATCH+=("$SCRATCH_DIR")
}

XVFB_PIDS=()
PREFIXES=()
SCRATCH=()
HOLDERS=()
cleanup() {
  local prefix pid holder
  rm -rf "${SCRATCH[@]}"
  for holder in "${HOLDERS[@]}"; do exec {holder}>&-; done
  for prefix in "${PREFIXES[@]}"; do WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; done
  for pid in "${XVFB_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf build/windows/lanes
}
trap cleanup EXIT

stage "host: build" build host
stage "host: test" native_test host || status=1
stage "host-asan: build (and the fuzz targets)" build host-asan
stage "host-asan: test" native_test host-asan || status=1
stage "host-asan: each fuzz target once over its seeds" fuzz_seeds || status=1
stage "windows: build" build windows
stage "windows: start two Wine lanes" windows_lanes
stage "windows: test" ctest --preset windows -j"$jobs" || status=1

echo "=== total: $((SECONDS - started)) s"
if [ $status -eq 0 ]; then echo "=== all tests passed"; else echo "=== some tests failed"; fi
exit $status
