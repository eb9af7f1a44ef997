#!/bin/bash
# Renders TriSpan's settings dialog as Windows draws it, under Wine on a
# virtual screen with a Korean font and Wine's own symbol font (the caption's
# close button), to docs/settings-dialog.png.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
missing=()
for package in fonts-nanum fonts-wine imagemagick; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target dialog-picture
export WINEPREFIX="$PWD/build/win64/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i && wineserver -w; } >/dev/null 2>&1
# Debian's Wine does not find its own fonts in /usr/share/wine/fonts: the
# symbol font that draws the caption's close button goes into the prefix.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# Glyphs hinted and black, as Windows draws dialog text.
export FONTCONFIG_FILE="$PWD/tools/render-fonts.conf"
# The dialog's font, "MS Shell Dlg", has no Hangul in Wine: a Korean one stands in.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'MS Shell Dlg' /d NanumGothic /f >/dev/null 2>&1
# No window manager on the virtual screen: Wine draws the caption itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
mkdir -p docs
WINE_RUN_SCREEN=1 tools/wine-run build/win64/bin/dialog-picture.exe build/win64/settings-dialog.bmp
wineserver -k 2>/dev/null || true
convert build/win64/settings-dialog.bmp docs/settings-dialog.png
echo "docs/settings-dialog.png"
