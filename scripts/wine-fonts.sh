#!/usr/bin/env bash
# Makes the Chinese font faces the program asks for ("宋体", "黑体" and their
# English names), which every Chinese Windows has, resolve to the CJK font
# Debian installs (WenQuanYi Zen Hei) in the current Wine prefix. Without it
# Wine falls back to a face without Chinese glyphs. Runs once per prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
marker="$WINEPREFIX/.vortal-cjk-fonts-2"
[ -e "$marker" ] && exit 0
mkdir -p "$WINEPREFIX"
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  # The song faces are drawn crisp at small sizes from bitmaps on Windows;
  # the "Sharp" variant carries bitmaps for the same sizes.
  for face in 宋体 新宋体 SimSun NSimSun; do
    printf '"%s"="WenQuanYi Zen Hei Sharp"\r\n' "$face"
  done
  for face in 黑体 SimHei; do
    printf '"%s"="WenQuanYi Zen Hei"\r\n' "$face"
  done
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
"$wine" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1
"$(dirname "$wine")/wineserver" -w 2>/dev/null || true
touch "$marker"
