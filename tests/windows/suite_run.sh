#!/usr/bin/env bash
# The cross-built GoogleTest suite under Wine, on a virtual display of its own (the dialog's
# tests create windows), within a time limit: a run that does not end within SECONDS is
# ended and fails, saying so.
#
#   tests/windows/suite_run.sh BUILD_DIR SECONDS [GTEST_ARGS...]
# WINEPREFIX must name the build's Wine installation.
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=$2
shift 2
: "${WINEPREFIX:?WINEPREFIX must be set}"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and writes it to the given descriptor.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
end=$(($(date +%s) + 10))
until [ -s "$work/display" ]; do
  if [ "$(date +%s)" -ge "$end" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "FAIL: waited 10 s in vain for Xvfb to report its display"
    cat "$work/xvfb.log"
    exit 1
  fi
  sleep 0.05
done
export DISPLAY=":$(head -n 1 "$work/display")"

cd "$build" || exit 1
timeout --kill-after=10 "$seconds" wine tests/calveth-tests.exe "$@"
status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "FAIL: the Windows test suite under Wine did not end within $seconds s"
fi
exit "$status"
