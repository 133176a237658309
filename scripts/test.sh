#!/usr/bin/env bash
# Runs every test on a Debian 12 machine, installing what it lacks: the
# import check and the release packages, lint, a short run of each fuzz
# target, then CTest: the logic's tests natively (ASan, UBSan), and under
# Wine the logic's and the Win32 tests and the end-to-end tests and soak that
# drive the real Corvane.exe, at 96 DPI and (without the soak) at 144 DPI,
# for the x64 and the x86 build, each under Debian 12's Wine 8 and again
# under Debian 13's Wine 10. Where this kernel runs no 32-bit code, the x86
# runs say why and count as skipped.
# Ends with "N passed, N failed, N skipped", counting CTest's tests (one for
# each GoogleTest case), fuzz targets and the runs that could not be made.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh || exit 1

step() { printf '\n== %s\n' "$*"; }
step "build"
{ cmake --preset native >/dev/null && cmake --build --preset native &&
  cmake --preset windows >/dev/null && cmake --build --preset windows &&
  cmake --preset windows-x86 >/dev/null && cmake --build --preset windows-x86; } ||
  { echo "build failed"; exit 1; }

results=$root/build/test-results
rm -rf "$results"
mkdir -p "$results"
passed=0; failed=0; broken=(); not_run=()
# The x86 build's programs run only where this kernel runs 32-bit code.
why_no_x86=$(bash scripts/runs-32-bit.sh) && why_no_x86=""
# not_running WHAT: a run that could not be made, said once and counted as skipped.
not_running() {
  echo "$1: not run: $why_no_x86"
  not_run+=("$1")
}

step "imports"
for exe in build/windows/bin/Corvane.exe build/windows-x86/bin/Corvane.exe; do
  bash scripts/check-imports.sh "$exe" || broken+=("imports of $exe")
done

step "package"
# Each release holds exactly the executable that the tests below run.
if bash scripts/package.sh >"$results/package.log" 2>&1 && (cd dist && sha256sum -c SHA256SUMS); then
  for arch in x64 x86; do
    bin=build/windows/bin
    [ $arch = x86 ] && bin=build/windows-x86/bin
    if python3 -c 'import sys, zipfile
sys.exit(zipfile.ZipFile(sys.argv[1]).read("Corvane.exe") != open(sys.argv[2], "rb").read())' \
      "dist/Corvane-1.00-win-$arch.zip" "$bin/Corvane.exe"; then
      echo "dist/Corvane-1.00-win-$arch.zip holds the tested $bin/Corvane.exe"
    else
      echo "dist/Corvane-1.00-win-$arch.zip does not hold $bin/Corvane.exe"; broken+=("package $arch")
    fi
  done
else
  tail -n 20 "$results/package.log"; broken+=("package")
fi

step "fuzz"
while read -r line; do
  echo "$line"
  case $line in *" ok, "*) passed=$((passed + 1)) ;; *FAILED*) failed=$((failed + 1)) ;; esac
done < <(bash scripts/fuzz.sh --seconds 15)

step "lint"
bash scripts/lint.sh || broken+=("lint")

# report_ctest LOG STATUS WHAT: prints CTest's summary from LOG and, where
# STATUS says it failed, the failures' own words, from the programs' output
# CTest kept.
report_ctest() {
  grep -aE '^ *[0-9]+/[0-9]+ Test +#|tests passed|tests failed' "$1"
  if [ "$2" -ne 0 ]; then
    grep -aB2 -A12 'Failure$' "$1" | head -n 80
    grep -aqE 'Failure$' "$1" || tail -n 40 "$1"
    broken+=("$3")
  fi
}

# run_ctest PRESET [WHAT]: runs the preset's tests, printing CTest's summary.
run_ctest() {
  local log=$results/ctest-$1.log
  step "ctest --preset $1${2:+ $2}"
  ctest --preset "$1" --output-junit "$results/junit-$1.xml" >"$log" 2>&1 </dev/null
  report_ctest "$log" $? "ctest --preset $1${2:+ $2}"
}

run_ctest native

# The Windows tests under Debian 12's Wine 8, each build in a prefix of its own.
source scripts/wine-session.sh
trap wine_session_stop EXIT
wine_session_start_tests "$root/build/wine" "$root/build/windows/bin"
run_ctest windows "under Wine 8"
wine_session_stop
if [ -z "$why_no_x86" ]; then
  wine_session_start_tests "$root/build/wine-x86" "$root/build/windows-x86/bin"
  run_ctest windows-x86 "under Wine 8"
  wine_session_stop
else
  step "ctest --preset windows-x86 under Wine 8"
  not_running "ctest --preset windows-x86 under Wine 8"
fi
trap - EXIT

# The same under Debian 13's Wine 10, which has Windows 10 functions Wine 8
# lacks. Where its chroot cannot be made, this fails.
for preset in windows windows-x86; do
  what="ctest --preset $preset under Wine 10 (a Debian 13 chroot)"
  step "$what"
  if [ $preset = windows-x86 ] && [ -n "$why_no_x86" ]; then
    not_running "$what"
    continue
  fi
  bash scripts/wine10-chroot.sh "$results" "$preset" </dev/null
  report_ctest "$results/ctest-wine10-$preset.log" $? "$what"
done

step "summary"
# CTest's own results, case by case.
counts=$(python3 - "$results"/junit-*.xml <<'PY'
import sys
import xml.etree.ElementTree as ET
passed = failed = skipped = 0
for path in sys.argv[1:]:
    for case in ET.parse(path).getroot().iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.find("skipped") is not None or case.get("status") in ("notrun", "disabled"):
            skipped += 1
        else:
            passed += 1
print(passed, failed, skipped)
PY
)
read -r p f s <<<"$counts"
passed=$((passed + ${p:-0})); failed=$((failed + ${f:-0})); skipped=$((${s:-0} + ${#not_run[@]}))
echo "CTest: ${p:-0} passed, ${f:-0} failed, ${s:-0} skipped"
for what in "${not_run[@]}"; do echo "not run, counted as skipped: $what"; done
# A step that failed without a failed test (a build, lint, a crash in listing) counts once.
if [ ${#broken[@]} -gt 0 ]; then
  printf 'broken: %s\n' "${broken[@]}"
  [ "${f:-0}" -eq 0 ] && failed=$((failed + 1))
fi
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
