#!/usr/bin/env bash
# Builds the setup program and runs it under Wine: on the user's display when
# there is one, else on a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target Setup
exec cmake/wine-run.sh "$PWD/build/windows" "$PWD/build/windows/app/Setup.exe"
