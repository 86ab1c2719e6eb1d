#!/usr/bin/env bash
# Pictures of the desktop program for the README. Run under an X display: make screenshots
# starts a virtual one with xvfb-run, large enough that the dialog, which opens centred on the
# pointer, stays clear of the viewer at the top left. Starts the real program, opens the
# sample head and its smile MT through the program's own file dialogs by keyboard, runs
# "Mirror L->R", opens the viewer with "&G", and saves PNGs of the dialog and of the viewer.
#
#   tools/screenshots.sh PROGRAM SAMPLES_DIR OUT_DIR
set -euo pipefail

program=$1
samples=$(cd "$2" && pwd)
out=$3
mkdir -p "$out"

export QT_QPA_PLATFORM=xcb
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
pause() { sleep "${SCREENSHOT_PAUSE:-0.6}"; }

# Types a path into the file dialog that has just opened and confirms it.
choose() {
  local dialog
  dialog=$(window '^Open$')
  xdotool windowfocus --sync "$dialog"
  pause
  xdotool key ctrl+a
  xdotool type --delay 2 "$1"
  xdotool key Return
  pause
}

main=$(window '^CALVETH II')
xdotool windowfocus --sync "$main"
pause
xdotool key space        # "Open Base" has the focus when the dialog opens
choose "$samples/head_base.obj"
xdotool windowfocus --sync "$main"
xdotool key alt+o        # "&Open MT"
choose "$samples/head_smile.obj"
xdotool windowfocus --sync "$main"
xdotool key Tab Tab space   # from "&Open MT" past "Mirror R->L" to "Mirror L->R"
pause
xdotool key alt+g        # the viewer
viewer=$(window '^Wire Flame Viewer$')
pause
import -window "$main" "$out/screenshot-dialog.png"
import -window "$viewer" "$out/screenshot-viewer.png"
xdotool windowfocus --sync "$main"
xdotool key alt+x
wait "$pid"
trap - EXIT
echo "saved $out/screenshot-dialog.png and $out/screenshot-viewer.png"
