#!/usr/bin/env bash
# Builds the host preset and prints the table data set's ratios against the
# sqlite3 shell (outside CI). Arguments: rows to append, rows to scan.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset host >/dev/null
cmake --build --preset host --target tabledb_sqlite_bench -j4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$root/build/host/bench/tabledb_sqlite_bench" "$@"
