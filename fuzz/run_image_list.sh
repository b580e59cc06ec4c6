#!/bin/sh
# Fuzzes the image list's form-data reader (its stored bitmaps included)
# for a while (default 600 seconds), outside CI.
#   fuzz/run_image_list.sh [SECONDS|seeds]
exec "$(dirname "$0")/fuzz_seeded_target.sh" image_list 65536 "${1:-600}"
