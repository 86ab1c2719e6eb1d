#!/usr/bin/env bash
# The Windows zip as a first-time user opens it: every sample file that README-windows.txt
# names is in the zip beside it, the README writes the dialog's captions as they are shown
# (no "&" of the dialog's notation) and states the vertex limit, and calveth-cli.exe's help
# does not send the user to a Qt build for PNG pictures.
#
#   tests/windows/zip_check.sh ZIP CLI_EXE
# WINEPREFIX must name the build's Wine installation (for CLI_EXE --help).
set -euo pipefail
zip=$1
cli=$2

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

names=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
readme_name=$(grep -m1 '/README-windows.txt$' <<<"$names") || { fail "no README-windows.txt in $zip"; exit 1; }
folder=${readme_name%README-windows.txt}
readme=$(python3 -c 'import sys, zipfile; sys.stdout.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]).decode())' \
  "$zip" "$readme_name" | tr -d '\r')

named=$(grep -oE 'samples\\[A-Za-z0-9_]+\.obj' <<<"$readme" | sort -u)
[ -n "$named" ] || fail "README-windows.txt names no sample file"
for sample in $named; do
  file=${sample#samples\\}
  grep -qxF "${folder}samples/$file" <<<"$names" && pass "the zip holds samples/$file" ||
    fail "README-windows.txt names $sample, which is not in the zip"
done

if grep -nE '"[^"]*&[^"]*"' <<<"$readme"; then
  fail "README-windows.txt writes a caption with the dialog's '&' (lines above)"
else
  pass "README-windows.txt writes the captions as they are shown"
fi
grep -q '40000 vertices' <<<"$readme" && pass "README-windows.txt states the 40000-vertex limit" ||
  fail "README-windows.txt does not state the 40000-vertex limit"

help=$(wine "$cli" --help 2>&1 | tr -d '\r')
grep -q 'PNG image' <<<"$help" || fail "calveth-cli.exe --help does not mention PNG pictures"
if grep -q 'Qt' <<<"$help"; then
  fail "calveth-cli.exe --help sends the user to a Qt build: $(grep 'Qt' <<<"$help")"
else
  pass "calveth-cli.exe --help offers PNG pictures without Qt"
fi

echo "Windows zip: $failures failure(s)"
exit $((failures > 0))
