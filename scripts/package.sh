#!/usr/bin/env bash
# Builds Corvane.exe for x64 and for x86 and writes the release:
# dist/Corvane-1.00-win-x64.zip and dist/Corvane-1.00-win-x86.zip (each the
# executable and a short read-me) and dist/SHA256SUMS listing both. The same
# commit gives the same bytes on any machine: each executable is built a
# second time from a copy of the sources in another folder, and the two must
# be equal.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh
presets=(windows windows-x86)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Corvane >/dev/null
done

copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
tar --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -xf - -C "$copy"
for preset in "${presets[@]}"; do
  (cd "$copy" && cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" --target Corvane >/dev/null)
  if ! cmp -s "build/$preset/bin/Corvane.exe" "$copy/build/$preset/bin/Corvane.exe"; then
    echo "build/$preset/bin/Corvane.exe differs between two builds of the same sources" >&2
    exit 1
  fi
done

version=1.00
# The files' date in the zip is the commit's.
epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1767225600)
rm -rf dist
mkdir -p dist
zips=()
for preset in "${presets[@]}"; do
  arch=x64
  [ "$preset" = windows-x86 ] && arch=x86
  zip=Corvane-$version-win-$arch.zip
  for attempt in 1 2; do
    python3 - "dist/$zip.$attempt" "$epoch" "build/$preset/bin/Corvane.exe" resources/readme.txt <<'PY'
import sys, time, zipfile
target, epoch, *files = sys.argv[1:]
stamp = time.gmtime(int(epoch))[:6]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as z:
    for path in files:
        info = zipfile.ZipInfo(path.rsplit("/", 1)[-1], date_time=stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        info.create_system = 3
        with open(path, "rb") as f:
            z.writestr(info, f.read())
PY
  done
  cmp -s "dist/$zip.1" "dist/$zip.2" || { echo "$zip differs between two writes" >&2; exit 1; }
  mv "dist/$zip.1" "dist/$zip"; rm -f "dist/$zip.2"
  echo "dist/$zip ($(stat -c %s "dist/$zip") bytes), its Corvane.exe ($(stat -c %s "build/$preset/bin/Corvane.exe") bytes) the same in two builds"
  zips+=("$zip")
done
(cd dist && sha256sum "${zips[@]}" >SHA256SUMS)
cat dist/SHA256SUMS
