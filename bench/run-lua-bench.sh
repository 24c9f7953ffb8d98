#!/bin/sh
# Runs the interpreter benchmarks with our scriptrun and with Debian's lua5.1,
# one after the other per script, and prints each script's times and the
# ratio ours / lua5.1 (below 1 means we are faster).
#
#   usage: bench/run-lua-bench.sh [SCRIPTRUN]    (default: build/scriptrun)
#
# lua5.1 is needed only here: apt-get install lua5.1

here=$(cd "$(dirname "$0")" && pwd)
ours=${1:-$here/../build/scriptrun}
case $ours in
    /*) ;;
    *) ours=$(pwd)/$ours ;;
esac
reference=$(command -v lua5.1) || { echo "lua5.1 not found (apt-get install lua5.1)" >&2; exit 2; }
[ -x "$ours" ] || { echo "no interpreter at $ours" >&2; exit 2; }

benchdir=$here/lua-bench
work=$(mktemp -d "${TMPDIR:-/tmp}/lua-bench.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT

# Runs one benchmark through lua-bench/run.sh (so its checksum is checked)
# and prints "seconds result".
time_one() {
    interp=$1
    name=$2
    # run.sh runs every script listed in checksums.txt: give it just this one.
    mkdir -p "$work/$name"
    cp "$benchdir/run.sh" "$benchdir/$name.lua" "$work/$name/"
    grep "^$name	" "$benchdir/checksums.txt" >"$work/$name/checksums.txt"
    sh "$work/$name/run.sh" "$interp" | awk '{ print $2, $4 }'
}

printf '%-14s %10s %10s %8s  %s\n' script scriptrun lua5.1 ratio checksums
cut -f1 "$benchdir/checksums.txt" | while read -r name; do
    set -- $(time_one "$ours" "$name")
    ours_time=$1 ours_result=$2
    set -- $(time_one "$reference" "$name")
    ref_time=$1 ref_result=$2
    ratio=$(awk -v a="$ours_time" -v b="$ref_time" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
    printf '%-14s %9ss %9ss %8s  %s/%s\n' "$name" "$ours_time" "$ref_time" "$ratio" "$ours_result" "$ref_result"
done
