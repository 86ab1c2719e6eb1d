#!/usr/bin/env bash
# The desktop program under a real window manager: openbox on a virtual X display decorates
# the viewer with a frame and a title bar, which no offscreen test sees. Starts the real
# program and checks, by what the X server reports:
#   - the viewer's outer frame (title bar included) is 420 x 420 at (10, 10) on the first
#     opening and after each of five "&G" close / reopen cycles;
#   - a place the viewer was dragged to by its title bar comes back exactly;
#   - "Open Base" pressed while the viewer overlaps the dialog opens its file dialog above
#     the always-on-top viewer (_NET_CLIENT_LIST_STACKING, bottom to top);
#   - the question box has no title text;
#   - the viewer opens without taking the keyboard, and the dialog's keys work in it.
# Every wait polls with a bound; nothing sleeps a fixed time to let the program catch up.
#
#   tests/gui/window_manager_test.sh PROGRAM SAMPLES_DIR
# Exit status 0 passed, 1 failed, 77 skipped (Xvfb or openbox missing; never when CI=true).
set -uo pipefail


missing=
for tool in Xvfb openbox xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
  if [ "${CI:-}" = true ]; then
    echo "FAIL: missing in CI:$missing (make deps installs them)"
    exit 1
  fi
  echo "SKIP: the window-manager test needs$missing (make deps installs them)"
  exit 77
fi

program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
samples=$(cd "$2" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait "${pids[@]}" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# xdotool with a bound: `windowfocus --sync` waits without end for a window that cannot take
# the focus.
xdo() { timeout 10 xdotool "$@"; }

# Polls `$@` every 20 ms until it succeeds, for at most 5 s of clock time.
wait_for() {
  local end=$(($(date +%s%N) + 5000000000))
  until "$@"; do
    [ "$(date +%s%N)" -lt "$end" ] || return 1
    sleep 0.02
  done
}

# A display of its own: Xvfb picks a free number and writes it to the given descriptor.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for test -s "$work/display" || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for wm_running || { echo "FAIL: openbox did not start"; cat "$work/openbox.log"; exit 1; }

root=$(xwininfo -root | awk '/Window id:/ {print $4}')

# The visible client window whose title is exactly $1, if there is one.
client() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
# The window manager's frame: the client's ancestor that is a child of the root.
frame_of() {
  local window=$1 parent
  while parent=$(xwininfo -tree -id "$window" 2>/dev/null | awk '/Parent window id:/ {print $4}'); do
    [ -z "$parent" ] && return 1
    [ "$parent" = "$root" ] && { echo "$window"; return 0; }
    window=$parent
  done
  return 1
}
# "x,y wxh" of a window on the screen.
geometry() {
  xwininfo -id "$1" 2>/dev/null |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2}
         /Height:/ {h=$2} END {if (w) print x "," y " " w "x" h}'
}

viewer_frame() {
  local window
  window=$(client 'Wire Flame Viewer') && [ -n "$window" ] && geometry "$(frame_of "$window")"
}
viewer_frame_is() { [ "$(viewer_frame)" = "$1" ]; }
viewer_closed() { [ -z "$(client 'Wire Flame Viewer')" ]; }

# The dialog opens centred on the pointer: here the viewer's drag target overlaps it while
# "Open Base" at its top left stays clear.
xdotool mousemove 300 300
cd "$samples"
QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
main_shown() { [ -n "$(client 'CALVETH II.*')" ]; }
wait_for main_shown || { echo "FAIL: the main dialog did not appear"; cat "$work/program.log"; exit 1; }
main=$(client 'CALVETH II.*')

press_g() { xdo windowfocus --sync "$main" key alt+g; }

# Opens the viewer and checks that its frame comes to $1; prints the frame seen.
open_viewer_at() {
  press_g
  wait_for viewer_frame_is "$1"
  local seen
  seen=$(viewer_frame)
  echo "  $2: frame $seen"
  [ "$seen" = "$1" ] || fail "$2: the viewer's frame is '$seen', not '$1'"
}
close_viewer() {
  press_g
  wait_for viewer_closed || fail "$1: the viewer did not close"
}

echo "viewer frame (x,y wxh) under openbox:"
open_viewer_at "10,10 420x420" "first opening"

