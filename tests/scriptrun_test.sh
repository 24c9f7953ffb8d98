#!/bin/sh
# Checks the scriptrun runner: standard input, script arguments, and uncaught
# errors reported as "lua: message" on stderr with exit status 1.
#
#   usage: scriptrun_test.sh SCRIPTRUN

run=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/scriptrun-test.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT
failed=0

# expect NAME EXPECTED-STATUS EXPECTED-STDOUT EXPECTED-STDERR COMMAND...
expect() {
    name=$1 status=$2 out=$3 err=$4
    shift 4
    "$@" >"$work/out" 2>"$work/err"
    actual=$?
    if [ "$actual" != "$status" ] || [ "$(cat "$work/out")" != "$out" ] || [ "$(cat "$work/err")" != "$err" ]; then
        echo "FAIL $name: status $actual, stdout [$(cat "$work/out")], stderr [$(cat "$work/err")]"
        failed=1
    fi
}

printf 'print("out") error("boom")\n' >"$work/raises.lua"
printf 'print(arg[0] == "%s", arg[1], arg[2], arg.n)\n' "$work/args.lua" >"$work/args.lua"

expect "stdin" 0 "3" "" sh -c "echo 'print(1 + 2)' | '$run' -"
expect "uncaught error" 1 "out" "lua: $work/raises.lua:1: boom" "$run" "$work/raises.lua"
expect "error object" 1 "" "lua: (error with no message)" sh -c "echo 'error({})' | '$run' -"
expect "error object with __tostring" 1 "" "lua: described" \
    sh -c "echo 'error(setmetatable({}, {__tostring = function() return \"described\" end}))' | '$run' -"
expect "syntax error" 1 "" "lua: stdin:1: unexpected symbol near \`='" sh -c "echo 'x = = 1' | '$run' -"
expect "arguments" 0 "true	a	b	2" "" "$run" "$work/args.lua" a b
expect "no file" 1 "" "usage: $run FILE [ARGS...]   (FILE \"-\" reads standard input)" "$run"
exit $failed
