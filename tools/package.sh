#!/bin/bash
# Builds TriSpan.dll and packs the release: build/TriSpan-<version>-win64.zip
# with the DLL, the regedit files that store and delete the settings, the
# guides in Korean and English with their pictures, the changelog, and
# SHA256SUMS over all of them.
#   tools/package.sh                        builds the DLL and packs it
#   tools/package.sh --dll FILE --out ZIP   packs FILE, a TriSpan.dll built
#                                           elsewhere from these sources
# The release is reproducible: every file in it, and the zip, carry the
# commit's time (SOURCE_DATE_EPOCH, from git unless it is set), so the same
# commit gives the same bytes whatever the folder, time, time zone, umask or
# user of the build.
# The DLL is signed (Authenticode, SHA-256) when TRISPAN_SIGN_PKCS12 names a
# PKCS#12 file and TRISPAN_SIGN_PASSWORD_FILE a file holding its password;
# TRISPAN_SIGN_TIMESTAMP_URL may name an RFC 3161 time-stamp server.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() {
  echo "tools/package.sh: $*" >&2
  exit 2
}

dll="" out=""
while [ $# -gt 0 ]; do
  case $1 in
  --dll | --out)
    [ $# -ge 2 ] || fail "$1 needs a file"
    [ "$1" = --dll ] && dll=$2 || out=$2
    shift 2
    ;;
  *) fail "unknown argument $1 (tools/package.sh [--dll FILE --out ZIP])" ;;
  esac
done
[ -z "$dll" ] || [ -f "$dll" ] || fail "--dll $dll: no such file"

# Checked before anything is built, so that a signed release is not found
# unsigned at the end.
pkcs12=${TRISPAN_SIGN_PKCS12:-} password=${TRISPAN_SIGN_PASSWORD_FILE:-}
if [ -n "$pkcs12" ]; then
  [ -f "$pkcs12" ] && [ -r "$pkcs12" ] || fail "TRISPAN_SIGN_PKCS12=$pkcs12: no readable file"
  [ -n "$password" ] || fail "TRISPAN_SIGN_PKCS12 is set: TRISPAN_SIGN_PASSWORD_FILE must name the file holding its password"
  [ -f "$password" ] && [ -r "$password" ] || fail "TRISPAN_SIGN_PASSWORD_FILE=$password: no readable file"
fi

tools/install-deps.sh
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
    fail "no git history here: set SOURCE_DATE_EPOCH to the sources' commit time (seconds since 1970)"
fi
[[ "$SOURCE_DATE_EPOCH" =~ ^[0-9]+$ ]] || fail "SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH: expected seconds since 1970"
export SOURCE_DATE_EPOCH

if [ -z "$dll" ]; then
  cmake --preset win64 >/dev/null
  # Linked again, so that its headers carry the commit's time: ld takes it
  # from SOURCE_DATE_EPOCH.
  rm -f build/win64/bin/TriSpan.dll
  cmake --build --preset win64 --target TriSpan
  dll=build/win64/bin/TriSpan.dll
fi
# The files made from the settings table come from the Linux build.
cmake --preset linux >/dev/null
cmake --build --preset linux --target package_files
version=$(cat build/win64/VERSION)
name=TriSpan-$version-win64
out=$(realpath -m "${out:-build/$name.zip}")

work=$(mktemp -d "${TMPDIR:-/tmp}/trispan-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
stage=$work/$name
mkdir "$stage"
# Without the debugging information that the build keeps for the tests;
# strip, too, takes the time for the PE header from SOURCE_DATE_EPOCH.
x86_64-w64-mingw32-strip -o "$stage/TriSpan.dll" "$dll"
if [ -n "$pkcs12" ]; then
  stamp=${TRISPAN_SIGN_TIMESTAMP_URL:-}
  osslsigncode sign -pkcs12 "$pkcs12" -readpass "$password" -h sha256 -n TriSpan \
    ${stamp:+-ts "$stamp"} -in "$stage/TriSpan.dll" -out "$work/signed.dll" >"$work/sign.log" 2>&1 ||
    fail "TriSpan.dll could not be signed: $(grep -v '^$' "$work/sign.log" | tail -1)"
  mv "$work/signed.dll" "$stage/TriSpan.dll"
  signer=$(openssl pkcs12 -in "$pkcs12" -passin "file:$password" -nokeys -clcerts 2>/dev/null |
    openssl x509 -noout -subject 2>/dev/null || true)
  echo "TriSpan.dll signed${signer:+ by ${signer#subject=}}${stamp:+, time-stamped by $stamp}"
else
  echo "TriSpan.dll is not signed: an unsigned release (TRISPAN_SIGN_PKCS12 names no certificate)"
fi
cp build/linux/package/{TriSpan-defaults.reg,TriSpan-reset.reg,Guide.html,Guide.en.html} "$stage/"
cp package/guide.css docs/settings-dialog.png docs/guide-{before,after}{,.ko}.png CHANGELOG.md SECURITY.md \
  "$stage/"
(cd "$stage" && LC_ALL=C sha256sum -- * >SHA256SUMS)

# Entries in bytewise order of their names, each with the commit's time in
# UTC, mode 0644 (the folder 0755) and no extra field of times or owners.
chmod 0755 "$stage"
chmod 0644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage" "$stage"/*
mkdir -p "$(dirname "$out")"
zip=$(mktemp "$out.XXXXXX")
trap 'rm -rf "$work" "$zip"' EXIT
rm "$zip" # zip makes the archive itself; the name is kept unique
(cd "$work" && { echo "$name/" && LC_ALL=C ls "$name" | sed "s|^|$name/|"; } |
  TZ=UTC zip -X -q -@ "$zip")
sync "$zip"
mv "$zip" "$out"
echo "$out"
