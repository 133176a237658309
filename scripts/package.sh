#!/usr/bin/env bash
# Builds Corvane.exe and writes the release: dist/Corvane-1.00-win-x64.zip
# (the executable and a short read-me) and dist/SHA256SUMS.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Corvane >/dev/null
version=1.00
zip=Corvane-$version-win-x64.zip
rm -rf dist
mkdir -p dist
# Fixed dates and order, so the same executable always gives the same zip.
python3 - "dist/$zip" build/windows/bin/Corvane.exe resources/readme.txt <<'PY'
import sys, zipfile
target, *files = sys.argv[1:]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as z:
    for path in files:
        info = zipfile.ZipInfo(path.rsplit("/", 1)[-1], date_time=(2026, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        with open(path, "rb") as f:
            z.writestr(info, f.read())
PY
(cd dist && sha256sum "$zip" >SHA256SUMS)
echo "dist/$zip ($(stat -c %s "dist/$zip") bytes)"
cat dist/SHA256SUMS
