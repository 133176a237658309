#!/usr/bin/env bash
# CTest's emulator for the Windows test programs: runs one under Wine in the
# test session that scripts/test.sh started (its prefix, X server, recorder
# and reference picture), with the desktop at the DPI the test asks for in
# CORVANE_TEST_DPI. Run without such a session, it starts one for this
# program and ends it afterwards.
#   wine-exec.sh PROGRAM.exe ARGS...
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-session.sh"
program=$1; shift
if [ -z "${WINE_SESSION_DIR:-}" ]; then
  trap wine_session_stop EXIT
  wine_session_start_tests "$here/../build/wine-ctest" "$(dirname "$program")" >/dev/null 2>&1
fi
dpi=${CORVANE_TEST_DPI:-96}
# (The restarted wineserver must not hold CTest's output open.) Listing the
# cases needs no particular DPI.
if [[ " $* " != *" --gtest_list_tests "* ]] &&
  [ "$(cat "$WINE_SESSION_DIR/dpi" 2>/dev/null)" != "$dpi" ]; then
  wine_session_dpi "$dpi" >/dev/null 2>&1
fi
# Wine's helper processes outlive the program and inherit its output: a file
# keeps CTest from waiting for them. The program writes Windows line ends.
log=$(mktemp "$WINE_SESSION_DIR/tmp/run.XXXXXX")
wine "$program" "$@" >"$log" 2>&1 </dev/null
status=$?
# A test program prints its first line as soon as it runs. Failing with no
# output at all, it never ran: Wine lost it while starting (seen right after
# the DPI switch restarted the wineserver). Warm the server up and run it
# once more; a program that ran and failed is never run again.
if [ $status -ne 0 ] && [ ! -s "$log" ]; then
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  wine "$program" "$@" >"$log" 2>&1 </dev/null
  status=$?
fi
tr -d '\r' <"$log"; rm -f "$log"
exit $status
