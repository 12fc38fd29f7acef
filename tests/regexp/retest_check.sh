#!/bin/sh
# Runs the driver and compares its whole output and exit status: retest_check.sh STATUS EXPECTED PROGRAM ARGS...
want_status=$1
want=$(printf '%b' "$2")
shift 2
got=$("$@")
status=$?
if [ "$got" != "$want" ] || [ "$status" -ne "$want_status" ]; then
  printf 'expected (status %s):\n%s\ngot (status %s):\n%s\n' "$want_status" "$want" "$status" "$got"
  exit 1
fi
