#!/bin/bash
# Checks that the release is reproducible and that a signed one verifies and
# still loads:
# - the sources copied to a folder of another name and length, where only
#   the DLL is built, later, under another time zone and umask; packed with
#   this tree's other files, both DLLs and both zips are the same bytes;
# - a throwaway certificate authority signs the DLL through tools/package.sh:
#   the signature verifies against it and not against another authority, the
#   signed DLL loads and runs the settings dialog under Wine, and removing the
#   signature gives back the unsigned DLL byte for byte.
#   check-release.sh SOURCES WIN64-BUILD ZIP   (after tools/package.sh)
set -uo pipefail
sources=$(realpath "$1") build=$(realpath "$2") zip=$(realpath "$3")
name=$(basename "$zip" .zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passes=0
expect() { if eval "$2"; then passes=$((passes + 1)); else echo "FAIL: $1"; failures=$((failures + 1)); fi; }
unpack() { mkdir -p "$2" && (cd "$2" && cmake -E tar xf "$1"); }

SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$sources" log -1 --format=%ct)} || exit 1
export SOURCE_DATE_EPOCH
unpack "$zip" "$work/first"

# The second build: the tracked sources as they are, elsewhere.
other=$work/a-second-checkout-in-a-folder-of-another-name
mkdir -p "$other"
(cd "$sources" && git ls-files -z | xargs -0 cp --parents -t "$other") || exit 1
(
  umask 077
  export TZ=America/St_Johns
  cd "$other" && cmake --preset win64 >/dev/null && cmake --build --preset win64 --target TriSpan >/dev/null
) || {
  echo "FAIL: the second build"
  exit 1
}
expect "the DLLs built in two folders are the same" 'cmp "$build/bin/TriSpan.dll" "$other/build/win64/bin/TriSpan.dll"'
(umask 077 && TZ=Asia/Seoul "$sources/tools/package.sh" --dll "$other/build/win64/bin/TriSpan.dll" \
  --out "$work/second.zip" >"$work/second.log" 2>&1) || cat "$work/second.log"
expect "the zips are the same" 'cmp "$zip" "$work/second.zip"'
expect "an unsigned release says so in one line" \
  '[ "$(grep -c "^TriSpan.dll is not signed: an unsigned release" "$work/second.log")" = 1 ]'
headers=$(TZ=UTC x86_64-w64-mingw32-objdump -p "$work/first/$name/TriSpan.dll")
header_time=$(awk '/^Time\/Date\t/ {$1 = ""; print}' <<<"$headers")
export_time=$(awk '/^Time\/Date stamp/ {print $NF}' <<<"$headers")
expect "the PE header carries the commit's time" '[ "$(TZ=UTC date -d "$header_time" +%s)" = "$SOURCE_DATE_EPOCH" ]'
expect "the export directory carries the commit's time" '[ "$((16#$export_time))" = "$SOURCE_DATE_EPOCH" ]'

# A throwaway authority and a code-signing certificate from it.
authority() { # NAME: NAME.key, NAME.crt
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/$1.key" -out "$work/$1.crt" -days 2 \
    -subj "/CN=$1" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
}
authority "TriSpan test authority"
authority "Another authority"
ca=$work/"TriSpan test authority" other_ca=$work/"Another authority"
openssl req -newkey rsa:2048 -nodes -keyout "$work/code.key" -out "$work/code.csr" \
  -subj "/CN=TriSpan test publisher" 2>/dev/null
printf 'basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$work/code.ext"
openssl x509 -req -in "$work/code.csr" -CA "$ca.crt" -CAkey "$ca.key" -CAcreateserial \
  -out "$work/code.crt" -days 2 -extfile "$work/code.ext" 2>/dev/null
printf 'a password\n' >"$work/password"
openssl pkcs12 -export -out "$work/code.p12" -inkey "$work/code.key" -in "$work/code.crt" \
  -passout "file:$work/password"

TRISPAN_SIGN_PKCS12=$work/code.p12 TRISPAN_SIGN_PASSWORD_FILE=$work/password \
  "$sources/tools/package.sh" --dll "$build/bin/TriSpan.dll" --out "$work/signed.zip" >"$work/signed.log" 2>&1 ||
  cat "$work/signed.log"
expect "the signed release says who signed it" 'grep -q "^TriSpan.dll signed by .*TriSpan test publisher" "$work/signed.log"'
unpack "$work/signed.zip" "$work/signed"
signed=$work/signed/$name/TriSpan.dll
expect "SHA256SUMS covers the signed DLL" '(cd "$work/signed/$name" && sha256sum --quiet -c SHA256SUMS)'
expect "the signature verifies against its authority" \
  'osslsigncode verify -CAfile "$ca.crt" -in "$signed" >"$work/verify.log" 2>&1'
expect "the signature does not verify against another authority" \
  '! osslsigncode verify -CAfile "$other_ca.crt" -in "$signed" >/dev/null 2>&1'
osslsigncode remove-signature -in "$signed" -out "$work/removed.dll" >/dev/null 2>&1
expect "removing the signature gives the unsigned DLL back" 'cmp "$work/removed.dll" "$work/first/$name/TriSpan.dll"'
expect "the signed DLL exports Startup alone" \
  'bash "$sources/tests/check-binary.sh" win64 "$signed" "$sources/host/VekLib.def" >/dev/null'
expect "the signed DLL loads and plays the settings dialog under Wine" \
  'WINE_RUN_SCREEN=1 "$sources/tools/wine-run" --tests "$build/bin/vekhost.exe" --reset-settings --plugin "$signed" \
     --json "$work/box.result.json" --svg "$work/box.svg" "$sources/examples/box.json" "$sources/examples/settings.events" 2>&1 |
     tr -d "\r" | grep -q "^note: BOX 100.00\*50.00\*20.00 "'

# A signing that cannot happen stops the release in one line and leaves no zip.
printf 'the wrong password\n' >"$work/wrong"
TRISPAN_SIGN_PKCS12=$work/code.p12 TRISPAN_SIGN_PASSWORD_FILE=$work/wrong \
  "$sources/tools/package.sh" --dll "$build/bin/TriSpan.dll" --out "$work/wrong.zip" >"$work/wrong.log" 2>&1
status=$?
expect "a wrong password fails (exit 2) in one line" \
  '[ $status = 2 ] && grep -q "^tools/package.sh: TriSpan.dll could not be signed" "$work/wrong.log"'
expect "a wrong password leaves no zip" '[ -z "$(ls "$work" | grep "^wrong.zip")" ]'
TRISPAN_SIGN_PKCS12=$work/code.p12 TRISPAN_SIGN_PASSWORD_FILE="" "$sources/tools/package.sh" \
  --out "$work/nopass.zip" >"$work/nopass.log" 2>&1
status=$?
expect "a certificate without its password file is refused before the build" \
  '[ $status = 2 ] && [ "$(cat "$work/nopass.log")" = "tools/package.sh: TRISPAN_SIGN_PKCS12 is set: TRISPAN_SIGN_PASSWORD_FILE must name the file holding its password" ]'

WINEPREFIX="$build/test-prefix" wineserver -k 2>/dev/null
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
