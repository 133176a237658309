#!/usr/bin/env bash
# Runs every test on a Debian 12 machine, installing what it lacks: the
# import check and the release package, lint, a short run of each fuzz
# target, then CTest: the logic's tests natively (ASan, UBSan), and under
# Wine the logic's and the Win32 tests and the end-to-end tests and soak that
# drive the real Corvane.exe, at 96 DPI and (without the soak) at 144 DPI,
# under Debian 12's Wine 8 and again under Debian 13's Wine 10.
# Ends with "N passed, N failed", counting CTest's tests (one for each
# GoogleTest case) and fuzz targets.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh || exit 1

step() { printf '\n== %s\n' "$*"; }
step "build"
{ cmake --preset native >/dev/null && cmake --build --preset native &&
  cmake --preset windows >/dev/null && cmake --build --preset windows; } || { echo "build failed"; exit 1; }

results=$root/build/test-results
rm -rf "$results"
mkdir -p "$results"
passed=0; failed=0; broken=()

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

# run_ctest PRESET: runs the preset's tests, printing CTest's summary.
run_ctest() {
  local log=$results/ctest-$1.log
  step "ctest --preset $1"
  ctest --preset "$1" --output-junit "$results/junit-$1.xml" >"$log" 2>&1 </dev/null
  report_ctest "$log" $? "ctest --preset $1"
}

run_ctest native

source scripts/wine-session.sh
trap wine_session_stop EXIT
step "wine"
wine_session_start_tests "$root/build/wine" "$root/build/windows/bin"
run_ctest windows
wine_session_stop; trap - EXIT

# The same Windows tests under Debian 13's Wine 10, which has Windows 10
# functions Wine 8 lacks. Where its chroot cannot be made, this fails.
step "ctest --preset windows under Wine 10 (a Debian 13 chroot)"
bash scripts/wine10-chroot.sh "$results" </dev/null
report_ctest "$results/ctest-wine10.log" $? "ctest --preset windows under Wine 10"

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
passed=$((passed + ${p:-0})); failed=$((failed + ${f:-0}))
echo "CTest: ${p:-0} passed, ${f:-0} failed, ${s:-0} skipped"
# A step that failed without a failed test (a build, lint, a crash in listing) counts once.
if [ ${#broken[@]} -gt 0 ]; then
  printf 'broken: %s\n' "${broken[@]}"
  [ "${f:-0}" -eq 0 ] && failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
