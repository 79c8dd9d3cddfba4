#!/bin/sh
# wine_run_test.sh WINE-RUN: cmake/wine-run.sh with stand-ins for Wine that count their starts.
run=$1
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# stand_in NAME SCRIPT: a "wine" that keeps the number of its start in $dir/NAME.count.
stand_in() {
  printf '#!/bin/sh\nn=$(( $(cat "%s/%s.count" 2>/dev/null || echo 0) + 1 ))\necho $n > "%s/%s.count"\n%s\n' \
    "$dir" "$1" "$dir" "$1" "$2" > "$dir/$1"
  chmod +x "$dir/$1"
}
starts() { cat "$dir/$1.count"; }

# expect CASE STATUS STARTS LOGGED: runs the stand-in CASE through wine-run.sh.
expect() {
  out=$(YALMERA_WINE_START_LOG="$dir/$1.log" "$run" "$dir/$1" test.exe 2>&1)
  status=$?
  [ "$status" -eq "$2" ] || fail "$1: status $status, not $2: $out"
  [ "$(starts "$1")" -eq "$3" ] || fail "$1: started $(starts "$1") times, not $3"
  if [ "$4" = logged ]; then
    grep -q "without output" "$dir/$1.log" 2>/dev/null || fail "$1: the silent start is not logged"
  elif [ -e "$dir/$1.log" ]; then
    fail "$1: logged though it wrote: $(cat "$dir/$1.log")"
  fi
}

stand_in passes 'echo "[  PASSED  ] 1 test."'
expect passes 0 1 quiet
stand_in fails 'echo "[  FAILED  ] 1 test."; exit 1'
expect fails 1 1 quiet
stand_in silent-then-passes '[ $n -gt 1 ] && echo "[  PASSED  ] 1 test." && exit 0; exit 5'
expect silent-then-passes 0 2 logged
stand_in silent-then-fails '[ $n -gt 1 ] && echo "[  FAILED  ] 1 test." && exit 1; exit 5'
expect silent-then-fails 1 2 logged
stand_in always-silent 'exit 0'
expect always-silent 1 2 logged
echo "wine-run.sh: 5 cases"
