#!/bin/bash
# Builds TriSpan.dll and packs the release: build/TriSpan-<version>-win64.zip
# with the DLL, the regedit files that store and delete the settings, the
# guides in Korean and English with their pictures, the changelog, and
# SHA256SUMS over all of them.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target TriSpan
# The files made from the settings table come from the Linux build.
cmake --preset linux >/dev/null
cmake --build --preset linux --target package_files
version=$(cat build/win64/VERSION)
name=TriSpan-$version-win64
stage=build/package/$name
rm -rf build/package && mkdir -p "$stage"
# Without the debugging information that the build keeps for the tests.
x86_64-w64-mingw32-strip -o "$stage/TriSpan.dll" build/win64/bin/TriSpan.dll
cp build/linux/package/{TriSpan-defaults.reg,TriSpan-reset.reg,Guide.html,Guide.en.html} "$stage/"
cp package/guide.css docs/settings-dialog.png docs/guide-{before,after}{,.ko}.png CHANGELOG.md \
  "$stage/"
(cd "$stage" && sha256sum -- * >SHA256SUMS)
(cd build/package && cmake -E tar cf "../$name.zip" --format=zip "$name")
echo "build/$name.zip"
