#!/bin/sh
# Runs one test of a test program and passes only when the program ends with
# status 0 and reports that test skipped, with its reason.
#
#   usage: skipped_test.sh PROGRAM TEST

if [ $# -ne 2 ]; then
    echo "usage: $0 PROGRAM TEST" >&2
    exit 2
fi
output=$("$1" --gtest_filter="$2" 2>&1)
status=$?
echo "$output"
if [ $status -ne 0 ]; then
    echo "FAIL: $2 ended the program with status $status"
    exit 1
fi
if ! echo "$output" | grep -q "SKIPPED \] $2\$"; then
    echo "FAIL: $2 was not reported skipped"
    exit 1
fi
