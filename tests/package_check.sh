#!/bin/sh
# Looks inside the Debian package in the build folder given as the only argument: the files
# it must hold, its dependencies, and the command-line program run from an unpacked copy.
set -eu

build=${1:?usage: package_check.sh <build folder>}
deb=$(ls "$build"/calveth_*.deb | head -n 1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

echo "package: $deb"
dpkg-deb -c "$deb" > "$root/contents"
for path in ./usr/bin/calveth-cli ./usr/share/applications/calveth.desktop \
            ./usr/share/doc/calveth/README.md; do
  grep -q " $path\$" "$root/contents" || { echo "missing: $path"; exit 1; }
done
for size in 16 32 48 64 128 256; do
  path=./usr/share/icons/hicolor/${size}x${size}/apps/calveth.png
  grep -q " $path\$" "$root/contents" || { echo "missing: $path"; exit 1; }
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in
  *libc6*) ;;
  *) echo "the dependencies were not worked out (dpkg-shlibdeps)"; exit 1 ;;
esac
[ "$(dpkg-deb -f "$deb" Section)" = graphics ] || { echo "wrong section"; exit 1; }

dpkg-deb -x "$deb" "$root/unpacked"
"$root/unpacked/usr/bin/calveth-cli" --help > "$root/help" 2>&1 || {
  echo "calveth-cli --help failed:"; cat "$root/help"; exit 1; }
head -n 3 "$root/help"
# The desktop program, when the build has it: started without a display, it must come up
# (libraries found, dialog shown) and keep running until it is stopped.
if [ -e "$build/calveth" ]; then
  grep -q " ./usr/bin/calveth\$" "$root/contents" || { echo "missing: ./usr/bin/calveth"; exit 1; }
  QT_QPA_PLATFORM=offscreen "$root/unpacked/usr/bin/calveth" > "$root/gui.log" 2>&1 &
  gui=$!
  sleep 2
  if ! kill -0 "$gui" 2>/dev/null; then
    echo "the desktop program ended at once:"; cat "$root/gui.log"; exit 1
  fi
  kill "$gui"
  echo "desktop program: /usr/bin/calveth started and ran"
fi
echo "package check passed"
