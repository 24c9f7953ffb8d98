#!/bin/sh
# Runs one case with the given interpreter from this folder and compares its
# stdout+stderr byte for byte with expected/NAME.out, showing the differing
# lines when they differ.
#
#   usage: runcase.sh INTERPRETER NAME

if [ $# -ne 2 ]; then
    echo "usage: $0 INTERPRETER NAME" >&2
    exit 2
fi
interp=$1
name=$2
cd "$(dirname "$0")" || exit 2

actual=$(mktemp "${TMPDIR:-/tmp}/lua-case-$name.XXXXXX") || exit 2
trap 'rm -f "$actual"' EXIT
timeout "${LUA_CASE_TIMEOUT:-60}" "$interp" "cases/$name.lua" </dev/null >"$actual" 2>&1
status=$?
if [ $status -ge 124 ]; then
    echo "$name: the interpreter crashed or timed out (exit status $status)"
    cat "$actual"
    exit 1
fi
if ! cmp -s "$actual" "expected/$name.out"; then
    echo "$name: output differs from expected/$name.out (exit status $status)"
    diff -u "expected/$name.out" "$actual"
    exit 1
fi
exit 0
