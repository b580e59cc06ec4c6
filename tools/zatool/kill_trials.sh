#!/usr/bin/env bash
# kill -9 during updates: adds a large file to an archive and kills zatool
# at a random moment, TRIALS times (default 20). After each kill the
# archive must pass `unzip -t` with its old contents; the run that is let
# finish must give the new ones. Each update removes the unfinished file
# that the killed one before it left, so at most the last kill's remains,
# and a finished update leaves none.
#   tools/zatool/kill_trials.sh ZATOOL [TRIALS]
set -euo pipefail
zatool=$(realpath "$1")
trials=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

head -c 3000000 /dev/urandom > random.bin
python3 -c "
import random
random.seed(1)
words = ['alpha', 'beta', 'gamma', 'delta', 'epsilon']
with open('big.bin', 'w') as f:
    for i in range(1500000):
        f.write(random.choice(words) + ' %d\n' % i)
"
printf 'first\n' > first.txt
"$zatool" a -m 6 arc.zip first.txt random.bin
unzip -Z1 arc.zip | sort > old.list
cp arc.zip arc.orig

# How long a whole update takes, to spread the kills over it.
start=$(date +%s%N)
cp arc.orig timing.zip
"$zatool" a -m 6 timing.zip big.bin
full_ns=$(( $(date +%s%N) - start ))

failed=0
for trial in $(seq 1 "$trials"); do
  cp arc.orig arc.zip
  delay_ns=$(( (RANDOM * 32768 + RANDOM) % full_ns ))
  "$zatool" a -m 6 arc.zip big.bin &
  pid=$!
  sleep "$(printf '%d.%09d' $((delay_ns / 1000000000)) $((delay_ns % 1000000000)))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if ! unzip -tq arc.zip >/dev/null 2>&1; then
    echo "trial $trial: archive fails unzip -t after a kill at ${delay_ns} ns"
    failed=$((failed + 1))
    continue
  fi
  list=$(unzip -Z1 arc.zip | sort)
  if [ "$list" != "$(cat old.list)" ] && [ "$list" != "$(printf '%s\n' big.bin first.txt random.bin)" ]; then
    echo "trial $trial: unexpected contents: $list"
    failed=$((failed + 1))
  fi
  leftovers=$(find . -maxdepth 1 -name 'FC*' | wc -l)
  if [ "$leftovers" -gt 1 ]; then
    echo "trial $trial: $leftovers unfinished files left beside the archive"
    failed=$((failed + 1))
  fi
done
cp arc.orig arc.zip
"$zatool" a -m 6 arc.zip big.bin
leftovers=$(find . -maxdepth 1 -name 'FC*' | wc -l)
echo "$trials kill -9 trials, $failed failed; unfinished files left after a finished update: $leftovers"
unzip -tq timing.zip >/dev/null
unzip -tq arc.zip >/dev/null
[ "$failed" -eq 0 ] && [ "$leftovers" -eq 0 ]
