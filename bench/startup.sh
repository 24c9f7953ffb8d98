#!/bin/sh
# Whole-program figures, headless: the time from start to exit of a run whose
# first screen quits at once (median of 5, limit 0.5 s), and the processor
# time an idle running game takes over 5 s (limit 5% of one core).
#
#   usage: bench/startup.sh [VANDERMOOT]    (default: build/vandermoot)

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../build/vandermoot}
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/startup-bench.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/quit/assets/scripts" "$work/idle/assets/scripts" "$work/run"
echo 'PostMessage(CreateNamedMessage(5, "quit")) -- kQuitNow' >"$work/quit/assets/scripts/mainloop.lua"
echo '-- nothing happens until the program is ended' >"$work/idle/assets/scripts/mainloop.lua"

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
export HOME="$work" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

failed=0

times=""
for run in 1 2 3 4 5; do
    start=$(now_ms)
    "$program" --multiple "-wd=$work/quit" || { echo "run $run ended with $?" >&2; failed=1; }
    times="$times $(($(now_ms) - start))"
done
median=$(echo $times | tr ' ' '\n' | sort -n | sed -n 3p)
echo "start to exit: median ${median} ms of${times} ms (limit 500 ms)"
[ "$median" -le 500 ] || failed=1

"$program" --multiple "-wd=$work/idle" &
pid=$!
sleep 1
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(ticks)
sleep 5
after=$(ticks)
kill -TERM "$pid"
wait "$pid"
hz=$(getconf CLK_TCK)
used=$((after - before))
echo "idle: $used ticks of $((5 * hz)) in 5 s, $(awk "BEGIN { printf \"%.1f\", $used * 100 / (5 * $hz) }")% of one core (limit 5%)"
[ $((used * 100)) -le $((5 * 5 * hz)) ] || failed=1

exit $failed
