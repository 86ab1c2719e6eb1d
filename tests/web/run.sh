#!/bin/sh
# The browser tests: tests/web/page_test.js in Debian's Chromium through playwright-core.
#
# tests/web/run.sh BUILD_DIR SITE_DIR
# Skips (exit 77) when Node, Chromium or the site is missing, except in CI (CI=true), where
# a missing piece is a failure. playwright-core comes from package-lock.json (npm ci) and
# never downloads a browser.
set -eu
build=$(cd "$1" && pwd)
site=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
chromium=${CALVETH_CHROMIUM:-/usr/bin/chromium}

missing() {
  if [ "${CI:-}" = true ]; then
    echo "browser tests: $1 (required in CI)" >&2
    exit 1
  fi
  echo "browser tests skipped: $1"
  exit 77
}

command -v node >/dev/null 2>&1 || missing "node is not installed (apt-get install nodejs npm)"
[ -x "$chromium" ] || missing "$chromium is not installed (apt-get install chromium)"
[ -f "$site/index.html" ] && [ -f "$site/calveth.js" ] || missing "no page in $site (make web)"
if [ ! -d "$root/node_modules/playwright-core" ]; then
  command -v npm >/dev/null 2>&1 || missing "npm is not installed"
  (cd "$root" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund) ||
    missing "npm ci could not install playwright-core"
fi
out="$build/web-test-out"
rm -rf "$out"
NODE_PATH="$root/node_modules" exec node "$here/page_test.js" "$build/calveth-cli" "$site" \
  "$root/samples" "$out" ${CALVETH_WEB_SCREENSHOT:-}
