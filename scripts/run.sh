#!/usr/bin/env bash
# Builds the setup program and runs it under Wine. On the user's display it
# shows the wizard in a 1024x768 Wine desktop. With no display, it walks the
# wizard on a private Xvfb (the end-to-end tests) in a Wine virtual desktop,
# so that the pictures show the window's caption and frame, installs the
# demo package into build/windows/install-e2e/, saves a PNG of the splash and
# of every page under build/windows/screenshots/ and shows the configuration
# rows the installation wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset windows >/dev/null
build="$PWD/build/windows"
if [ -n "${DISPLAY:-}" ]; then
  cmake --build --preset windows -j"$(nproc)" --target Setup setup_package
  # The program looks for its package in the folder it is started from.
  cd "$build/app"
  exec "$OLDPWD/cmake/wine-run.sh" "$build" explorer /desktop=MERVALDO,1024x768 Setup.exe
fi
cmake --build --preset windows -j"$(nproc)" --target Setup setup_package app_wizard_tests app_install_tests
for walk in app_wizard_tests app_install_tests; do
  QE_SOURCE_DIR="$PWD" QE_BINARY_DIR="$build" QE_WINE_DESKTOP=1 \
    cmake/wine-run.sh "$build" "$build/tests/app/$walk.exe" --gtest_brief=1
done
echo "Configuration rows of the installation:"
"$PWD/build/host/tools/tomedb/tomedb" dump "$build/install-e2e/whole/MERVALDO/Quillor_Pro/scg.qec" -p vorel |
  sed -n '/records/,$p'
echo "Screenshots: $build/screenshots/"
ls "$build/screenshots/"
