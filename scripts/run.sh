#!/usr/bin/env bash
# Builds the setup program and runs it under Wine on the user's display. With
# no display, it runs the program on a private Xvfb instead, saves a PNG of
# its window under build/windows/screenshots/ and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset windows >/dev/null
build="$PWD/build/windows"
if [ -n "${DISPLAY:-}" ]; then
  cmake --build --preset windows -j"$(nproc)" --target Setup
  exec cmake/wine-run.sh "$build" "$build/app/Setup.exe"
fi
cmake --build --preset windows -j"$(nproc)" --target Setup app_tests
QE_SOURCE_DIR="$PWD" QE_BINARY_DIR="$build" \
  cmake/wine-run.sh "$build" "$build/tests/app/app_tests.exe" --gtest_filter='FirstWindow.*' --gtest_brief=1
echo "Screenshots: $build/screenshots/"
ls "$build/screenshots/"
