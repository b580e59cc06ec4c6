#!/usr/bin/env bash
# Soak run outside CI: six processes append 8000 rows each (Twofish CFB8,
# a 200-byte memo) to one table with the default lock wait, and none may
# run out of it. Argument: rows per writer (default 8000).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset host >/dev/null
cmake --build --preset host --target tabledb_tests -j4
QE_TOMEDB_WRITER_ROWS=${1:-8000} "$root/build/host/tests/tabledb/tabledb_tests" \
  --gtest_filter='TomeDBFileAccess.SixWritersAppendWithoutTimingOut'
