#!/usr/bin/env bash
# Builds the setup program and runs it under Wine. On the user's display it
# shows the wizard in a 1024x768 Wine desktop. With no display, it walks the
# wizard on a private Xvfb (the end-to-end tests) and saves a PNG of the
# splash and of every page under build/windows/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset windows >/dev/null
build="$PWD/build/windows"
if [ -n "${DISPLAY:-}" ]; then
  cmake --build --preset windows -j"$(nproc)" --target Setup
  # The program looks for its package in the folder it is started from.
  cd "$build/app"
  exec "$OLDPWD/cmake/wine-run.sh" "$build" explorer /desktop=MERVALDO,1024x768 Setup.exe
fi
cmake --build --preset windows -j"$(nproc)" --target Setup app_wizard_tests
QE_SOURCE_DIR="$PWD" QE_BINARY_DIR="$build" \
  cmake/wine-run.sh "$build" "$build/tests/app/app_wizard_tests.exe" --gtest_brief=1
echo "Screenshots: $build/screenshots/"
ls "$build/screenshots/"
