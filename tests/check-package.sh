#!/bin/bash
# Checks the release package: its files, and that regedit imports its
# settings file (under Wine, into the build's own prefix).
#   check-package.sh build/TriSpan-<version>-win64.zip
set -uo pipefail
zip=$1
name=$(basename "$zip" .zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passes=0
expect() { if eval "$2"; then passes=$((passes + 1)); else echo "FAIL: $1"; failures=$((failures + 1)); fi; }

listing=$(cmake -E tar tf "$zip")
for file in TriSpan.dll TriSpan-defaults.reg Guide.html settings-dialog.png; do
  expect "$file in the package" 'grep -qx "$name/$file" <<<"$listing"'
done
(cd "$work" && cmake -E tar xf "$(realpath "$OLDPWD/$zip")")
expect "one export, Startup" \
  'bash "$(dirname "$0")/check-binary.sh" win64 "$work/$name/TriSpan.dll" "$(dirname "$0")/../host/VekLib.def" >/dev/null'
expect "the .reg file is UTF-16LE with a byte-order mark" \
  '[ "$(head -c 2 "$work/$name/TriSpan-defaults.reg" | od -An -tx1 | tr -d " ")" = fffe ]'
for setting in Round Font MTitle Width Height Pitch positionX positionY FrameDim FrameChar FrameCmd PreComment; do
  expect "the guide names $setting" 'grep -qw "$setting" "$work/$name/Guide.html"'
done

export WINEPREFIX="${WINEPREFIX:-$(realpath "$(dirname "$zip")")/win64/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
key='HKCU\SOFTWARE\Quorvane\VEK\TriSpan'
wine reg delete "$key" /f >/dev/null 2>&1
(cd "$work/$name" && wine regedit /S TriSpan-defaults.reg >/dev/null 2>&1)
imported=$(wine reg query "$key" 2>/dev/null | tr -d '\r')
for value in 'Round +REG_SZ +4' 'MTitle +REG_SZ +X' 'positionX +REG_SZ +1' 'FrameChar +REG_SZ +1' 'PreComment +REG_SZ *$'; do
  expect "regedit imports $value" 'grep -qE "^ +$value" <<<"$imported"'
done
wine reg delete "$key" /f >/dev/null 2>&1
wineserver -k 2>/dev/null
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
