#!/usr/bin/env bash
# Prints Corvane's figures next to their floors and targets: address read,
# start-up, memory and footprint under Wine, then one million executions of
# each fuzz target. (The soak runs in the test command.) Also written to build/bench-results.txt.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows >/dev/null || { echo "build failed"; exit 1; }
out=$root/build/bench-results.txt
exec > >(tee "$out") 2>&1
echo "Corvane benchmarks, $(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"

exe=build/windows/bin/Corvane.exe
size=$(stat -c %s "$exe")
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {printf "%s ", tolower($3)}')
printf '%-34s %10d bytes (%.2f MiB)  target <= 1.00 MiB  %s\n' "size of Corvane.exe" "$size" \
  "$(echo "$size / 1048576" | bc -l)" "$([ "$size" -le 1048576 ] && echo met || echo MISSED)"
echo "imports: $imports"

source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start_tests "$root/build/wine" "$root/build/windows/bin" >/dev/null 2>&1
wine build/windows/bin/address_bench.exe 2>/dev/null </dev/null
wine build/windows/bin/startup_bench.exe 2>/dev/null </dev/null
# How long a pick holds the window while a handler reached through DDE starts.
# (Wine's output goes to a file: its helper processes can hold a pipe open.)
wine build/windows/bin/corvane_e2e_tests.exe --gtest_filter='PickTest.AHandlerReachedThroughDde*' \
  >"$root/build/bench-dde.log" 2>&1 </dev/null
grep -a '^figure:' "$root/build/bench-dde.log" | sed 's/^figure: //'

wine_session_stop; trap - EXIT

bash scripts/fuzz.sh --runs 1000000
