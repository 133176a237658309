#!/usr/bin/env bash
# Whether this machine's kernel runs 32-bit x86 programs: exits 0 if so,
# else 1, saying why in one line. A kernel may have 32-bit emulation turned
# off (ia32_emulation=off), and there installing wine32 breaks 64-bit Wine
# too, so nothing 32-bit is installed or run without asking this first.
# The probe is the smallest static 32-bit Linux program (an ELF header, one
# program header and exit(42) through int 0x80), written here byte by byte so
# that no 32-bit tool is needed to ask.
set -uo pipefail
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# ELF32 header: little-endian i386 executable, entry 0x08048054, one
# program header right after it.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
printf '\x00\x00\x00\x00' >>"$probe"
# PT_LOAD of the whole file (0x60 bytes) at 0x08048000, read and execute.
printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"
printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
# mov eax, 1 (exit); mov ebx, 42; int 0x80
printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >>"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
status=$?
if [ "$status" -eq 42 ]; then
  exit 0
fi
if [ "$status" -eq 126 ]; then
  echo "this machine's kernel runs no 32-bit programs (32-bit emulation is off: Exec format error)"
else
  echo "this machine's kernel did not run a 32-bit program as it should (it exited with $status, not 42)"
fi
exit 1
