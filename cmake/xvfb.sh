# Sourced by the scripts that need a private X display.
# start_xvfb: starts an Xvfb of the screen's size (1024x768x24) on a free
# display and returns once it accepts clients (Xvfb writes the display
# number to -displayfd then); sets DISPLAY and XVFB_PID.
start_xvfb() {
  local fifo number
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  read -r number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}
