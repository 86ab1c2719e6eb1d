#!/bin/sh
# The browser tests: tests/web/page_test.js in Debian's Chromium through playwright-core.
#
# tests/web/run.sh BUILD_DIR SITE_DIR NODE_DEPS_DIR
# Skips (exit 77) when Node, Chromium, the site or playwright-core is missing, except in CI
# (CI=true), where a missing piece is a failure. playwright-core is installed by
# `make web-node-deps` into NODE_DEPS_DIR (build-web/node-deps), pinned by package-lock.json;
# this script installs nothing, and no browser is ever downloaded.
set -eu
build=$(cd "$1" && pwd)
site=$2
node_deps=$3
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
[ -d "$node_deps/node_modules/playwright-core" ] ||
  missing "playwright-core is not in $node_deps (make web-node-deps)"
out="$build/web-test-out"
rm -rf "$out"
NODE_PATH="$(cd "$node_deps" && pwd)/node_modules" exec node "$here/page_test.js" "$build/calveth-cli" "$site" \
  "$root/samples" "$out" ${CALVETH_WEB_SCREENSHOT:-}
