#!/bin/bash
# Instruction counts (valgrind's callgrind, the same on every run) and wall times (median of 9
# runs, page cache warm) of calveth-cli on the generated 40000-vertex body parts, beside `cat`
# of the same bytes.
#
#   bench/instructions.sh CLI PARTS_DIR
#
# PARTS_DIR holds what make-bench-parts writes.
set -euo pipefail
cli=$1
parts=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Instructions of one process, in millions.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file="$out/callgrind.out" "$@" >/dev/null 2>"$out/log" || true
  local total
  total=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out/log")
  awk -v n="$total" 'BEGIN { printf "%8.1f M", n / 1e6 }'
}

# Inclusive instructions of one function in the last callgrind run, divided by the number of
# its calls (from the callers' counts), then that number of calls.
per_call() {
  local function=$1
  callgrind_annotate --tree=caller --inclusive=yes --threshold=100 "$out/callgrind.out" 2>/dev/null |
    awk -v f="$function" '
      /^ *$/ { calls = 0; next }
      /%\) +< / && match($0, /\([0-9,]+x\)/) {
        count = substr($0, RSTART + 1, RLENGTH - 3); gsub(",", "", count); calls += count; next
      }
      /%\) +\* / && index($0, f "(") > 0 && !done && calls > 0 {
        gsub(",", "", $1); printf "%6.0f  (%d calls)", $1 / calls, calls; done = 1
      }
      END { if (!done) printf "     -" }'
}

# Median wall time of 9 runs in milliseconds; the command is a shell text.
wall() {
  local times=()
  for _ in 1 2 3 4 5 6 7 8 9; do
    local start end
    start=$(date +%s%N)
    bash -c "$1" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 5p | awk '{ printf "%6.1f ms", $1 / 1000 }'
}

line() { printf '%-58s %s\n' "$1" "$2"; }

for shape in tri quad; do
  base="$parts/${shape}_base.obj"
  mt="$parts/${shape}_mt.obj"
  vertices=$(grep -c '^v ' "$base")
  faces=$(grep -c '^f ' "$base")
  echo "== $shape: $(basename "$base"), $vertices v lines, $faces f lines, $(stat -c %s "$base") bytes"
  line "cat BASE" "$(instructions cat "$base")"
  line "calveth-cli analyze BASE" "$(instructions "$cli" analyze "$base")"
  line "  per v line read (parseVertexLine, inclusive)" "$(per_call parseVertexLine)"
  line "  per f line read (parseFaceLine, inclusive)" "$(per_call parseFaceLine)"
  line "calveth-cli mirror-l2r --with-faces -o OUT" \
    "$(instructions "$cli" mirror-l2r --base "$base" --mt "$mt" --with-faces -o "$out/new.obj")"
  line "calveth-cli mirror-l2r -o OUT (no faces)" \
    "$(instructions "$cli" mirror-l2r --base "$base" --mt "$mt" -o "$out/new.obj")"
done
line "calveth-cli --version" "$(instructions "$cli" --version)"

base="$parts/tri_base.obj"
mt="$parts/tri_mt.obj"
echo "== wall time, median of 9 runs (tri)"
cat_one=$(wall "cat '$base' >/dev/null")
analyze=$(wall "'$cli' analyze '$base'")
cat_two=$(wall "cat '$base' '$mt' > '$out/cat.obj'")
job=$(wall "'$cli' mirror-l2r --base '$base' --mt '$mt' --with-faces -o '$out/new.obj'")
line "cat BASE" "$cat_one"
line "calveth-cli analyze BASE" "$analyze"
line "cat BASE MT > OUT" "$cat_two"
line "calveth-cli mirror-l2r --with-faces -o OUT" "$job"
