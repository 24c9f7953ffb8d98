#!/bin/sh
# Whole-program figures, headless: the time from start to exit of a run whose
# first screen quits at once (median of 5, limit 0.5 s), the processor time an
# idle running game takes over 5 s (limit 5% of one core), and the processor
# time the main thread takes over 10 s while the game's own main menu stands
# still once its chocolates are in place (limit 5% of one core).
#
#   usage: bench/startup.sh [VANDERMOOT]    (default: build/vandermoot)

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../build/vandermoot}
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/startup-bench.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/quit/assets/scripts" "$work/idle/assets/scripts" "$work/player/assets/scripts" "$work/run"
echo 'PostMessage(CreateNamedMessage(5, "quit")) -- kQuitNow' >"$work/quit/assets/scripts/mainloop.lua"
echo '-- nothing happens until the program is ended' >"$work/idle/assets/scripts/mainloop.lua"
# A player, so that the game's own main loop opens on the main menu.
printf '%s\n' 'CreateNewUser("Bench")' 'PostMessage(CreateNamedMessage(5, "quit")) -- kQuitNow' \
    >"$work/player/assets/scripts/mainloop.lua"

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

hz=$(getconf CLK_TCK)

# Processor ticks of a process, or of one of its threads, so far.
ticks() { awk '{ print $14 + $15 }' "$1"; }

# Prints the share of one core that the stat file's owner takes over the
# given seconds, after a second to settle; fails above 5%.
measure() { # NAME STAT SECONDS
    sleep 1
    before=$(ticks "$2")
    sleep "$3"
    used=$(($(ticks "$2") - before))
    echo "$1: $used ticks of $(($3 * hz)) in $3 s, $(awk "BEGIN { printf \"%.1f\", $used * 100 / ($3 * $hz) }")% of one core (limit 5%)"
    [ $((used * 100)) -le $((5 * $3 * hz)) ] || failed=1
}

"$program" --multiple "-wd=$work/idle" &
pid=$!
measure idle "/proc/$pid/stat" 5
kill -TERM "$pid"
wait "$pid"

"$program" --multiple "-wd=$work/player" || { echo "making a player ended with $?" >&2; failed=1; }
# The offscreen window never has the focus, and without it frames come at
# most every 200 ms; a portal-hosted run ("-pq=") keeps the 12 ms interval of
# a focused window. The chocolates slide in during the first second.
"$program" --multiple -pq=bench &
pid=$!
measure "main menu, main thread" "/proc/$pid/task/$pid/stat" 10
kill -TERM "$pid"
wait "$pid"

exit $failed
