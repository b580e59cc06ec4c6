#!/usr/bin/env bash
# Runs a Windows program under Wine for the build and its tests.
#   wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# The Wine prefix lives in BUILD_DIR/wineprefix (or $WINEPREFIX) and is made on
# first use, with Wine's TrueType fonts copied in so that GDI+ sees them too.
# Without a display, a private Xvfb (1024x768x24) serves this one run.
# QE_WINE_DESKTOP=1 runs PROGRAM, and what it starts, in a Wine virtual
# desktop of the screen's size: without a window manager Wine draws the frames
# of top-level windows only there, so end-to-end pictures then show what a
# person sees. The desktop is PROGRAM's default one in the prefix's registry,
# which keeps PROGRAM's own exit code ("explorer /desktop=..." would not).
set -u
build=$1; shift
program=$(basename "$1")

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml,winemenubuilder.exe="}
export WINEARCH=win64

start_xvfb() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
}

XVFB_PID=""
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  trap '[ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null' EXIT
fi

mkdir -p "$build"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.qe-ready" ]; then
    # Wine's helper processes (services, explorer) outlive the program and
    # inherit its files: give them no output, so that no caller's pipe stays
    # open, and not the lock, or no other run could take it again.
    wineboot -i </dev/null >/dev/null 2>&1 9>&-
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$fonts"/ 2>/dev/null
    cp -n /usr/share/fonts/truetype/liberation/*.ttf "$fonts"/ 2>/dev/null
    touch "$WINEPREFIX/.qe-ready"
  fi
  desktop_key="HKCU\\Software\\Wine\\AppDefaults\\$program\\Explorer"
  desktop_mark="$WINEPREFIX/.qe-desktop-$program"
  if [ "${QE_WINE_DESKTOP:-0}" = 1 ] && [ ! -f "$desktop_mark" ]; then
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v qe /d 1024x768 /f </dev/null >/dev/null 2>&1 9>&- &&
      wine reg add "$desktop_key" /v Desktop /d qe /f </dev/null >/dev/null 2>&1 9>&- &&
      touch "$desktop_mark"
  elif [ "${QE_WINE_DESKTOP:-0}" != 1 ] && [ -f "$desktop_mark" ]; then
    wine reg delete "$desktop_key" /f </dev/null >/dev/null 2>&1 9>&- && rm -f "$desktop_mark"
  fi
) 9>"$build/.wineprefix.lock"

if [ -n "$XVFB_PID" ]; then
  wine "$@"
  exit $?
fi
exec wine "$@"
