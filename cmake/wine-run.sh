#!/bin/sh
# wine-run.sh WINE PROGRAM [ARGS...]: runs a Windows test program under Wine for ctest. Its output
# goes through a file: what Wine starts on the side (its services, the desktop process) keeps the
# descriptors it inherits and would keep ctest waiting for the end of a pipe.
out=$(mktemp) || exit 1
"$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit $status
