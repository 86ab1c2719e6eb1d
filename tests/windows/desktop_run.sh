#!/usr/bin/env bash
# The Windows desktop program under Wine on a virtual display, driven by keyboard through the
# real file dialogs: Enter leaves the dialog open, a plain x and g do nothing, "&G" opens the
# viewer at (10, 10) with the outer size 420 x 420, Open Base (the question answered Yes, its
# box above the viewer), Open MT, Mirror L->R and Save MT; the saved file must equal, byte for
# byte, what calveth-cli.exe writes to the same path, and the viewer's pixels those of
# calveth-cli.exe's PNG of the same state; F3 ends the program. A second run opens a base with
# face lines that are not stored: the viewer's title names the first warning. Pictures of both
# windows are left in OUT/screenshot-windows.png and OUT/screenshot-windows-warning.png.
#
#   tests/windows/desktop_run.sh BUILD_DIR SAMPLES_DIR OUT_DIR
# WINEPREFIX must name the build's Wine installation.
set -euo pipefail
build=$(cd "$1" && pwd)
samples=$(cd "$2" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Windows paths of Linux files: the Linux root is Wine's drive Z:.
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# Every wait polls for the state it needs, with a bound; nothing sleeps a fixed time to let
# the program catch up. poll SECONDS COMMAND...: true once COMMAND succeeds, false when it has
# not within SECONDS of clock time.
poll() {
  local end=$(($(date +%s%N) + $1 * 1000000000))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$end" ] || return 1
    sleep 0.05
  done
}
# await SECONDS WHAT COMMAND...: as poll, but a wait that runs out ends the run at once,
# saying what it waited for.
await() {
  local seconds=$1 what=$2
  shift 2
  poll "$seconds" "$@" && return 0
  fail "waited $seconds s in vain for $what"
  echo "desktop run under Wine: $failures failure(s)"
  exit 1
}
# xdotool with a bound: `windowactivate --sync` waits without end for a window that cannot
# take the focus.
xdo() { timeout 10 xdotool "$@"; }

# The id of the visible window whose name matches $1, if there is one.
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
shown() { [ -n "$(window_named "$1")" ]; }
gone() { ! shown "$1"; }
# The question box: a visible window of the program with an empty title (the dialog and the
# viewer have theirs).
question_box() {
  local id
  for id in $(xdotool search --onlyvisible --class 'calveth.exe' 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] && { echo "$id"; return 0; }
  done
  return 1
}
question_shown() { question_box >/dev/null; }
question_gone() { ! question_shown; }
# The window manager's stacking order, bottom to top, one X window id (0x... as xprop writes
# them) a line; stacked_at ID: the line of ID in it, empty when it is not listed.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/, */\n/g'; }
stacked_at() { stacking | grep -n -x "$(printf '0x%x' "$1")" | cut -d: -f1 || true; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
activate() { xdo windowactivate --sync "$1" >/dev/null 2>&1 || true; poll 5 active_is "$1"; }
ended() { ! kill -0 "$program_pid" 2>/dev/null; }
# The screen has settled: two pictures of it, taken one after the other, are the same.
screen_hash() { import -window root rgb:- 2>/dev/null | md5sum; }
screen_settled() { [ "$(screen_hash)" = "$(screen_hash)" ]; }

key() { xdotool key --delay 80 "$@"; }

# Wine draws the frames itself, as Windows does, instead of leaving them to the window
# manager; a setting of this Wine installation, not of the program.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

work="$out/desktop-run"
rm -rf "$work"
mkdir -p "$work"
target="$work/head_smileMirR.obj"

# A display of its own: Xvfb picks a free number and writes it to the given descriptor.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
program_pid=
wm_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
await 10 "Xvfb to report its display" test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
await 10 "openbox to manage the display" wm_running

# The dialog opens centred on the mouse pointer: beside the viewer's place.
xdotool mousemove 640 300
wine "$build/calveth.exe" >"$work/program.log" 2>&1 &
program_pid=$!
await 30 "the dialog to open" shown '^CALVETH II'
dialog=$(window_named '^CALVETH II')
activate "$dialog" || fail "the dialog did not take the focus"

# Enter must only sound the tone, and a stray letter never presses a button nor ends the
# program: mnemonics act with Alt only. Keys are taken in order, so once Space on "Open Base"
# (the first tab stop, which has the focus) has shown its file dialog, Enter, x and g have
# been handled: the dialog must still be there and the viewer closed.
key Return x g space
if poll 10 shown '^Open$'; then
  if ! ended && shown '^CALVETH II'; then
    pass "Enter and a plain x leave the program running"
  else
    fail "Enter or a plain x closed the dialog"
  fi
  if gone '^Wire Flame Viewer'; then
    pass "a plain g opens no viewer"
  else
    fail "a plain g opened the viewer"
  fi
  # The choice cancelled: nothing is opened.
  key Escape
  await 10 "the cancelled file dialog of Open Base to close" gone '^Open$'
elif ended; then
  fail "Enter or a plain x ended the program"
  exit 1
else
  fail "Space on Open Base showed no file dialog"
fi

activate "$dialog" || fail "the dialog did not take the focus back from the file dialog"
# A plain g left the viewer closed (or opened it, which is failed above): Alt+G toggles it open.
gone '^Wire Flame Viewer' || key alt+g
key alt+g
if poll 5 shown '^Wire Flame Viewer$'; then
  viewer=$(window_named '^Wire Flame Viewer$')
  geometry=$(xwininfo -id "$viewer" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x "," y " " w "x" h}')
  [ "$geometry" = "10,10 420x420" ] && pass "viewer at 10,10, outer size 420x420" ||
    fail "viewer at $geometry, not 10,10 420x420"
else
  fail "&G did not open the viewer"
fi

# Alt+G pressed "&G" without moving the focus: it is still on "Open Base".
activate "$dialog" || fail "the dialog did not take the focus back from the viewer"
key space
await 10 "Open Base to show its file dialog" shown '^Open$'
xdotool type --delay 10 "$(winpath "$samples/head_base_near.obj")"
key Return
await 10 "the file dialog of Open Base to close" gone '^Open$'
# "Some Points are not symmetrical. Shall I try Auto detection?": Yes is the default button.
await 20 "the question whether to try auto detection" question_shown
box=$(question_box)
# The box must stand above the viewer, which is top-most itself, in the window manager's
# stacking order.
box_at= viewer_at=
box_listed() { box_at=$(stacked_at "$box") && [ -n "$box_at" ]; }
poll 5 box_listed || true
viewer_at=$([ -n "${viewer:-}" ] && stacked_at "$viewer")
if [ -n "$box_at" ] && [ -n "$viewer_at" ] && [ "$box_at" -gt "$viewer_at" ]; then
  pass "the question box is above the viewer"
else
  fail "the question box is not above the viewer (stacking positions: box ${box_at:-none}, viewer ${viewer_at:-none})"
fi
activate "$box" || fail "the question box did not take the focus"
key Return
await 10 "the question box to close" question_gone

activate "$dialog" || fail "the dialog did not take the focus back after the question"
key alt+o
await 30 "&Open MT to show its file dialog" shown '^Open$'
xdotool type --delay 10 "$(winpath "$samples/head_smile.obj")"
key Return
await 10 "the file dialog of &Open MT to close" gone '^Open$'

# Alt+O left the focus on "Open Base": Tab to "&Open MT", "Mirror R->L", "Mirror L->R", and
# Space presses it; "&Save MT" is taken once that command is done.
key Tab Tab Tab space alt+s
await 30 "&Save MT to show its file dialog" shown '^Save As$'
xdotool type --delay 10 "$(winpath "$target")"
key Return
# The file appears whole, by a rename, once it is written.
await 30 "the saved file $target" test -s "$target"

await 10 "the screen to settle after the save" screen_settled
import -window root "$work/screen.png" 2>/dev/null || true
if [ -f "$work/screen.png" ]; then
  # Both windows: from the viewer's corner to the dialog's far corner.
  read -r dx dy dw dh < <(xwininfo -id "$dialog" | awk '/Absolute upper-left X/ {x=$4}
    /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
  convert "$work/screen.png" -crop "$((dx + dw + 10))x$((dy + dh > 430 ? dy + dh + 10 : 440))+0+0" \
    +repage "$out/screenshot-windows.png"
fi

# The viewer's drawing area against calveth-cli.exe's PNG of the same state, pixel by pixel:
# both are the core's picture with GDI's letters. Judged away from the text rows (y < 380)
# and the "Y-axis" box at the top; the whole area's count is reported as well.
if [ -f "$work/screen.png" ] && [ -n "${viewer:-}" ]; then
  wine "$build/calveth-cli.exe" render "$(winpath "$samples/head_base_near.obj")" --auto yes \
    --mt "$(winpath "$samples/head_smile.obj")" --op mirror-l2r -o "$(winpath "$work/cli.png")" \
    >"$work/render.log" 2>&1 || true
  read -r vx vy < <(xwininfo -id "$viewer" | awk '/Absolute upper-left X/ {x=$4}
    /Absolute upper-left Y/ {y=$4} END {print x, y}')
  convert "$work/screen.png" ppm:"$work/screen.ppm" && convert "$work/cli.png" ppm:"$work/cli.ppm" &&
    python3 - "$work/screen.ppm" "$work/cli.ppm" "$vx" "$vy" >"$work/pixels.txt" <<'PYTHON' || true
import sys
def ppm(path):
    data = open(path, 'rb').read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace(): at += 1
        end = at
        while not data[end:end + 1].isspace(): end += 1
        fields.append(data[at:end]); at = end
    return int(fields[1]), int(fields[2]), data[at + 1:]
sw, sh, screen = ppm(sys.argv[1])
w, h, cli = ppm(sys.argv[2])
vx, vy = int(sys.argv[3]), int(sys.argv[4])
def differing(ox, oy, judged):
    count = 0
    for y in range(h):
        if judged and y >= 380: break
        s = ((vy + oy + y) * sw + vx + ox) * 3
        c = y * w * 3
        for x in range(w):
            if judged and y < 24 and 190 <= x < 270: continue
            if screen[s + 3 * x:s + 3 * x + 3] != cli[c + 3 * x:c + 3 * x + 3]: count += 1
    return count
# The drawing area lies inside the frame (6 pixels a side) and under the title bar (19):
# looked for close to there.
best = min(((differing(ox, oy, True), ox, oy) for ox in range(4, 9) for oy in range(23, 28)))
print(best[0], differing(best[1], best[2], False), best[1], best[2])
PYTHON
  read -r judged whole ox oy <"$work/pixels.txt" || true
  echo "measured: viewer against calveth-cli.exe render: ${judged:-?} differing pixels away from the text rows, ${whole:-?} in the whole 408x389 area (drawing area at +${ox:-?}+${oy:-?} in the window)"
  [ "${judged:-1}" = 0 ] && pass "the viewer's pixels equal calveth-cli.exe's PNG away from the text rows" ||
    fail "the viewer's pixels differ from calveth-cli.exe's PNG (${judged:-?} pixels)"
fi

activate "$dialog" || fail "the dialog did not take the focus for F3"
key F3
if poll 10 ended; then
  pass "F3 ends the program"
  program_pid=
else
  fail "the program still runs after F3"
fi

if [ -s "$target" ]; then
  mv "$target" "$work/desktop.obj"
  wine "$build/calveth-cli.exe" mirror-l2r --base "$samples/head_base_near.obj" --auto yes \
    --mt "$samples/head_smile.obj" -o "$(winpath "$target")" >"$work/cli.log" 2>&1 || true
  if cmp -s "$work/desktop.obj" "$target"; then
    pass "the saved file equals calveth-cli.exe's byte for byte ($(wc -c <"$target") bytes)"
  else
    fail "the saved file differs from calveth-cli.exe's"
  fi
else
  fail "Save MT wrote no file"
fi

# Face lines that are not stored: the viewer's title names the first warning, and the mark at
# the right end of the status line shows them all on hover (the picture goes to
# OUT/screenshot-windows-warning.png).
printf 'v 1 1 1\nv -1 1 1\nv 1 -1 1\nv -1 -1 1\nf 1 2 4 3\nf 1 2\nf 1 x 3\n' >"$work/warned.obj"
wine "$build/calveth.exe" >>"$work/program.log" 2>&1 &
program_pid=$!
await 30 "the dialog to open for the warning" shown '^CALVETH II'
dialog=$(window_named '^CALVETH II')
activate "$dialog" || fail "the dialog did not take the focus"
key alt+g
poll 5 shown '^Wire Flame Viewer$' || fail "&G did not open the viewer"
activate "$dialog" || fail "the dialog did not take the focus back from the viewer"
key space
await 10 "Open Base to show its file dialog" shown '^Open$'
xdotool type --delay 10 "$(winpath "$work/warned.obj")"
key Return
if poll 10 shown '^Wire Flame Viewer - warning: line 6: '; then
  pass "the viewer's title names the first warning"
else
  fail "the viewer's title names no warning: $(xdotool search --name '^Wire Flame Viewer' getwindowname 2>/dev/null)"
fi
read -r dx dy dw dh < <(xwininfo -id "$dialog" | awk '/Absolute upper-left X/ {x=$4}
  /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
# The mark sits at the status line's right end, a few pixels inside the dialog's frame; its
# tooltip is a window of the program without a title, like the question box.
xdotool mousemove $((dx + dw - 20)) $((dy + dh - 20))
poll 10 question_shown || fail "the warning mark showed no tooltip on hover"
await 10 "the screen to settle with the tooltip" screen_settled
import -window root "$work/warning.png" 2>/dev/null &&
  convert "$work/warning.png" -crop "$((dx + dw + 330))x$((dy + dh > 430 ? dy + dh + 140 : 440))+0+0" \
    +repage "$out/screenshot-windows-warning.png" || fail "no picture of the warning"
activate "$dialog" || fail "the dialog did not take the focus for F3"
key F3
if poll 10 ended; then
  program_pid=
else
  fail "the program still runs after F3"
fi

# How soon the dialog answers again after "Open Base" of a 40000-vertex base with the viewer
# open: measured and reported, not judged (timings are no test's business).
if [ -x "$build/tests/calveth-answer-probe.exe" ]; then
  awk 'BEGIN { for (j = 0; j < 200; j++) for (i = 0; i < 200; i++)
                 printf "v %.4f %.4f %.4f\n", (i - 99.5) / 50, j / 50, (i - 99.5) * (i - 99.5) / 5000;
               for (j = 0; j < 199; j++) for (i = 0; i < 199; i++) {
                 a = j * 200 + i + 1; printf "f %d %d %d %d\n", a, a + 1, a + 201, a + 200 } }' \
    >"$work/grid40000.obj"
  wine "$build/calveth.exe" >>"$work/program.log" 2>&1 &
  program_pid=$!
  await 30 "the dialog to open again" shown '^CALVETH II'
  dialog=$(window_named '^CALVETH II')
  activate "$dialog" || fail "the dialog did not take the focus"
  key alt+g
  poll 5 shown '^Wire Flame Viewer$' || fail "&G did not open the viewer"
  activate "$dialog" || fail "the dialog did not take the focus back from the viewer"
  key space
  await 10 "Open Base to show its file dialog" shown '^Open$'
  wine "$build/tests/calveth-answer-probe.exe" >"$work/answer.txt" 2>&1 &
  probe_pid=$!
  # The probe says when it watches the dialog and its file dialog; the choice must not end
  # before.
  await 30 "the answer probe to watch the dialog" grep -q '^watching' "$work/answer.txt"
  xdotool type --delay 10 "$(winpath "$work/grid40000.obj")"
  key Return
  wait "$probe_pid" || true
  echo "measured: the dialog answered again $(tail -n 1 "$work/answer.txt") after Open Base of 40000 vertices, viewer open"
  activate "$dialog" || fail "the dialog did not take the focus for F3"
  key F3
  poll 10 ended && program_pid=
fi

echo "desktop run under Wine: $failures failure(s)"
exit $((failures > 0))
