#!/usr/bin/env bash
# Runs every test on a Debian 12 machine, installing what it lacks: lint,
# the logic's tests natively (ASan, UBSan), a short run of each fuzz target,
# the logic's and the Win32 tests cross-built and run under Wine, and the
# end-to-end tests and soak that drive the real Corvane.exe, at 96 DPI and
# (without the soak) at 144 DPI. Ends with "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh || exit 1

step() { printf '\n== %s\n' "$*"; }
step "build"
{ cmake --preset native >/dev/null && cmake --build --preset native &&
  cmake --preset windows >/dev/null && cmake --build --preset windows; } || { echo "build failed"; exit 1; }

results=$root/build/test-results
rm -rf "$results"; mkdir -p "$results"
passed=0; failed=0; broken=()

# run_suite NAME COMMAND...: runs a GoogleTest program and adds up its counts.
run_suite() {
  local name=$1; shift
  local log=$results/$name.log
  step "$name"
  "$@" >"$log" 2>&1 </dev/null
  local rc=$?
  local p f
  p=$(grep -aoE '^\[  PASSED  \] [0-9]+ test' "$log" | grep -oE '[0-9]+' | tail -n1)
  f=$(grep -aoE '^\[  FAILED  \] [0-9]+ test' "$log" | grep -oE '[0-9]+' | tail -n1)
  passed=$((passed + ${p:-0})); failed=$((failed + ${f:-0}))
  grep -aE '^\[  (FAILED|SKIPPED) ' "$log" | sort -u
  grep -aE '^\[==========\] [0-9]+ tests? from' "$log" | tail -n1
  if [ $rc -ne 0 ] && [ -z "$f" ]; then
    broken+=("$name (exit $rc)"); failed=$((failed + 1))
    tail -n 30 "$log"
  elif [ -n "$f" ]; then
    grep -aB2 -A12 'Failure$' "$log" | head -n 80
  fi
}

step "imports"
bash scripts/check-imports.sh build/windows/bin/Corvane.exe || broken+=("imports")

step "package"
# The release holds exactly the executable that the tests below run.
if bash scripts/package.sh >"$results/package.log" 2>&1 && (cd dist && sha256sum -c SHA256SUMS) &&
  python3 -c 'import sys, zipfile
sys.exit(zipfile.ZipFile(sys.argv[1]).read("Corvane.exe") != open(sys.argv[2], "rb").read())' \
    dist/Corvane-1.00-win-x64.zip build/windows/bin/Corvane.exe; then
  echo "dist/Corvane-1.00-win-x64.zip holds the tested Corvane.exe"
else
  tail -n 20 "$results/package.log"; broken+=("package")
fi

run_suite native build/native/corvane_unit_tests

step "fuzz"
while read -r line; do
  echo "$line"
  case $line in *" ok, "*) passed=$((passed + 1)) ;; *FAILED*) failed=$((failed + 1)) ;; esac
done < <(bash scripts/fuzz.sh --seconds 15)

step "lint"
bash scripts/lint.sh || broken+=("lint")

source scripts/wine-session.sh
probe_pid=
cleanup() {
  [ -n "$probe_pid" ] && { touch "$root/build/wine/probe/stop"; kill "$probe_pid" 2>/dev/null; wait "$probe_pid" 2>/dev/null; }
  wine_session_stop
}
trap cleanup EXIT
step "wine"
WINE_SESSION_OWN_DISPLAY=1 wine_session_start "$root/build/wine" 2>/dev/null
wine_session_dpi 96
wine_session_recorder "$root/build/windows/bin/recorder.exe"
rm -rf "$root/build/wine/probe"; mkdir -p "$root/build/wine/probe"
python3 tests/e2e/cursor_probe.py "$root/build/wine/probe" &
probe_pid=$!
export CORVANE_PROBE_DIR; CORVANE_PROBE_DIR=$(winepath -w "$root/build/wine/probe")

bin=build/windows/bin
export CORVANE_TEST_DPI=96
run_suite windows-unit wine $bin/corvane_unit_tests.exe
run_suite windows-win32 wine $bin/corvane_win_tests.exe
run_suite end-to-end wine $bin/corvane_e2e_tests.exe

wine_session_dpi 144
export CORVANE_TEST_DPI=144
run_suite windows-win32-144dpi wine $bin/corvane_win_tests.exe --gtest_filter='*Form1Test.*:Promotion.*'
run_suite end-to-end-144dpi wine $bin/corvane_e2e_tests.exe \
  --gtest_filter='StartUp.*:Promotion.*:Label.ThePicture*:PickTest.EachDownKey*'
wine_session_dpi 96

cleanup; probe_pid=; trap - EXIT
step "summary"
[ ${#broken[@]} -gt 0 ] && printf 'broken: %s\n' "${broken[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
