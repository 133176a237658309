#!/usr/bin/env bash
# Fails when the executable imports a DLL or a function that Windows 7 SP1
# lacks. No list of functions is kept by hand: the Windows headers are
# preprocessed once for Windows 7 and once for the newest Windows, and the
# names that only the second declares are the newer ones, with the headers
# of the executable's own architecture (x64 or x86).
#   check-imports.sh EXE
set -euo pipefail
exe=$1
case $(x86_64-w64-mingw32-objdump -f "$exe") in
  *pei-x86-64*) triplet=x86_64-w64-mingw32 ;;
  *pei-i386*) triplet=i686-w64-mingw32 ;;
  *) echo "check-imports: $exe is neither an x64 nor an x86 Windows executable" >&2; exit 1 ;;
esac
cxx=$triplet-g++-posix
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Windows' own DLLs that Windows 7 SP1 has; anything else would have to ship beside us.
windows7_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll shell32.dll ole32.dll oleaut32.dll
  msvcrt.dll windowscodecs.dll advapi32.dll shlwapi.dll uxtheme.dll psapi.dll "

cat >"$work/all.cpp" <<'HEADERS'
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <uxtheme.h>
#include <wincodec.h>
#include <exdisp.h>
#include <ole2.h>
#include <psapi.h>
HEADERS
declared() { # _WIN32_WINNT, NTDDI_VERSION: every identifier the headers declare then
  "$cxx" -x c++ -E -P -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT="$1" \
    -DWINVER="$1" -DNTDDI_VERSION="$2" "$work/all.cpp" |
    grep -oE '\b[A-Za-z_][A-Za-z0-9_]*\b' | sort -u
}
declared 0x0601 0x06010000 >"$work/windows7"
declared 0x0A00 WDK_NTDDI_VERSION >"$work/newest"
comm -13 "$work/windows7" "$work/newest" >"$work/newer"
if ! grep -qx GetDpiForWindow "$work/newer"; then
  echo "check-imports: the header comparison found no newer functions; it cannot judge" >&2
  exit 1
fi

# "DLL name" then "function" for every import, from the import directory.
$triplet-objdump -p "$exe" | awk '
  /^\tDLL Name: / { dll = tolower($3); next }
  /^[A-Z]/ { dll = "" }
  dll != "" && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ { print dll, $3 }' >"$work/imports"

failed=0
for dll in $(cut -d' ' -f1 "$work/imports" | sort -u); do
  case $windows7_dlls in
    *" $dll "*) ;;
    *) echo "$exe imports $dll, which Windows 7 SP1 does not have"; failed=1 ;;
  esac
done
while read -r dll function; do
  if grep -qx "$function" "$work/newer"; then
    echo "$exe imports $function from $dll, which Windows 7 SP1 does not have"
    failed=1
  fi
done <"$work/imports"
echo "imports of $exe: $(cut -d' ' -f1 "$work/imports" | sort -u | tr '\n' ' ')($(wc -l <"$work/imports") functions)"
exit $failed
