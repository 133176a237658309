#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and Wine need, when missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
  clang clang-format clang-tidy libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix wine wine64 xvfb x11-utils fonts-wqy-zenhei fonts-wine locales
  imagemagick python3 git bc debootstrap
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
