#!/bin/sh
# The scenario table (tests/scenarios/dialog_runs.txt) against the page in one browser engine:
# tests/web/scenario_driver.js through tests/web/engines.js.
#
# tests/web/run_scenarios.sh ENGINE BUILD_DIR SITE_DIR NODE_DEPS_DIR
# ENGINE: chromium (Debian's chromium, playwright-core), firefox (firefox-esr, puppeteer-core
# over WebDriver BiDi) or webkit (webkit2gtk-driver's WebKitWebDriver and MiniBrowser,
# selenium-webdriver, on a virtual display from xvfb-run). Skips (exit 77) when Node, the
# browser, the site or the npm packages are missing, except in CI (CI=true), where a missing
# piece is a failure. The npm packages come from `make web-node-deps` (build-web/node-deps,
# pinned by package-lock.json); this script installs nothing and no browser is downloaded.
# CALVETH_WEB_SCREENSHOT=FILE leaves a picture of the page there.
set -eu
engine=$1
build=$(cd "$2" && pwd)
site=$3
node_deps=$4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

missing() {
  if [ "${CI:-}" = true ]; then
    echo "browser scenarios in $engine: $1 (required in CI)" >&2
    exit 1
  fi
  echo "browser scenarios in $engine skipped: $1"
  exit 77
}

needs_browser() {
  [ -x "$1" ] || missing "$1 is not installed (apt-get install $2)"
}
display=
case $engine in
  chromium) needs_browser "${CALVETH_CHROMIUM:-/usr/bin/chromium}" chromium ;;
  firefox) needs_browser "${CALVETH_FIREFOX:-/usr/bin/firefox-esr}" firefox-esr ;;
  webkit)
    needs_browser /usr/bin/WebKitWebDriver webkit2gtk-driver
    needs_browser "${CALVETH_MINIBROWSER:-/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser}" \
      webkit2gtk-driver
    command -v xvfb-run >/dev/null 2>&1 || missing "xvfb-run is not installed (apt-get install xvfb xauth)"
    display=xvfb ;;
  *) echo "unknown engine $engine (chromium, firefox or webkit)" >&2; exit 2 ;;
esac
command -v node >/dev/null 2>&1 || missing "node is not installed (apt-get install nodejs npm)"
[ -x "$build/calveth-cli" ] || missing "no $build/calveth-cli"
[ -f "$site/index.html" ] && [ -f "$site/calveth.js" ] || missing "no page in $site (make web)"
for package in playwright-core puppeteer-core selenium-webdriver pngjs; do
  [ -d "$node_deps/node_modules/$package" ] || missing "$package is not in $node_deps (make web-node-deps)"
done
out="$build/web-scenarios-$engine"
rm -rf "$out"
export NODE_PATH="$(cd "$node_deps" && pwd)/node_modules"
set -- node "$here/scenario_driver.js" "$engine" "$build/calveth-cli" "$site" "$root/tests/scenarios" \
  "$root/samples" "$out"
[ -z "${CALVETH_WEB_SCREENSHOT:-}" ] || set -- "$@" --screenshot "$CALVETH_WEB_SCREENSHOT"
if [ -n "$display" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
fi
exec "$@"
