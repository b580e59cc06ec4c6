#!/bin/sh
# Fuzzes the picture header readers for a while (default 600 seconds),
# outside CI. The seeds are small pictures of each format written by
# Debian's Python with PIL (python3-pil): PNG, BMP, GIF, JPEG baseline and
# progressive, TIFF in both byte orders, each behind the byte that picks
# its reader.
#   fuzz/run_picture_header.sh [SECONDS|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/${QE_FUZZ_PRESET:-fuzz}"
seconds=${1:-600}
# "seeds" runs the target once over its seed corpus and stops (CI does).
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" >/dev/null
cmake --build "$build" --target picture_header_fuzz -j4

corpus="$build/picture_header_fuzz.work/corpus"
mkdir -p "$corpus"
/usr/bin/python3 - "$corpus" <<'PY'
import io, sys
from PIL import Image
out = sys.argv[1]
img = Image.new("RGBA", (37, 21), (200, 30, 40, 128))
seeds = {
    "png": (1, lambda b: img.save(b, "PNG")),
    "bmp": (2, lambda b: img.convert("RGB").save(b, "BMP")),
    "gif": (4, lambda b: img.convert("P").save(b, "GIF", comment=b"seed")),
    "jpg": (0, lambda b: img.convert("RGB").save(b, "JPEG")),
    "jpg-progressive": (0, lambda b: img.convert("RGB").save(b, "JPEG", progressive=True)),
    "tif-le": (3, lambda b: img.save(b, "TIFF")),
    "tif-be": (3, lambda b: img.convert("RGB").save(b, "TIFF", byteorder=">") ),
}
for name, (selector, save) in seeds.items():
    b = io.BytesIO()
    try:
        save(b)
    except TypeError:
        continue  # an older PIL without the byte-order option
    open(f"{out}/seed-{name}", "wb").write(bytes([selector]) + b.getvalue())
PY
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/picture_header_fuzz" $limit -rss_limit_mb=2048 \
  -max_len=4096 -print_final_stats=1 "$corpus"