# The viewer opens without taking the keyboard from the dialog, and after a click into the
# viewer the dialog's keys still work there: Alt+G typed into the viewer closes it.
main_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ]; }
wait_for main_active || fail "opening the viewer took the keyboard from the dialog"
viewer=$(client 'Wire Flame Viewer')
xdotool mousemove 200 200 click 1
viewer_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$viewer" ]; }
if wait_for viewer_active; then
  xdotool key alt+g
  wait_for viewer_closed || fail "Alt+G in the viewer did not close it"
  open_viewer_at "10,10 420x420" "reopened after a key in the viewer"
else
  fail "a click into the viewer did not activate it"
fi
for cycle in 1 2 3 4 5; do
  close_viewer "cycle $cycle"
  open_viewer_at "10,10 420x420" "reopened ($cycle)"
done

# A drag by the title bar, as a user moves it.
read -r place _ <<<"$(viewer_frame)"
x=${place%,*}
y=${place#*,}
xdotool mousemove $((x + 200)) $((y + 8)) mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((x + 200 + step * 50)) $((y + 8 + step * 40)); done
xdotool mouseup 1
viewer_moved() { [ "$(viewer_frame)" != "10,10 420x420" ]; }
wait_for viewer_moved || fail "the drag did not move the viewer"
dragged=$(viewer_frame)
echo "  dragged: frame $dragged"
close_viewer "after the drag"
open_viewer_at "$dragged" "reopened after the drag"

# "Open Base", clicked while the always-on-top viewer overlaps the dialog: the file dialog
# must open above the viewer.
read -r dialog_place _ <<<"$(geometry "$main")"
xdotool mousemove $((${dialog_place%,*} + 20)) $((${dialog_place#*,} + 15)) click 1
file_dialog_shown() { [ -n "$(client 'Open')" ]; }
if wait_for file_dialog_shown; then
  files=$(client 'Open')
  viewer=$(client 'Wire Flame Viewer')
  # The position of window $1 in the stacking order, bottom first.
  position() {
    local i=0 id
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g'); do
      [ $((id)) -eq $(($1)) ] && { echo $i; return; }
      i=$((i + 1))
    done
    echo -1
  }
  # Above the viewer once the window manager has stacked the new window (it may map it first).
  above_viewer() { [ "$(position "$1")" -gt "$(position "$viewer")" ]; }
  wait_for above_viewer "$files" || fail "the file dialog is below the viewer in the stacking order"
  echo "  stacking, bottom to top: $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//')" \
    "(viewer $(printf '0x%x' "$viewer"), file dialog $(printf '0x%x' "$files"))"
  # A base with unpaired points brings the question.
  xdo windowfocus --sync "$files" key ctrl+a
  xdotool type --delay 1 "$samples/head_base_near.obj"
  xdotool key Return
  # Whether the window manager manages window $1, so that it is in the stacking order: popups
  # such as the file name's completion list are transient too, but never managed.
  managed() { [ "$(position "$1")" -ge 0 ]; }
  # The question box is the one new managed transient window besides the dialog and the viewer.
  find_question() {
    local window
    for window in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
      [ "$window" = "$main" ] || [ "$window" = "$viewer" ] || [ "$window" = "$files" ] && continue
      xprop -id "$window" WM_TRANSIENT_FOR 2>/dev/null | grep -q 'window id' || continue
      managed "$window" || continue
      echo "$window"
      return 0
    done
    return 1
  }
  if wait_for find_question >/dev/null; then
    question=$(find_question)
    title=$(xprop -id "$question" _NET_WM_NAME WM_NAME 2>/dev/null)
    echo "  question box title: $title"
    # Nothing but blanks between the quotes of either name.
    ! grep -q '= "[^"]*[^" ][^"]*"' <<<"$title" ||
      fail "the question box shows a title: $title"
    wait_for above_viewer "$question" ||
      fail "the question box is below the viewer in the stacking order"
    xdo windowfocus --sync "$question" key Escape  # No
    question_gone() { ! xwininfo -id "$question" 2>/dev/null | grep -q IsViewable; }
    wait_for question_gone || fail "the question box did not close on Esc"
  else
    fail "the question box did not appear"
  fi
else
  fail "the file dialog of \"Open Base\" did not appear"
fi

xdo windowfocus --sync "$main" key alt+x
ended() { ! kill -0 "$program_pid" 2>/dev/null; }
wait_for ended || fail "the program did not end on Alt+X"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  cat "$work/program.log"
  exit 1
fi
echo "passed"
