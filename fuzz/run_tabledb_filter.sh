#!/bin/sh
# Fuzzes the filter expression parser and evaluator for a while (default 600
# seconds), outside CI, from a seed corpus of filters in every form the
# language has.
#   fuzz/run_tabledb_filter.sh [SECONDS|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/${QE_FUZZ_PRESET:-fuzz}"
seconds=${1:-600}
# "seeds" runs the target once over its seed corpus and stops (CI does).
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" >/dev/null
cmake --build "$build" --target tabledb_filter_fuzz -j4

work="$build/tabledb_filter_fuzz.work"
corpus="$work/corpus"
mkdir -p "$corpus"
n=0
# Each seed is one options byte (0-3) followed by the filter text.
while IFS= read -r filter; do
  n=$((n + 1))
  printf '%s%s' "$((n % 4))" "$filter" > "$corpus/seed-$n"
done <<'SEEDS'
Name = 'Smith' and Age >= 18 or Vip
NOT Age = 1 AND Qty = 2
Name = 'Sm*' OR Name IN ('A*', 'B')
Name LIKE '%m_t%' AND Notes LIKE '%urgent%'
Age + Qty * 2 - 1 / 3 > W - Big
Amount / (Qty + 2) > Price
Since = '01/15/2024' AND Since + 1 > '1/2/05' AND Since - '01/01/2024' = 14
Created - Since > 0 AND Created + 1.5 > '12/31/1999 10:00' OR At > '1:30 PM'
YEAR(Created) = 1 AND MONTH(Since) = 1 AND DAY(Since) = 15 AND HOUR(At) = 23
MINUTE(At) = 59 AND SECOND(Created) = 0 AND Created < GETDATE()
UPPER(TRIM(Name)) + LOWER(Code) = 'SMITHab' AND SUBSTRING(Name, 2, 3) = 'mit'
TRIMLEFT(Notes) <> TRIMRIGHT(Notes) /* comment */ OR Id IN (1, 2, 7)
[Name] = 'It''s' OR (((Age))) = -30*-1 OR Vip = False
Amount = 1.25E1 OR Amount < 1e+3 OR Big = 1099511627776
SEEDS
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/tabledb_filter_fuzz" "$limit" -rss_limit_mb=2048 -max_len=4096 \
  -dict="$here/fuzz/tabledb_filter.dict" -print_final_stats=1 "$corpus"
