#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each from the committed seed corpus.
#   fuzz.sh --seconds N     each target for N seconds (the test command)
#   fuzz.sh --runs N        each target for N executions (the bench command)
# A crash is written to build/fuzz/crashes/ and fails the run.
set -uo pipefail
cd "$(dirname "$0")/.."
limit=("-max_total_time=${2:-15}")
[ "${1:-}" = --runs ] && limit=("-runs=${2:-1000000}")
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || { echo "fuzz: build failed"; exit 1; }
mkdir -p build/fuzz/crashes
status=0
for target in request_fuzzer geturl_fuzzer jpeg_fuzzer; do
  corpus=build/fuzz/corpus-${target%_fuzzer}
  mkdir -p "$corpus"
  log=build/fuzz/$target.log
  if build/fuzz/fuzz/$target "${limit[@]}" -artifact_prefix=build/fuzz/crashes/ \
       "$corpus" "fuzz/corpus/${target%_fuzzer}" >"$log" 2>&1; then
    runs=$(grep -oE 'Done [0-9]+ runs' "$log" | grep -oE '[0-9]+' | tail -n1)
    # Coverage points of the code under test that the corpus reaches.
    cov=$(grep -oE 'cov: [0-9]+' "$log" | grep -oE '[0-9]+' | tail -n1)
    echo "fuzz: $target ok, ${runs:-?} executions, coverage ${cov:-?}"
  else
    echo "fuzz: $target FAILED"; tail -n 30 "$log"; status=1
  fi
done
exit $status
