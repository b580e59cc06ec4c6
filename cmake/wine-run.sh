#!/usr/bin/env bash
# Runs a Windows program under Wine for the build and its tests.
#   wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# The Wine prefix lives in BUILD_DIR/wineprefix (or $WINEPREFIX) and is made on
# first use, with Wine's TrueType fonts copied in so that GDI+ sees them too.
# Without a display, a private Xvfb (1024x768x24) serves this one run.
#
# Test lanes: CTest hands a test that shows windows one "display" resource
# (CTEST_RESOURCE_GROUP_0_DISPLAY=id:N,...). Lane N has its own prefix,
# BUILD_DIR/wineprefix-lane-N, and its own display, whose name
# scripts/test.sh writes to BUILD_DIR/lanes/N.display; so two such tests run
# side by side without covering each other's windows or sharing a
# wineserver.
#
# Wine sees a home folder inside the prefix, never the user's: the prefix's
# desktop and documents folders would otherwise be links into the Linux home,
# and tests that make shortcuts would write (and delete) files there.
#
# Top-level windows are not left to a window manager (the X11 driver's
# "Managed" set to N): the private and lane displays have none, and Wine
# would wait two seconds for its answer each time a managed window hides
# (every message box answered, every sheet the gallery draws, every
# program's exit). On a person's display the programs run in a Wine
# virtual desktop (scripts/run.sh), where this changes nothing.
#
# QE_WINE_DESKTOP=1 runs PROGRAM, and what it starts, in a Wine virtual
# desktop of the screen's size: without a window manager Wine draws the frames
# of top-level windows only there, so end-to-end pictures then show what a
# person sees. The desktop is PROGRAM's default one in the prefix's registry,
# which keeps PROGRAM's own exit code ("explorer /desktop=..." would not).
set -u
build=$1; shift
program=$(basename "$1")

lane=""
if [ -n "${CTEST_RESOURCE_GROUP_0_DISPLAY:-}" ]; then
  lane=${CTEST_RESOURCE_GROUP_0_DISPLAY#id:}
  lane=${lane%%,*}
  export WINEPREFIX="$build/wineprefix-lane-$lane"
  if [ -s "$build/lanes/$lane.display" ]; then
    export DISPLAY
    DISPLAY=$(cat "$build/lanes/$lane.display")
  else
    unset DISPLAY
  fi
fi

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml,winemenubuilder.exe="}
export WINEARCH=win64
export HOME="$WINEPREFIX/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"

. "$(dirname "$0")/xvfb.sh"

XVFB_PID=""
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  trap '[ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null' EXIT
fi

# The prefix's user folders that Wine links to the home folder become real
# folders inside the prefix (prefixes made before HOME moved have such links
# to the user's home).
own_user_folders() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    rm -f "$link"
    mkdir -p "$link"
  done
}

mkdir -p "$build" "$HOME"
# With no X resources on the display (Xvfb's have none) and no file of them
# in the home folder, Xlib keeps no resource database and looks for the two
# files again at every query; Wine's X11 driver queries at every font a
# device context selects, hundreds of times per repaint of a page. An empty
# file gives Xlib its (empty) database: the answers are the same.
[ -e "$HOME/.Xdefaults" ] || : >"$HOME/.Xdefaults"
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
  if [ ! -f "$WINEPREFIX/.qe-unmanaged" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&- &&
      touch "$WINEPREFIX/.qe-unmanaged"
  fi
  own_user_folders
  desktop_key="HKCU\\Software\\Wine\\AppDefaults\\$program\\Explorer"
  desktop_mark="$WINEPREFIX/.qe-desktop-$program"
  if [ "${QE_WINE_DESKTOP:-0}" = 1 ] && [ ! -f "$desktop_mark" ]; then
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v qe /d 1024x768 /f </dev/null >/dev/null 2>&1 9>&- &&
      wine reg add "$desktop_key" /v Desktop /d qe /f </dev/null >/dev/null 2>&1 9>&- &&
      touch "$desktop_mark"
  elif [ "${QE_WINE_DESKTOP:-0}" != 1 ] && [ -f "$desktop_mark" ]; then
    wine reg delete "$desktop_key" /f </dev/null >/dev/null 2>&1 9>&- && rm -f "$desktop_mark"
  fi
) 9>"$WINEPREFIX.lock"

if [ -n "$XVFB_PID" ]; then
  wine "$@"
  exit $?
fi
exec wine "$@"
