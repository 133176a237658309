#!/usr/bin/env bash
# clang-format and clang-tidy over the project; any finding fails.
# Expects the native, windows and windows-x86 presets configured, and the
# fuzz preset for the fuzz targets (scripts/test.sh does them all first). The
# Windows code is read as x64 and again as x86, where pointers and longs are
# the same size and conversions that x64 keeps apart meet.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"

tidy() { # preset, files...
  local preset=$1; shift
  local extra=() triplet=""
  case $preset in
    windows) triplet=x86_64-w64-mingw32 ;;
    windows-x86) triplet=i686-w64-mingw32 ;;
  esac
  if [ -n "$triplet" ]; then
    # clang finds MinGW's C headers itself, but not GCC's C++ library.
    local mingw_cxx=/usr/lib/gcc/$triplet/12-posix/include/c++
    extra=(--extra-arg=-isystem$mingw_cxx --extra-arg=-isystem$mingw_cxx/$triplet
           --extra-arg=-isystem$mingw_cxx/backward)
  fi
  printf '%s\n' "$@" | xargs -P "$(nproc)" -n 4 clang-tidy -p "build/$preset" --quiet "${extra[@]}" 2>&1 |
    grep -vE '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' || true
}
native=$(git ls-files 'src/address_reader/*.cpp' 'src/translation/*.cpp' 'src/picture/*.cpp' 'tests/unit/*.cpp')
windows=$(git ls-files 'src/platform/win32/*.cpp' 'src/main_window/*.cpp' 'src/app/*.cpp' 'src/promotion/*.cpp' 'tests/support/*.cpp' 'tests/win/*.cpp' 'tests/e2e/*.cpp' 'bench/*.cpp')
fuzz=$(git ls-files 'fuzz/*.cpp')
findings=$( {
  tidy native $native
  tidy windows $windows
  tidy windows-x86 $windows
  if [ -f build/fuzz/compile_commands.json ]; then tidy fuzz $fuzz; fi
} )
if [ -n "$findings" ]; then
  echo "$findings"
  echo "clang-tidy: findings above" >&2
  exit 1
fi
echo "lint: clean"
