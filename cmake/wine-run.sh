#!/bin/sh
# wine-run.sh WINE PROGRAM [ARGS...]: runs a Windows test program under Wine for ctest. Its output
# goes through a file: what Wine starts on the side (its services, the desktop process) keeps the
# descriptors it inherits and would keep ctest waiting for the end of a pipe.
#
# A test program writes before anything can go wrong in it: Google Test's header (or the list of
# tests) comes first. One that ends without a byte never ran its main: Wine did not start it. That
# happened once in a whole run (a test "failed" in 0.03 s with no output) and a Wine crash report
# is hidden by WINEDEBUG=-all, so such a start is logged ($YALMERA_WINE_START_LOG, which
# scripts/windows shows) and tried once more. A program that wrote anything, passing or failing, is
# never run again; one that stays silent twice fails, even with status 0, as it tested nothing.
out=$(mktemp) || exit 1
trap 'rm -f "$out"' EXIT
"$@" >"$out" 2>&1
status=$?
if [ ! -s "$out" ]; then
  note="status $status without output: $*"
  [ -n "${YALMERA_WINE_START_LOG:-}" ] && echo "$(date '+%F %T') $note" >>"$YALMERA_WINE_START_LOG"
  "$@" >"$out" 2>&1
  status=$?
  if [ ! -s "$out" ]; then
    echo "wine-run.sh: ended twice with no output (status $status): Wine did not start $2" >&2
    exit $((status == 0 ? 1 : status))
  fi
  echo "wine-run.sh: the first start ended with $note; started again"
fi
cat "$out"
exit $status
