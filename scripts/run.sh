#!/usr/bin/env bash
# Builds Corvane.exe and starts it under a private Wine: on your display when
# there is one, else in a virtual X server, saving a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Corvane
exe=$root/build/windows/bin/Corvane.exe
echo "built $exe ($(stat -c %s "$exe") bytes)"

source scripts/wine-session.sh
trap wine_session_stop EXIT
if [ -n "${DISPLAY:-}" ]; then
  wine_session_start "$root/build/wine-run" 2>/dev/null
  echo "Corvane is running on $DISPLAY; close its window to end."
  wine "$exe" >/dev/null 2>&1 </dev/null
else
  WINE_SESSION_OWN_DISPLAY=1 wine_session_start "$root/build/wine-run" 2>/dev/null
  wine "$exe" >/dev/null 2>&1 </dev/null &
  pid=$!
  sleep 5
  shot=$root/build/screenshot.png
  import -display "$DISPLAY" -window root "$shot"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "No display here: Corvane ran in a virtual X server; its screen is in $shot"
fi
