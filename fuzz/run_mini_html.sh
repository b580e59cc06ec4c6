#!/bin/sh
# Fuzzes the mini-HTML's tokenizer and layout for a while (default 600
# seconds), outside CI. The seeds are the splash's status lines and texts of
# each tag, each behind the byte that picks wrap, measuring and width.
#   fuzz/run_mini_html.sh [SECONDS|seeds]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/${QE_FUZZ_PRESET:-fuzz}"
seconds=${1:-600}
# "seeds" runs the target once over its seed corpus and stops (CI does).
limit="-max_total_time=$seconds"
[ "$seconds" = seeds ] && limit="-runs=0"

cmake --preset "${QE_FUZZ_PRESET:-fuzz}" -S "$here" >/dev/null
cmake --build "$build" --target mini_html_fuzz -j4

corpus="$build/mini_html_fuzz.work/corpus"
mkdir -p "$corpus"
seed() { printf '%b' "$2" > "$corpus/seed-$1"; }
seed status '\0061<IMG src="system"><FONT size="16" color="#A45302">V\0351rification de syst\0350me...</FONT><br>'
seed wrap '\0025one two <B>three</B> four&nbsp;five &amp;lt; six\r\nseven'
seed list '\0045<UL><LI>one</LI><LI type="SQUARE" color="clRed">two</LI><UL><LI>three</LI></UL></UL>'
seed styles '\0007<P align="CENTER" indent="4"><SHAD>s</SHAD><E>err</E><SUB>2</SUB><SUP>3</SUP><Z>hid</Z><HI>hi</HI></P><HR>'
seed links '\0021go <A href="next">here and there</A> <IMG src="IDX:3"><IMG src="SSYS:c:\\"> <OFS x="30">o</OFS><IND x="90">i'
export ASAN_OPTIONS=detect_leaks=1
exec "$build/fuzz/mini_html_fuzz" $limit -rss_limit_mb=2048 -max_len=8192 -timeout=10 \
  -dict="$here/fuzz/mini_html.dict" -print_final_stats=1 "$corpus"
