#!/bin/bash
# Checks the release package: its files and their checksums, the changelog's
# newest entry, the guides in a real browser, and regedit importing its two
# settings files (under Wine, into the build's own prefix).
#   check-package.sh build/TriSpan-<version>-win64.zip
set -uo pipefail
here=$(dirname "$(realpath "$0")")
zip=$(realpath "$1")
name=$(basename "$zip" .zip)
version=${name#TriSpan-}
version=${version%-win64}
outputs=$(dirname "$zip")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passes=0
expect() { if eval "$2"; then passes=$((passes + 1)); else echo "FAIL: $1"; failures=$((failures + 1)); fi; }

files="CHANGELOG.md Guide.en.html Guide.html SECURITY.md SHA256SUMS TriSpan-defaults.reg TriSpan-reset.reg
TriSpan.dll guide-after.png guide-after.ko.png guide-before.png guide-before.ko.png guide.css
settings-dialog.png"
listing=$(cmake -E tar tf "$zip" | sed -n "s|^$name/||p" | grep -v '^$' | sort)
expect "the package holds exactly: $(echo $files)" '[ "$listing" = "$(tr " " "\n" <<<"$files" | grep -v "^$" | sort)" ]'
(cd "$work" && cmake -E tar xf "$zip")
package=$work/$name
expect "SHA256SUMS matches every file" '(cd "$package" && sha256sum --quiet -c SHA256SUMS)'
expect "SHA256SUMS covers every other file" \
  '[ "$(sed "s/^[0-9a-f]*  //" "$package/SHA256SUMS" | sort)" = "$(grep -vx SHA256SUMS <<<"$listing")" ]'
expect "the changelog's newest entry is $version" \
  '[ "$(grep -m1 "^## " "$package/CHANGELOG.md" | cut -d" " -f2)" = "$version" ]'
expect "one export, Startup" \
  'bash "$here/check-binary.sh" win64 "$package/TriSpan.dll" "$here/../host/VekLib.def" >/dev/null'
for reg in TriSpan-defaults.reg TriSpan-reset.reg; do
  expect "$reg is UTF-16LE with a byte-order mark" \
    '[ "$(head -c 2 "$package/$reg" | od -An -tx1 | tr -d " ")" = fffe ]'
done
for guide in Guide.html Guide.en.html; do
  expect "$guide carries the version $version" 'grep -q "TriSpan $version" "$package/$guide"'
  for setting in Round Font MTitle Width Height Pitch positionX positionY FrameDim FrameChar FrameCmd PreComment; do
    expect "$guide names $setting" 'grep -qw "$setting" "$package/$guide"'
  done
done

# The guides as a reader's browser shows them, with a Korean font: every
# image and link resolves, and a picture of each one's first screen is kept
# beside the package.
expect "the guides' images and links resolve" 'python3 "$here/check-guides.py" "$package"'
for guide in Guide.html Guide.en.html; do
  screen=$outputs/${guide%.html}.png
  rm -f "$screen"
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1100,900 \
    --screenshot="$screen" "file://$package/$guide" >/dev/null 2>&1
  expect "Chromium renders $guide" '[ "$(head -c 8 "$screen" 2>/dev/null | od -An -tx1 | tr -d " ")" = 89504e470d0a1a0a ]'
done

# regedit: the defaults file stores the twelve values exactly (REG_SZ, each
# text with its NUL: Wine exports anything else in hex), the reset file
# deletes the key.
export WINEPREFIX="${WINEPREFIX:-$outputs/win64/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
key='HKCU\SOFTWARE\Quorvane\VEK\TriSpan'
wine reg delete "$key" /f >/dev/null 2>&1
wine reg add "$key" /v Stray /d left-over /f >/dev/null 2>&1
(cd "$package" && wine regedit /S TriSpan-defaults.reg >/dev/null 2>&1)
wine reg delete "$key" /v Stray /f >/dev/null 2>&1
wine reg export "$key" "$(winepath -w "$work/exported.reg" 2>/dev/null)" /y >/dev/null 2>&1
exported=$(iconv -f UTF-16LE -t UTF-8 "$work/exported.reg" 2>/dev/null | tr -d '\r' | grep '^"' | sort)
expected=$(sort <<'VALUES'
"Round"="4"
"Font"="0"
"MTitle"="X"
"Width"="4"
"Height"="4"
"Pitch"="0"
"positionX"="1"
"positionY"="0"
"FrameDim"="2"
"FrameChar"="1"
"FrameCmd"="2"
"PreComment"=""
VALUES
)
expect "regedit imports the twelve defaults exactly" '[ "$exported" = "$expected" ]'
(cd "$package" && wine regedit /S TriSpan-reset.reg >/dev/null 2>&1)
expect "regedit imports the reset file: the settings key is gone" '! wine reg query "$key" >/dev/null 2>&1'
wineserver -k 2>/dev/null
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
