#!/usr/bin/env bash
# Builds the host preset and times the software Lanczos3 resampler against
# Pillow's LANCZOS resize (Debian's python3-pil) on the same pictures, in
# one run, outside CI. Prints milliseconds per resize, the ratio (ours /
# Pillow; the target is at most 1) and each side's whole-process time.
# Argument: rounds (default 20).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
rounds=${1:-20}
cmake --preset host >/dev/null
cmake --build --preset host --target lanczos_bench -j4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/time -f "%e" -o "$work/ours.time" "$root/build/host/bench/lanczos_bench" "$work" "$rounds" > "$work/ours.txt"
/usr/bin/time -f "%e" -o "$work/pillow.time" /usr/bin/python3 - "$work" "$rounds" > "$work/pillow.txt" <<'PY'
import sys, time
from PIL import Image
work, rounds = sys.argv[1], int(sys.argv[2])
for line in open(f"{work}/ours.txt"):
    name, sw, sh, dw, dh, _ = line.split()
    sw, sh, dw, dh = map(int, (sw, sh, dw, dh))
    src = Image.frombytes("RGBA", (sw, sh), open(f"{work}/{name}.rgba", "rb").read())
    src.resize((dw, dh), Image.LANCZOS)  # warm-up
    start = time.perf_counter()
    for _ in range(rounds):
        src.resize((dw, dh), Image.LANCZOS)
    print(name, f"{(time.perf_counter() - start) * 1000 / rounds:.3f}")
PY
join <(awk '{print $1, $6}' "$work/ours.txt" | sort) <(sort "$work/pillow.txt") |
  awk '{printf "%-28s ours %8.2f ms  Pillow %8.2f ms  ratio %.2f\n", $1, $2, $3, $2 / $3}'
echo "whole process (pictures made, $rounds rounds per case): ours $(cat "$work/ours.time") s, Pillow $(cat "$work/pillow.time") s"
