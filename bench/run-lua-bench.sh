#!/bin/bash
# Runs the interpreter benchmarks with our scriptrun and with Debian's lua5.1
# and lua5.4, each interpreter in turn per round, every run pinned to one core,
# and prints each script's median CPU seconds and the ratios ours / theirs
# (below 1 means we are faster). Every run's checksum is checked.
#
#   usage: bench/run-lua-bench.sh [SCRIPTRUN [ROUNDS [CORE]]]
#          (defaults: build/scriptrun, 7 rounds, core 2)
#
# The references are needed only here: apt-get install lua5.1 lua5.4
# (a missing lua5.4 leaves its column out).

here=$(cd "$(dirname "$0")" && pwd)
ours=${1:-$here/../build/scriptrun}
rounds=${2:-7}
core=${3:-2}
case $ours in
    /*) ;;
    *) ours=$(pwd)/$ours ;;
esac
[ -x "$ours" ] || { echo "no interpreter at $ours" >&2; exit 2; }
lua51=$(command -v lua5.1) || { echo "lua5.1 not found (apt-get install lua5.1)" >&2; exit 2; }
lua54=$(command -v lua5.4)
command -v taskset >/dev/null || { echo "taskset not found (util-linux)" >&2; exit 2; }

benchdir=$here/lua-bench
work=$(mktemp -d "${TMPDIR:-/tmp}/lua-bench.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT

# Prints the user + system seconds of one pinned run of a script, to the
# millisecond (the shell's own timing); fails when its output is not the
# expected checksum line.
cpu_seconds() {
    interp=$1
    name=$2
    expected=$(grep "^$name	" "$benchdir/checksums.txt" | cut -f2)
    local TIMEFORMAT='%3U %3S'
    { time (cd "$benchdir" && taskset -c "$core" \
        "$interp" "$name.lua" >"$work/out" 2>&1 </dev/null); } 2>"$work/time" || return 1
    [ "$(cat "$work/out")" = "$expected" ] || return 1
    awk '{ printf "%.3f\n", $1 + $2 }' "$work/time"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'
}

printf '%-14s %9s %9s %9s %8s %8s\n' script scriptrun lua5.1 lua5.4 "vs 5.1" "vs 5.4"
bad=0
for name in $(cut -f1 "$benchdir/checksums.txt"); do
    : >"$work/ours" && : >"$work/lua51" && : >"$work/lua54"
    round=0
    while [ "$round" -lt "$rounds" ]; do
        for who in ours lua51 lua54; do
            eval "interp=\$$who"
            [ -n "$interp" ] || continue
            if ! cpu_seconds "$interp" "$name" >>"$work/$who"; then
                echo "$name: wrong output from $interp: $(cat "$work/out")" >&2
                bad=1
            fi
        done
        round=$((round + 1))
    done
    t_ours=$(median <"$work/ours")
    t_51=$(median <"$work/lua51")
    if [ -n "$lua54" ]; then t_54=$(median <"$work/lua54"); else t_54=-; fi
    printf '%-14s %8ss %8ss %8ss %8s %8s\n' "$name" "$t_ours" "$t_51" "$t_54" \
        "$(ratio "$t_ours" "$t_51")" "$(ratio "$t_ours" "$t_54")"
done
exit $bad
