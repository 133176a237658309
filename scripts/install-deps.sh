#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and Wine need, when missing;
# Wine for 32-bit programs (wine32:i386) only where this kernel runs 32-bit code.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
packages=(
  cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
  clang clang-format clang-tidy libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 xvfb x11-utils fonts-wqy-zenhei fonts-wine locales
  imagemagick python3 git bc debootstrap
)
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# On a kernel that runs no 32-bit code, wine32 stops 64-bit Wine too: Wine
# starts its 32-bit loader first. It is installed only after asking, and taken
# away where the kernel refuses it (a machine moved to such a kernel).
if why=$(bash "$here/runs-32-bit.sh"); then
  if ! installed wine32:i386; then
    echo "installing: wine32:i386 (this kernel runs 32-bit programs)"
    export DEBIAN_FRONTEND=noninteractive
    dpkg --add-architecture i386
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null
  fi
elif installed wine32:i386; then
  echo "removing wine32:i386: $why, and it would stop 64-bit Wine"
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq wine32:i386 >/dev/null
fi
