#!/usr/bin/env bash
# A picture of the desktop program showing warnings, for the docs: under an X display with a
# window manager, the real program opens a base whose face lines are not all stored, opens the
# viewer (whose title tells the first warning) and points at the warning mark, whose texts show
# as a tooltip; the whole screen is saved.
#
#   tools/warning_screenshot.sh PROGRAM BASE OUT.png
set -euo pipefail

program=$1
base=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
out=$3

export QT_QPA_PLATFORM=xcb
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# Waits, bounded, until the window's name matches.
until_named() {
  for _ in $(seq 100); do
    xdotool getwindowname "$1" 2>/dev/null | grep -q -- "$2" && return 0
    sleep 0.05
  done
  echo "the window was never named '$2'" >&2
  return 1
}

main=$(window '^CALVETH II')
xdotool windowmove --sync "$main" 460 60
xdotool windowfocus --sync "$main"
xdotool key alt+g
viewer=$(window '^Wire Flame Viewer')
xdotool windowfocus --sync "$main"
xdotool key space  # "Open Base" has the focus
dialog=$(window '^Open$')
xdotool windowfocus --sync "$dialog"
xdotool key ctrl+a
xdotool type --delay 2 "$base"
xdotool key Return
until_named "$viewer" 'warning'
# The mark sits at the right end of the status line, just above the progress bar.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH - 16)) $((Y + HEIGHT - 42))
sleep 1.5  # a tooltip shows after the pointer rests: this is a picture, not a test
import -window root -crop 900x520+0+0 "$out"
xdotool windowfocus --sync "$main"
xdotool key alt+x
wait "$pid"
trap - EXIT
echo "saved $out"
